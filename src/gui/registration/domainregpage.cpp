#include "gui/registration/domainregpage.h"

#include "gui/registration/contactfields.h"
#include "gui/registration/registrationcontext.h"
#include "gui/registration/registrationwidgets.h"
#include "platform/platform.h"
#include "platform/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kOrganization = -1;
constexpr int kCountryCodeLength = 2;

const QStringList kSchemes = {QStringLiteral("MAIL-FROM"), QStringLiteral("CRYPT-PW"), QStringLiteral("PGP")};

// The parts of the record the copy buttons join: the organization and the three contacts.
struct Part
{
    QString prefix;  // of the button names
    QString caption; // in the button captions
};

const Part kParts[] = {
    {QStringLiteral("org"), QStringLiteral("Org")},
    {QStringLiteral("admin"), QStringLiteral("Admin")},
    {QStringLiteral("tech"), QStringLiteral("Tech")},
    {QStringLiteral("billing"), QStringLiteral("Billing")},
};

const Part& partOf(int which)
{
    return kParts[which + 1];
}

QStringList contactNames(const QString& letter)
{
    QStringList names;
    for (const char* suffix :
         {"Handle", "Role", "Name", "Org", "Addr", "City", "State", "Zip", "Country", "Phone", "Fax", "Mail"})
        names << letter + QLatin1String(suffix) + QStringLiteral("Edit");
    return names;
}

} // namespace

DomainRegPage::DomainRegPage(RegistrationContext& context, QWidget* parent)
    : RegistrationForm(RegistrationKind::Domain, context, parent)
{
    setObjectName(QStringLiteral("domainreg"));
    tabs()->addTab(buildTypeTab(), QStringLiteral("Type"));
    tabs()->addTab(buildOrganizationTab(), QStringLiteral("Org"));
    tabs()->addTab(buildContactTab(0), QStringLiteral("Admin"));
    tabs()->addTab(buildContactTab(1), QStringLiteral("Technical"));
    tabs()->addTab(buildContactTab(2), QStringLiteral("Billing"));
    tabs()->addTab(buildServersTab(), QStringLiteral("Servers && Invoice"));
    finishTabs(DomainNameEdit, QStringLiteral("domain"), QStringLiteral("Mail to InterNIC"));
    schemeChanged(AuthScheme->currentText());
}

QWidget* DomainRegPage::buildTypeTab()
{
    auto* tab = new QWidget(this);
    auto* actions = new QGroupBox(QStringLiteral("Action"), tab);
    newdomain = newRadio(actions, QStringLiteral("newdomain"), QStringLiteral("New Domain"));
    modifydomain = newRadio(actions, QStringLiteral("modifydomain"), QStringLiteral("Modify Domain"));
    deletedomain = newRadio(actions, QStringLiteral("deletedomain"), QStringLiteral("Delete Domain"));
    newdomain->setChecked(true);
    auto* actionLayout = new QVBoxLayout(actions);
    for (QRadioButton* radio : {newdomain, modifydomain, deletedomain})
        actionLayout->addWidget(radio);
    connect(deletedomain, &QRadioButton::clicked, this, &DomainRegPage::deleteChosen);

    AuthScheme = newChoiceList(tab, QStringLiteral("AuthScheme"), kSchemes);
    authinfolabel = new QLabel(QStringLiteral("n/a"), tab);
    authinfolabel->setObjectName(QStringLiteral("authinfolabel"));
    AuthInfoEdit = newField(tab, QStringLiteral("AuthInfoEdit"));
    DomainNameEdit = newNameList(tab, QStringLiteral("DomainNameEdit"));
    PurposeEdit = new QPlainTextEdit(tab);
    PurposeEdit->setObjectName(QStringLiteral("PurposeEdit"));
    connect(AuthScheme, &QComboBox::currentTextChanged, this, &DomainRegPage::schemeChanged);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Authorization Scheme"), AuthScheme);
    form->addRow(authinfolabel, AuthInfoEdit);
    form->addRow(QStringLiteral("Complete Domain Name"), DomainNameEdit);
    form->addRow(QStringLiteral("Purpose/Description"), PurposeEdit);
    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(actions, 0, Qt::AlignTop);
    layout->addLayout(form, 1);
    return tab;
}

