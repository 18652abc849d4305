#include "gui/registration/contactregpage.h"

#include "gui/registration/contactfields.h"
#include "gui/registration/registrationcontext.h"
#include "gui/registration/registrationwidgets.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHandle = 0;
constexpr int kRole = 1;

const QStringList kSchemes = {QStringLiteral("MAIL-FROM"), QStringLiteral("CRYPT-PW"), QStringLiteral("PGP")};

} // namespace

ContactRegPage::ContactRegPage(RegistrationContext& context, QWidget* parent)
    : RegistrationForm(RegistrationKind::Contact, context, parent)
{
    setObjectName(QStringLiteral("contactreg"));
    tabs()->addTab(buildAuthorizationTab(), QStringLiteral("Authorization, Notify && Authentication"));
    details = new ContactFields(
        {QStringLiteral("ContactNicHandle"), QStringLiteral("ContactRole"), QString(), QStringLiteral("ContactOrgName"),
         QStringLiteral("ContactAddr"), QStringLiteral("ContactCity"), QStringLiteral("ContactState"),
         QStringLiteral("ContactZip"), QStringLiteral("ContactCountry"), QStringLiteral("ContactPhone"),
         QStringLiteral("ContactFax"), QStringLiteral("ContactMail")},
        0, this);
    tabs()->addTab(details, QStringLiteral("Contact"));
    finishTabs(Contactname, QStringLiteral("contact"), QStringLiteral("Mail to NIC"));
    updateFields();
}

QWidget* ContactRegPage::buildAuthorizationTab()
{
    auto* tab = new QWidget(this);
    auto* actions = new QGroupBox(QStringLiteral("Action"), tab);
    newcontact = newRadio(actions, QStringLiteral("newcontact"), QStringLiteral("New Contact"));
    modifycontact = newRadio(actions, QStringLiteral("modifycontact"), QStringLiteral("Modify Contact"));
    deletecontact = newRadio(actions, QStringLiteral("deletecontact"), QStringLiteral("Delete Contact"));
    newcontact->setChecked(true);
    auto* actionLayout = new QVBoxLayout(actions);
    for (QRadioButton* radio : {newcontact, modifycontact, deletecontact})
        actionLayout->addWidget(radio);
    connect(newcontact, &QRadioButton::clicked, this, &ContactRegPage::updateFields);
    connect(modifycontact, &QRadioButton::clicked, this, &ContactRegPage::updateFields);
    connect(deletecontact, &QRadioButton::clicked, this, &ContactRegPage::deleteChosen);

    auto* visibility = new QGroupBox(QStringLiteral("Listing"), tab);
    publiccontact = newRadio(visibility, QStringLiteral("publiccontact"), QStringLiteral("Public"));
    confidential = newRadio(visibility, QStringLiteral("confidential"), QStringLiteral("Confidential"));
    confidential->setChecked(true);
    auto* visibilityLayout = new QVBoxLayout(visibility);
    visibilityLayout->addWidget(publiccontact);
    visibilityLayout->addWidget(confidential);

    ContactAuthorizationType = newChoiceList(tab, QStringLiteral("ContactAuthorizationType"), kSchemes);
    ContactAuthorizationInfo = newField(tab, QStringLiteral("ContactAuthorizationInfo"));
    ContactNotifyUpdates =
        newChoiceList(tab, QStringLiteral("ContactNotifyUpdates"),
                      {QStringLiteral("AFTER-UPDATE"), QStringLiteral("BEFORE-UPDATE"), QStringLiteral("NOT-CARE")});
    ContactNotifyUse =
        newChoiceList(tab, QStringLiteral("ContactNotifyUse"),
                      {QStringLiteral("AFTER-USE"), QStringLiteral("BEFORE-USE"), QStringLiteral("NOT-CARE")});
    ContactAuthenticationType = newChoiceList(tab, QStringLiteral("ContactAuthenticationType"), kSchemes);
    ContactAuthenticationInfo = newField(tab, QStringLiteral("ContactAuthenticationInfo"));
    Contactname = newNameList(tab, QStringLiteral("Contactname"));
    connect(ContactAuthorizationType, &QComboBox::currentTextChanged, this, &ContactRegPage::updateFields);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Authorization Scheme"), ContactAuthorizationType);
    form->addRow(QStringLiteral("Authorization Info"), ContactAuthorizationInfo);
    form->addRow(QStringLiteral("Notify Updates"), ContactNotifyUpdates);
    form->addRow(QStringLiteral("Notify Use"), ContactNotifyUse);
    form->addRow(QStringLiteral("Authentication Scheme"), ContactAuthenticationType);
    form->addRow(QStringLiteral("Authentication Info"), ContactAuthenticationInfo);
    form->addRow(QStringLiteral("Contact Name"), Contactname);
    auto* radios = new QVBoxLayout;
    radios->addWidget(actions);
    radios->addWidget(visibility);
    radios->addStretch(1);
    auto* layout = new QHBoxLayout(tab);
    layout->addLayout(radios);
    layout->addLayout(form, 1);
    return tab;
}

