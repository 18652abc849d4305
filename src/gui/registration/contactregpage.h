#pragma once

#include "gui/registration/registrationform.h"

class ContactFields;
class QLineEdit;
class QRadioButton;

// The "Contact Reg" form: the contact's action, authorization, notification, authentication and name on
// the first tab, the contact's details on the second, and the review tab.
class ContactRegPage : public RegistrationForm
{
    Q_OBJECT
public:
    explicit ContactRegPage(RegistrationContext& context, QWidget* parent = nullptr);

    ContactRegistration record() const;
    void setRecord(const ContactRegistration& record);
    void clearAll() override;

    QRadioButton* newcontact = nullptr;
    QRadioButton* modifycontact = nullptr;
    QRadioButton* deletecontact = nullptr;
    QComboBox* ContactAuthorizationType = nullptr;
    QLineEdit* ContactAuthorizationInfo = nullptr;
    QComboBox* ContactNotifyUpdates = nullptr;
    QComboBox* ContactNotifyUse = nullptr;
    QComboBox* ContactAuthenticationType = nullptr;
    QLineEdit* ContactAuthenticationInfo = nullptr;
    QRadioButton* publiccontact = nullptr;
    QRadioButton* confidential = nullptr;
    QComboBox* Contactname = nullptr;
    ContactFields* details = nullptr; // handle, role and the fields from organization to e-mail

protected:
    RegistrationDocument document() const override;
    void applyProfile(const FieldValues& profile) override;
    FieldValues defaults() const override;
    void applyDefaults(const QHash<QString, QString>& values) override;

private:
    QWidget* buildAuthorizationTab();
    // The authorization fields and the handle serve a change of a known contact only.
    void updateFields();
    void deleteChosen();
};
