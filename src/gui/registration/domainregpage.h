#pragma once

#include "gui/registration/registrationform.h"

#include <QList>

class ContactFields;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The "Domain Reg" form: the domain and its action, the organization, the three contacts with their copy
// buttons, the name servers and invoice delivery, and the review tab.
class DomainRegPage : public RegistrationForm
{
    Q_OBJECT
public:
    explicit DomainRegPage(RegistrationContext& context, QWidget* parent = nullptr);

    DomainRegistration record() const;
    void setRecord(const DomainRegistration& record);
    void clearAll() override;

    QRadioButton* newdomain = nullptr;
    QRadioButton* modifydomain = nullptr;
    QRadioButton* deletedomain = nullptr;
    QComboBox* AuthScheme = nullptr;
    QLabel* authinfolabel = nullptr;
    QLineEdit* AuthInfoEdit = nullptr;
    QComboBox* DomainNameEdit = nullptr;
    QPlainTextEdit* PurposeEdit = nullptr;
    QList<QLineEdit*> organization; // OOrgNameEdit to OCountryEdit
    ContactFields* admin = nullptr;
    ContactFields* technical = nullptr;
    ContactFields* billing = nullptr;
    QList<QLineEdit*> nameServers; // PriNSEdit, PriNSIPEdit, ... fourthnsipedit
    QRadioButton* viaemail = nullptr;
    QRadioButton* viapostal = nullptr;

protected:
    RegistrationDocument document() const override;
    void applyProfile(const FieldValues& profile) override;
    FieldValues defaults() const override;
    void applyDefaults(const QHash<QString, QString>& values) override;

private:
    QWidget* buildTypeTab();
    QWidget* buildOrganizationTab();
    QWidget* buildContactTab(int which);
    QWidget* buildServersTab();
    void schemeChanged(const QString& scheme);
    void deleteChosen();
    // Copies between the organization (-1) and the contacts (0 admin, 1 technical, 2 billing).
    void copy(int from, int to);
    void copyToAll(int from);
    void clearPart(int which);
    ContactFields* contactFields(int which) const;
};
