#pragma once

#include "gui/registration/registrationform.h"

class ContactFields;
class QLabel;
class QLineEdit;
class QRadioButton;

// The "Host Reg" form: the host and its action, the host's contact, and the review tab.
class HostRegPage : public RegistrationForm
{
    Q_OBJECT
public:
    explicit HostRegPage(RegistrationContext& context, QWidget* parent = nullptr);

    HostRegistration record() const;
    void setRecord(const HostRegistration& record);
    void clearAll() override;

    QRadioButton* newhost = nullptr;
    QRadioButton* modifyhost = nullptr;
    QRadioButton* deletehost = nullptr;
    QComboBox* HostAuthScheme = nullptr;
    QLabel* hostauthinfolabel = nullptr;
    QLineEdit* HostAuthInfo = nullptr;
    QLineEdit* HostNicHandle = nullptr;
    QComboBox* HostName = nullptr;
    QLineEdit* HostIPAddress = nullptr;
    ContactFields* contact = nullptr;

protected:
    RegistrationDocument document() const override;
    void applyProfile(const FieldValues& profile) override;
    FieldValues defaults() const override;
    void applyDefaults(const QHash<QString, QString>& values) override;

private:
    QWidget* buildTypeTab();
    void schemeChanged(const QString& scheme);
    void actionChosen();
    void deleteChosen();
};
