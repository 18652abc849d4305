#include "gui/setup/setuppage.h"

#include "editors/domaindefaults.h"
#include "gui/setup/bind9setupgroup.h"
#include "session/appstate.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A field with its unit after it, as the SOA defaults show "sec.".
QWidget* withUnit(QWidget* parent, QLineEdit* field, const QString& unit)
{
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(new QLabel(unit, box));
    return box;
}

} // namespace

SetupPage::SetupPage(AppState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("setup"));

    auto* wizardGroup = new QGroupBox(QStringLiteral("Zone Defaults:"), this);
    auto* grid = new QGridLayout(wizardGroup);
    const QStringList headings = {QStringLiteral("Name Servers"), QStringLiteral("Host Names"),
                                  QStringLiteral("Mail Servers"), QStringLiteral("Aliases")};
    for (int column = 0; column < headings.size(); ++column)
        grid->addWidget(new QLabel(headings.at(column), wizardGroup), 0, column * 2 + 1);
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        defaultns[i] = boundField(QStringLiteral("defaultns") + n, &m_state.setup.defaultns[i]);
        defaulthost[i] = boundField(QStringLiteral("defaulthost") + n, &m_state.setup.defaulthost[i]);
        defaultmail[i] = boundField(QStringLiteral("defaultmail") + n, &m_state.setup.defaultmail[i]);
        defaultalias[i] = boundField(QStringLiteral("defaultalias") + n, &m_state.setup.defaultalias[i]);
        const QList<std::pair<QString, QLineEdit*>> row = {{QStringLiteral("NS") + n, defaultns[i]},
                                                           {QStringLiteral("Host ") + n, defaulthost[i]},
                                                           {QStringLiteral("Mail ") + n, defaultmail[i]},
                                                           {QStringLiteral("Alias ") + n, defaultalias[i]}};
        for (int column = 0; column < row.size(); ++column) {
            grid->addWidget(new QLabel(row.at(column).first, wizardGroup), i + 1, column * 2);
            grid->addWidget(row.at(column).second, i + 1, column * 2 + 1);
        }
    }

    grid->setRowStretch(6, 1);

    auto* soaGroup = new QGroupBox(QStringLiteral("Record Updating Defaults:"), this);
    auto* soa = new QFormLayout(soaGroup);
    runningSerialEdit = boundField(QStringLiteral("defaultserial"), &m_state.setup.runningSerial);
    defaultrefresh = boundField(QStringLiteral("defaultrefresh"), &m_state.setup.defaultrefresh);
    defaultretry = boundField(QStringLiteral("defaultretry"), &m_state.setup.defaultretry);
    defaultexpire = boundField(QStringLiteral("defaultexpire"), &m_state.setup.defaultexpire);
    defaultminimum = boundField(QStringLiteral("defaultminimum"), &m_state.setup.defaultminimum);
    for (QLineEdit* field : {runningSerialEdit, defaultrefresh, defaultretry, defaultexpire, defaultminimum})
        field->installEventFilter(this);
    const QString seconds = QStringLiteral("sec.");
    soa->addRow(QStringLiteral("Starting S/N"), runningSerialEdit);
    soa->addRow(QStringLiteral("Refresh Every"), withUnit(soaGroup, defaultrefresh, seconds));
    soa->addRow(QStringLiteral("Retry every"), withUnit(soaGroup, defaultretry, seconds));
    soa->addRow(QStringLiteral("Expire after"), withUnit(soaGroup, defaultexpire, seconds));
    soa->addRow(QStringLiteral("Time To Live"), withUnit(soaGroup, defaultminimum, seconds));

    auto* otherGroup = new QGroupBox(QStringLiteral("Other DNS Defaults:"), this);
    auto* other = new QFormLayout(otherGroup);
    emailaddr = boundField(QStringLiteral("emailaddr"), &m_state.emailaddr);
    defaultsecondary = boundField(QStringLiteral("defaultsecondary"), &m_state.defaultsecondary);
    autobackup = new QCheckBox(QStringLiteral("Automatic Backup"), otherGroup);
    autobackup->setObjectName(QStringLiteral("autobackup"));
    connect(autobackup, &QCheckBox::toggled, this, [this](bool on) { m_state.autoBackup = on; });
    other->addRow(QStringLiteral("Administrator E-Mail Addr:"), emailaddr);
    other->addRow(QStringLiteral("IP# of Default Primary Server:"), defaultsecondary);
    other->addRow(autobackup);

    auto* mailGroup = new QGroupBox(QStringLiteral("Registration Mail:"), this);
    auto* mail = new QFormLayout(mailGroup);
    smtpServer = boundField(QStringLiteral("nicserver"), &m_state.mail.smtpServer);
    senderName = boundField(QStringLiteral("nicname"), &m_state.mail.senderName);
    senderAddress = boundField(QStringLiteral("nicaddr"), &m_state.mail.senderAddress);
    registryAddress = boundField(QStringLiteral("nicmailto"), &m_state.mail.registryAddress);
    mail->addRow(QStringLiteral("SMTP Server:"), smtpServer);
    mail->addRow(QStringLiteral("Sender Name:"), senderName);
    mail->addRow(QStringLiteral("Sender E-Mail:"), senderAddress);
    mail->addRow(QStringLiteral("Mail Regs to:"), registryAddress);

    updatedefaults = new QPushButton(QStringLiteral("Update Defaults"), this);
    updatedefaults->setObjectName(QStringLiteral("updatedefaults"));

    auto* right = new QVBoxLayout;
    right->addWidget(soaGroup);
    right->addWidget(otherGroup);
    right->addWidget(mailGroup);
    bind9setup = new Bind9SetupGroup(m_state, this);
    auto* left = new QVBoxLayout;
    left->addWidget(wizardGroup, 1);
    left->addWidget(bind9setup);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(updatedefaults, 0, Qt::AlignRight);

    showState();
}

QLineEdit* SetupPage::boundField(const QString& name, QString* target)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    connect(field, &QLineEdit::textChanged, this, [target](const QString& text) { *target = text; });
    m_bindings << std::pair{field, target};
    return field;
}

void SetupPage::setPrompter(Prompter* prompter)
{
    m_prompter = prompter;
}

bool SetupPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && m_prompter) {
        auto* field = static_cast<QLineEdit*>(watched);
        if (!checkDefaultField(field->objectName(), field->text(), *m_prompter))
            field->setFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void SetupPage::showState()
{
    for (const auto& [field, target] : std::as_const(m_bindings)) {
        if (field->text() != *target)
            field->setText(*target);
    }
    autobackup->setChecked(m_state.autoBackup);
    bind9setup->showState();
}
