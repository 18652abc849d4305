#include "gui/registration/hostregpage.h"

#include "gui/registration/contactfields.h"
#include "gui/registration/registrationcontext.h"
#include "gui/registration/registrationwidgets.h"
#include "platform/platform.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kCountryCodeLength = 2;

} // namespace

HostRegPage::HostRegPage(RegistrationContext& context, QWidget* parent)
    : RegistrationForm(RegistrationKind::Host, context, parent)
{
    setObjectName(QStringLiteral("hostreg"));
    tabs()->addTab(buildTypeTab(), QStringLiteral("Type && Host"));
    contact = new ContactFields({QStringLiteral("HCNicHandle"), QStringLiteral("HCRole"), QStringLiteral("HCName"),
                                 QStringLiteral("HCOrg"), QStringLiteral("HCAddr"), QStringLiteral("HCCity"),
                                 QStringLiteral("HCState"), QStringLiteral("HCZip"), QStringLiteral("HCCountry"),
                                 QStringLiteral("HCPhone"), QStringLiteral("HCFax"), QStringLiteral("HCMail")},
                                kCountryCodeLength, this);
    tabs()->addTab(contact, QStringLiteral("Host Contact"));
    finishTabs(HostName, QStringLiteral("host"), QStringLiteral("Mail to InterNIC"));
    schemeChanged(HostAuthScheme->currentText());
    actionChosen();
}

QWidget* HostRegPage::buildTypeTab()
{
    auto* tab = new QWidget(this);
    auto* actions = new QGroupBox(QStringLiteral("Action"), tab);
    newhost = newRadio(actions, QStringLiteral("newhost"), QStringLiteral("New Host"));
    modifyhost = newRadio(actions, QStringLiteral("modifyhost"), QStringLiteral("Modify Host"));
    deletehost = newRadio(actions, QStringLiteral("deletehost"), QStringLiteral("Delete Host"));
    newhost->setChecked(true);
    auto* actionLayout = new QVBoxLayout(actions);
    for (QRadioButton* radio : {newhost, modifyhost, deletehost})
        actionLayout->addWidget(radio);
    connect(newhost, &QRadioButton::clicked, this, &HostRegPage::actionChosen);
    connect(modifyhost, &QRadioButton::clicked, this, &HostRegPage::actionChosen);
    connect(deletehost, &QRadioButton::clicked, this, &HostRegPage::deleteChosen);

    HostAuthScheme = newChoiceList(tab, QStringLiteral("HostAuthScheme"),
                                   {QStringLiteral("MAIL-FROM"), QStringLiteral("CRYPT-PW"), QStringLiteral("PGP")});
    hostauthinfolabel = new QLabel(QStringLiteral("n/a"), tab);
    hostauthinfolabel->setObjectName(QStringLiteral("hostauthinfolabel"));
    HostAuthInfo = newField(tab, QStringLiteral("HostAuthInfo"));
    HostNicHandle = newField(tab, QStringLiteral("HostNicHandle"));
    HostName = newNameList(tab, QStringLiteral("HostName"));
    HostIPAddress = newField(tab, QStringLiteral("HostIPAddress"));
    connect(HostAuthScheme, &QComboBox::currentTextChanged, this, &HostRegPage::schemeChanged);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Authorization Scheme"), HostAuthScheme);
    form->addRow(hostauthinfolabel, HostAuthInfo);
    form->addRow(QStringLiteral("NIC Handle (if known)"), HostNicHandle);
    form->addRow(QStringLiteral("Host Name"), HostName);
    form->addRow(QStringLiteral("IP Address"), HostIPAddress);
    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(actions, 0, Qt::AlignTop);
    layout->addLayout(form, 1);
    return tab;
}

void HostRegPage::schemeChanged(const QString& scheme)
{
    // As for a domain: a password scheme needs the password, the others have nothing to give.
    const bool password = scheme == QLatin1String("CRYPT-PW");
    hostauthinfolabel->setText(password ? QStringLiteral("Password") : QStringLiteral("n/a"));
    setFieldUsable(HostAuthInfo, password);
}

void HostRegPage::actionChosen()
{
    // A new host has no registry handle yet.
    setFieldUsable(HostNicHandle, !newhost->isChecked());
}

void HostRegPage::deleteChosen()
{
    const Prompter::Button answer =
        m_context.prompter.message(QStringLiteral("Question!"), kindInfo(RegistrationKind::Host).deleteQuestion,
                                   Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Question);
    if (answer != Prompter::Button::Yes)
        newhost->setChecked(true);
    actionChosen();
}

void HostRegPage::clearAll()
{
    HostRegistration cleared;
    cleared.action = record().action;
    setRecord(cleared);
}

HostRegistration HostRegPage::record() const
{
    HostRegistration r;
    r.action = deletehost->isChecked()   ? RegistrationAction::Delete
               : modifyhost->isChecked() ? RegistrationAction::Modify
                                         : RegistrationAction::New;
    r.authScheme = HostAuthScheme->currentText();
    r.authInfo = HostAuthInfo->text();
    r.nicHandle = HostNicHandle->text();
    r.hostName = HostName->currentText();
    r.ipAddress = HostIPAddress->text();
    r.contact = contact->contact();
    return r;
}

void HostRegPage::setRecord(const HostRegistration& r)
{
    const LoadingScope loading(*this);
    (r.action == RegistrationAction::Delete   ? deletehost
     : r.action == RegistrationAction::Modify ? modifyhost
                                              : newhost)
        ->setChecked(true);
    setChoice(HostAuthScheme, r.authScheme);
    HostAuthInfo->setText(r.authInfo);
    HostNicHandle->setText(r.nicHandle);
    if (HostName->currentText() != r.hostName)
        HostName->setEditText(r.hostName);
    HostIPAddress->setText(r.ipAddress);
    contact->setContact(r.contact);
    actionChosen();
}

RegistrationDocument HostRegPage::document() const
{
    return registrationDocument(record(), m_context.platform.shortDateLongTime(m_context.platform.now()));
}

void HostRegPage::applyProfile(const FieldValues& profile)
{
    HostRegistration r = record();
    applyHostProfile(r, profile);
    setRecord(r);
}

FieldValues HostRegPage::defaults() const
{
    return hostDefaults(record());
}

void HostRegPage::applyDefaults(const QHash<QString, QString>& values)
{
    HostRegistration r = record();
    applyHostDefaults(r, values);
    setRecord(r);
}