void ContactRegPage::updateFields()
{
    const bool known = !newcontact->isChecked();
    setFieldUsable(ContactAuthorizationType, known);
    setFieldUsable(details->field(kHandle), known);
    // A mail-from authorization is proved by the sender address; there is nothing to enter for it.
    setFieldUsable(ContactAuthorizationInfo,
                   known && ContactAuthorizationType->currentText() != QLatin1String("MAIL-FROM"));
    setFieldUsable(details->field(kRole), true);
}

void ContactRegPage::deleteChosen()
{
    const Prompter::Button answer =
        m_context.prompter.message(QStringLiteral("Question!"), kindInfo(RegistrationKind::Contact).deleteQuestion,
                                   Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Question);
    if (answer != Prompter::Button::Yes)
        newcontact->setChecked(true);
    updateFields();
}

void ContactRegPage::clearAll()
{
    const ContactRegistration current = record();
    ContactRegistration cleared;
    cleared.action = current.action;
    cleared.publicLetter = current.publicLetter;
    setRecord(cleared);
}

ContactRegistration ContactRegPage::record() const
{
    ContactRegistration r;
    r.action = deletecontact->isChecked()   ? RegistrationAction::Delete
               : modifycontact->isChecked() ? RegistrationAction::Modify
                                            : RegistrationAction::New;
    r.authorizationType = ContactAuthorizationType->currentText();
    r.authorizationInfo = ContactAuthorizationInfo->text();
    r.notifyUpdates = ContactNotifyUpdates->currentText();
    r.notifyUse = ContactNotifyUse->currentText();
    r.authenticationType = ContactAuthenticationType->currentText();
    r.authenticationInfo = ContactAuthenticationInfo->text();
    r.publicLetter = publiccontact->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
    r.contact = details->contact();
    r.contact.name = Contactname->currentText();
    return r;
}

void ContactRegPage::setRecord(const ContactRegistration& r)
{
    const LoadingScope loading(*this);
    (r.action == RegistrationAction::Delete   ? deletecontact
     : r.action == RegistrationAction::Modify ? modifycontact
                                              : newcontact)
        ->setChecked(true);
    setChoice(ContactAuthorizationType, r.authorizationType);
    ContactAuthorizationInfo->setText(r.authorizationInfo);
    setChoice(ContactNotifyUpdates, r.notifyUpdates);
    setChoice(ContactNotifyUse, r.notifyUse);
    setChoice(ContactAuthenticationType, r.authenticationType);
    ContactAuthenticationInfo->setText(r.authenticationInfo);
    (r.publicLetter == QLatin1String("Y") ? publiccontact : confidential)->setChecked(true);
    details->setContact(r.contact);
    if (Contactname->currentText() != r.contact.name)
        Contactname->setEditText(r.contact.name);
    updateFields();
}

RegistrationDocument ContactRegPage::document() const
{
    return registrationDocument(record());
}

void ContactRegPage::applyProfile(const FieldValues& profile)
{
    ContactRegistration r = record();
    const QString typed = r.contact.name;
    applyContactProfile(r, profile);
    // The profile was found by the typed name; a profile without a name of its own does not wipe it.
    if (r.contact.name.isEmpty())
        r.contact.name = typed;
    setRecord(r);
}

FieldValues ContactRegPage::defaults() const
{
    return contactDefaults(record());
}

void ContactRegPage::applyDefaults(const QHash<QString, QString>& values)
{
    ContactRegistration r = record();
    applyContactDefaults(r, values);
    setRecord(r);
}