QWidget* DomainRegPage::buildOrganizationTab()
{
    auto* tab = new QWidget(this);
    auto* form = new QFormLayout;
    const QStringList names = {QStringLiteral("OOrgNameEdit"), QStringLiteral("OAddrEdit"),
                               QStringLiteral("OCityEdit"),    QStringLiteral("OStateEdit"),
                               QStringLiteral("OZipEdit"),     QStringLiteral("OCountryEdit")};
    const QStringList labels = {QStringLiteral("Organization Name"),
                                QStringLiteral("Street Address"),
                                QStringLiteral("City"),
                                QStringLiteral("State"),
                                QStringLiteral("Postal Code"),
                                QStringLiteral("Country")};
    for (int i = 0; i < names.size(); ++i) {
        organization << newField(tab, names.at(i));
        form->addRow(labels.at(i), organization.last());
    }
    auto* layout = new QHBoxLayout(tab);
    layout->addLayout(form, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);

    for (int to = 0; to < 3; ++to) {
        QPushButton* button = newButton(tab, QStringLiteral("orgcopyto") + partOf(to).prefix,
                                        QStringLiteral("Copy to ") + partOf(to).caption);
        connect(button, &QPushButton::clicked, this, [this, to] { copy(kOrganization, to); });
        buttons->addWidget(button);
    }
    QPushButton* all = newButton(tab, QStringLiteral("orgcopytoall"), QStringLiteral("Copy to ALL"));
    connect(all, &QPushButton::clicked, this, [this] { copyToAll(kOrganization); });
    buttons->addWidget(all);
    for (int from = 0; from < 3; ++from) {
        QPushButton* button = newButton(tab, QStringLiteral("orgcopyfrom") + partOf(from).prefix,
                                        QStringLiteral("Copy From ") + partOf(from).caption);
        connect(button, &QPushButton::clicked, this, [this, from] { copy(from, kOrganization); });
        buttons->addWidget(button);
    }
    QPushButton* clear = newButton(tab, QStringLiteral("orgclear"), QStringLiteral("Clear"));
    connect(clear, &QPushButton::clicked, this, [this] { clearPart(kOrganization); });
    buttons->addWidget(clear);
    buttons->addStretch(1);
    return tab;
}

QWidget* DomainRegPage::buildContactTab(int which)
{
    auto* tab = new QWidget(this);
    static const char* const letters[] = {"A", "T", "B"};
    auto* fields = new ContactFields(contactNames(QLatin1String(letters[which])), kCountryCodeLength, tab);
    if (which == 0)
        admin = fields;
    else if (which == 1)
        technical = fields;
    else
        billing = fields;

    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(fields, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    const QString prefix = partOf(which).prefix;
    QList<int> others;
    for (int other = kOrganization; other < 3; ++other) {
        if (other != which)
            others << other;
    }
    for (const int to : std::as_const(others)) {
        QPushButton* button = newButton(tab, prefix + QStringLiteral("copyto") + partOf(to).prefix,
                                        QStringLiteral("Copy to ") + partOf(to).caption);
        connect(button, &QPushButton::clicked, this, [this, which, to] { copy(which, to); });
        buttons->addWidget(button);
    }
    QPushButton* all = newButton(tab, prefix + QStringLiteral("copytoall"), QStringLiteral("Copy to ALL"));
    connect(all, &QPushButton::clicked, this, [this, which] { copyToAll(which); });
    buttons->addWidget(all);
    for (const int from : std::as_const(others)) {
        QPushButton* button = newButton(tab, prefix + QStringLiteral("copyfrom") + partOf(from).prefix,
                                        QStringLiteral("Copy From ") + partOf(from).caption);
        connect(button, &QPushButton::clicked, this, [this, which, from] { copy(from, which); });
        buttons->addWidget(button);
    }
    QPushButton* clear = newButton(tab, prefix + QStringLiteral("clear"), QStringLiteral("Clear"));
    connect(clear, &QPushButton::clicked, this, [this, which] { clearPart(which); });
    buttons->addWidget(clear);
    buttons->addStretch(1);
    return tab;
}

QWidget* DomainRegPage::buildServersTab()
{
    auto* tab = new QWidget(this);
    auto* grid = new QGridLayout;
    const QStringList names = {QStringLiteral("PriNSEdit"),    QStringLiteral("PriNSIPEdit"),
                               QStringLiteral("SecNSEdit"),    QStringLiteral("SecNSIPEdit"),
                               QStringLiteral("ThirdNSEdit"),  QStringLiteral("ThirdNSIPEdit"),
                               QStringLiteral("fourthnsedit"), QStringLiteral("fourthnsipedit")};
    const QStringList labels = {QStringLiteral("Primary Name Server"), QStringLiteral("Secondary Name Server"),
                                QStringLiteral("Third Name Server"), QStringLiteral("Fourth Name Server")};
    grid->addWidget(new QLabel(QStringLiteral("Hostname"), tab), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Netaddress"), tab), 0, 2);
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(new QLabel(labels.at(row), tab), row + 1, 0);
        for (int column = 0; column < 2; ++column) {
            nameServers << newField(tab, names.at(2 * row + column));
            grid->addWidget(nameServers.last(), row + 1, column + 1);
        }
    }
    auto* invoice = new QGroupBox(QStringLiteral("Invoice Delivery"), tab);
    viaemail = newRadio(invoice, QStringLiteral("viaemail"), QStringLiteral("Via E-Mail"));
    viapostal = newRadio(invoice, QStringLiteral("viapostal"), QStringLiteral("Via Postal Mail"));
    viaemail->setChecked(true);
    auto* invoiceLayout = new QVBoxLayout(invoice);
    invoiceLayout->addWidget(viaemail);
    invoiceLayout->addWidget(viapostal);
    QPushButton* clear = newButton(tab, QStringLiteral("serversclear"), QStringLiteral("Clear"));
    connect(clear, &QPushButton::clicked, this, [this] {
        for (QLineEdit* field : std::as_const(nameServers))
            field->clear();
    });

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(invoice);
    bottom->addStretch(1);
    bottom->addWidget(clear, 0, Qt::AlignBottom);
    layout->addLayout(bottom);
    layout->addStretch(1);
    return tab;
}

void DomainRegPage::schemeChanged(const QString& scheme)
{
    // Only a password scheme has information to give.
    const bool password = scheme == QLatin1String("CRYPT-PW");
    authinfolabel->setText(password ? QStringLiteral("Password") : QStringLiteral("n/a"));
    setFieldUsable(AuthInfoEdit, password);
}

void DomainRegPage::deleteChosen()
{
    const Prompter::Button answer =
        m_context.prompter.message(QStringLiteral("Question!"), kindInfo(RegistrationKind::Domain).deleteQuestion,
                                   Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Question);
    if (answer != Prompter::Button::Yes)
        newdomain->setChecked(true);
}

ContactFields* DomainRegPage::contactFields(int which) const
{
    return which == 0 ? admin : which == 1 ? technical : billing;
}

void DomainRegPage::copy(int from, int to)
{
    DomainRegistration r = record();
    RegistrationContact* contacts[] = {&r.admin, &r.technical, &r.billing};
    if (from == kOrganization)
        copyOrganizationToContact(r.organization, *contacts[to]);
    else if (to == kOrganization)
        copyContactToOrganization(*contacts[from], r.organization);
    else
        *contacts[to] = *contacts[from];
    setRecord(r);
}

void DomainRegPage::copyToAll(int from)
{
    for (int to = kOrganization; to < 3; ++to) {
        if (to != from)
            copy(from, to);
    }
}

void DomainRegPage::clearPart(int which)
{
    if (which != kOrganization) {
        contactFields(which)->clear();
        return;
    }
    for (QLineEdit* field : std::as_const(organization))
        field->clear();
}

void DomainRegPage::clearAll()
{
    const LoadingScope loading(*this);
    DomainRegistration cleared;
    const DomainRegistration current = record();
    cleared.action = current.action;
    cleared.invoice = current.invoice;
    setRecord(cleared);
}

DomainRegistration DomainRegPage::record() const
{
    DomainRegistration r;
    r.action = deletedomain->isChecked()   ? RegistrationAction::Delete
               : modifydomain->isChecked() ? RegistrationAction::Modify
                                           : RegistrationAction::New;
    r.authScheme = AuthScheme->currentText();
    r.authInfo = AuthInfoEdit->text();
    r.purpose = PurposeEdit->toPlainText();
    r.domainName = DomainNameEdit->currentText();
    QString* orgFields[] = {&r.organization.name,  &r.organization.address,    &r.organization.city,
                            &r.organization.state, &r.organization.postalCode, &r.organization.country};
    for (int i = 0; i < organization.size(); ++i)
        *orgFields[i] = organization.at(i)->text();
    r.admin = admin->contact();
    r.technical = technical->contact();
    r.billing = billing->contact();
    for (int i = 0; i < int(r.nameServers.size()); ++i) {
        r.nameServers[i].host = nameServers.at(2 * i)->text();
        r.nameServers[i].address = nameServers.at(2 * i + 1)->text();
    }
    r.invoice = viapostal->isChecked() ? QStringLiteral("P") : QStringLiteral("E");
    return r;
}

void DomainRegPage::setRecord(const DomainRegistration& r)
{
    const LoadingScope loading(*this);
    (r.action == RegistrationAction::Delete   ? deletedomain
     : r.action == RegistrationAction::Modify ? modifydomain
                                              : newdomain)
        ->setChecked(true);
    setChoice(AuthScheme, r.authScheme);
    AuthInfoEdit->setText(r.authInfo);
    if (PurposeEdit->toPlainText() != r.purpose)
        PurposeEdit->setPlainText(r.purpose);
    if (DomainNameEdit->currentText() != r.domainName)
        DomainNameEdit->setEditText(r.domainName);
    const QString orgValues[] = {r.organization.name,  r.organization.address,    r.organization.city,
                                 r.organization.state, r.organization.postalCode, r.organization.country};
    for (int i = 0; i < organization.size(); ++i)
        organization.at(i)->setText(orgValues[i]);
    admin->setContact(r.admin);
    technical->setContact(r.technical);
    billing->setContact(r.billing);
    for (int i = 0; i < int(r.nameServers.size()); ++i) {
        nameServers.at(2 * i)->setText(r.nameServers[i].host);
        nameServers.at(2 * i + 1)->setText(r.nameServers[i].address);
    }
    (r.invoice == QLatin1String("P") ? viapostal : viaemail)->setChecked(true);
}

RegistrationDocument DomainRegPage::document() const
{
    return registrationDocument(record(), m_context.platform.shortDateLongTime(m_context.platform.now()));
}

void DomainRegPage::applyProfile(const FieldValues& profile)
{
    DomainRegistration r = record();
    applyDomainProfile(r, profile);
    setRecord(r);
}

FieldValues DomainRegPage::defaults() const
{
    return domainDefaults(record());
}

void DomainRegPage::applyDefaults(const QHash<QString, QString>& values)
{
    DomainRegistration r = record();
    applyDomainDefaults(r, values);
    setRecord(r);
}
