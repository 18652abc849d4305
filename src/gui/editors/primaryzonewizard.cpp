#include "gui/editors/primaryzonewizard.h"

#include "gui/editors/wizardhostpickerdialog.h"
#include "platform/prompter.h"
#include "session/appstate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* makeField(QWidget* parent, const QString& name, const QString& hint = QString())
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setToolTip(hint);
    return field;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

const std::array<QString, 5> kIpNames{QStringLiteral("ipone"), QStringLiteral("iptwo"), QStringLiteral("ipthree"),
                                      QStringLiteral("ipfour"), QStringLiteral("ipfive")};

template <typename Fields> void copyInto(std::array<QString, 5>& values, const Fields& fields)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = fields[i]->text();
}

template <typename Fields> void copyOut(const std::array<QString, 5>& values, const Fields& fields)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        fields[i]->setText(values[i]);
}

} // namespace

PrimaryZoneWizard::PrimaryZoneWizard(AppState& state, Prompter& prompter, PrimaryWizardHooks hooks, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompter(prompter), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("PrimaryZoneWizard"));
    setWindowTitle(QStringLiteral("Primary Zone Wizard "));
    setWindowModality(Qt::WindowModal);
    hostselect = new WizardHostPickerDialog(prompter, this);
    notebook = new QStackedWidget(this);
    notebook->setObjectName(QStringLiteral("notebook"));

    QWidget* page1 =
        makePage(QStringLiteral("Zone Information"),
                 QStringLiteral("The Start of Authority is where you specify how the server will interact "
                                "with secondary servers.  In addition, the Time to Live field is where you "
                                "specify how long other servers should be allowed to cache information."));
    auto* soa = new QFormLayout;
    serial = makeField(page1, QStringLiteral("serial"));
    refresh = makeField(page1, QStringLiteral("refresh"));
    retry = makeField(page1, QStringLiteral("retry"));
    expire = makeField(page1, QStringLiteral("expire"));
    minimum = makeField(page1, QStringLiteral("minimum"));
    const std::array<std::pair<QString, QLineEdit*>, 5> soaRows{{{QStringLiteral("Serial Number"), serial},
                                                                 {QStringLiteral("Refresh every"), refresh},
                                                                 {QStringLiteral("Retry every"), retry},
                                                                 {QStringLiteral("Expire after"), expire},
                                                                 {QStringLiteral("Time To Live"), minimum}}};
    for (const auto& row : soaRows) {
        auto* line = new QHBoxLayout;
        line->addWidget(row.second);
        line->addWidget(new QLabel(QStringLiteral("seconds"), page1));
        soa->addRow(row.first, line);
    }
    static_cast<QVBoxLayout*>(page1->layout())->insertLayout(2, soa);

    QWidget* page2 = makePage(QStringLiteral("Host Addresses"),
                              QStringLiteral("These fields are for name to address mapping.  Enter any name associated "
                                             "with this domain, and next to it enter the IP address. For example, you "
                                             "may add 'WWW' and the address of your web server."));
    QWidget* page3 = makePage(QStringLiteral("Name Servers"),
                              QStringLiteral("List the full names of all of the name servers that are associated with "
                                             "this domain."));
    QWidget* page4 = makePage(QStringLiteral("Aliases"),
                              QStringLiteral("Enter Aliases (Canonical names) in the left hand fields, and the names "
                                             "they are aliased to in the right hand fields.  For example, 'WWW' and "
                                             "'FTP' may point to the same machine/ip#"));
    QWidget* page5 =
        makePage(QStringLiteral("Mail Servers"),
                 QStringLiteral("Enter the full name of any mail servers that accept mail for this domain. "
                                " Mail priority will be determined by the order you enter them in.  The "
                                "priority can be changed later."));
    auto* hostGrid = new QGridLayout;
    hostGrid->addWidget(new QLabel(QStringLiteral("Names"), page2), 0, 0);
    hostGrid->addWidget(new QLabel(QStringLiteral("Corresponding IP#"), page2), 0, 1);
    auto* nsForm = new QFormLayout;
    auto* aliasGrid = new QGridLayout;
    aliasGrid->addWidget(new QLabel(QStringLiteral("Alias Names"), page4), 0, 0);
    aliasGrid->addWidget(new QLabel(QStringLiteral("Names to point to"), page4), 0, 1);
    auto* mailForm = new QFormLayout;
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        names[i] = makeField(page2, QStringLiteral("name") + n);
        ips[i] = makeField(page2, kIpNames[i]);
        hostGrid->addWidget(names[i], i + 1, 0);
        hostGrid->addWidget(ips[i], i + 1, 1);
        const QString nsHint = i == 0 ? QStringLiteral("Enter the primary name server's address")
                               : i == 1
                                   ? QStringLiteral("Enter the address of a secondary Name Server")
                                   : QStringLiteral("Enter the address of an additional Name server if it exists.");
        nameservers[i] = makeField(page3, QStringLiteral("nameserver") + n, nsHint);
        nsForm->addRow(QStringLiteral("Name Server ") + n, nameservers[i]);
        aliases[i] =
            makeField(page4, QStringLiteral("alias") + n, QStringLiteral("Enter an Alias name such as WWW or FTP"));
        actuals[i] =
            makeField(page4, QStringLiteral("actual") + n,
                      QStringLiteral("Enter the actual name that the alias points to.  The name you enter here "
                                     "muct have an Address Record."));
        aliasGrid->addWidget(aliases[i], i + 1, 0);
        aliasGrid->addWidget(actuals[i], i + 1, 1);
        const QString mailHint = i == 0 ? QStringLiteral("Enter the name of the Mail Server with the highest Priority")
                                        : QStringLiteral("Enter an additional mail Server if one exists");
        mailservers[i] = makeField(page5, QStringLiteral("mailserver") + n, mailHint);
        mailForm->addRow(QStringLiteral("Mail Server ") + n, mailservers[i]);
    }
    static_cast<QVBoxLayout*>(page2->layout())->insertLayout(2, hostGrid);
    static_cast<QVBoxLayout*>(page3->layout())->insertLayout(2, nsForm);
    static_cast<QVBoxLayout*>(page4->layout())->insertLayout(2, aliasGrid);
    static_cast<QVBoxLayout*>(page5->layout())->insertLayout(2, mailForm);

    const std::array<QWidget*, 5> pages{page1, page2, page3, page4, page5};
    for (int i = 0; i < 5; ++i) {
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        backs[i] = makeButton(pages[i], QStringLiteral("back") + QString::number(i + 1), QStringLiteral("Back"));
        // "Back" from the first page deletes the zone just made: Enter never lands on it, however the page opens.
        backs[i]->setAutoDefault(false);
        buttons->addWidget(backs[i]);
        connect(backs[i], &QPushButton::clicked, this, [this, i] { backClick(i); });
        if (i < 4) {
            nexts[i] = makeButton(pages[i], QStringLiteral("next") + QString::number(i + 1), QStringLiteral("Next"));
            buttons->addWidget(nexts[i]);
            connect(nexts[i], &QPushButton::clicked, this, [this, i] { nextClick(i); });
        }
        if (i == 0) {
            cancelit = makeButton(page1, QStringLiteral("cancelit"), QStringLiteral("Cancel"));
            buttons->addWidget(cancelit);
        }
        if (i == 4) {
            finishit = makeButton(page5, QStringLiteral("finishit"), QStringLiteral("Finish"));
            buttons->addWidget(finishit);
        }
        static_cast<QVBoxLayout*>(pages[i]->layout())->addLayout(buttons);
        notebook->addWidget(pages[i]);
    }
    connect(cancelit, &QPushButton::clicked, this, &PrimaryZoneWizard::cancelClick);
    connect(finishit, &QPushButton::clicked, this, &PrimaryZoneWizard::finishClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notebook);
}

QWidget* PrimaryZoneWizard::makePage(const QString& title, const QString& text)
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* heading = new QLabel(title, page);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    auto* description = new QLabel(text, page);
    description->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(description);
    return page;
}

WizardFields PrimaryZoneWizard::fields() const
{
    WizardFields result;
    result.name = name;
    result.user = user;
    result.serial = serial->text();
    result.refresh = refresh->text();
    result.retry = retry->text();
    result.expire = expire->text();
    result.minimum = minimum->text();
    copyInto(result.names, names);
    copyInto(result.ips, ips);
    copyInto(result.nameservers, nameservers);
    copyInto(result.aliases, aliases);
    copyInto(result.actuals, actuals);
    copyInto(result.mailservers, mailservers);
    return result;
}

void PrimaryZoneWizard::showFields(const WizardFields& values)
{
    user = values.user;
    serial->setText(values.serial);
    refresh->setText(values.refresh);
    retry->setText(values.retry);
    expire->setText(values.expire);
    minimum->setText(values.minimum);
    copyOut(values.names, names);
    copyOut(values.ips, ips);
    copyOut(values.nameservers, nameservers);
    copyOut(values.aliases, aliases);
    copyOut(values.actuals, actuals);
    copyOut(values.mailservers, mailservers);
}

WizardHostPicker PrimaryZoneWizard::picker()
{
    return [this](const QString& caption, const QStringList& hostNames, int row) -> std::optional<QString> {
        return hostselect->choose(caption, hostNames, row);
    };
}

void PrimaryZoneWizard::startFor(const QString& zone)
{
    name = zone;
    finished = QStringLiteral("FALSE");
    showFields(prefillWizard(m_state, zone));
    show();
    raise();
    activateWindow();
    showPage(0);
}

void PrimaryZoneWizard::showPage(int page)
{
    notebook->setCurrentIndex(page);
    QPushButton* forward = page < int(nexts.size()) ? nexts[std::size_t(page)] : finishit;
    forward->setDefault(true);
    if (QLineEdit* first = notebook->currentWidget()->findChild<QLineEdit*>())
        first->setFocus(Qt::OtherFocusReason);
}

void PrimaryZoneWizard::nextClick(int page)
{
    WizardFields values = fields();
    bool passed = false;
    switch (page) {
    case 0:
        passed = checkZoneInformation(values, m_prompter);
        break;
    case 1:
        passed = checkHostAddresses(values, m_state, m_prompter);
        break;
    case 2:
        passed = checkNameServers(values, m_state, m_prompter, picker());
        break;
    default:
        passed = checkAliases(values, m_state, m_prompter, picker());
        break;
    }
    // Fields the name checks completed keep their completed text, whether or not the page passed.
    showFields(values);
    if (passed)
        showPage(page + 1);
}

void PrimaryZoneWizard::backClick(int page)
{
    if (page > 0) {
        showPage(page - 1);
        return;
    }
    leave();
    hide();
    if (m_hooks.showCreateDialog)
        m_hooks.showCreateDialog();
}

void PrimaryZoneWizard::cancelClick()
{
    leave();
    hide();
}

void PrimaryZoneWizard::finishClick()
{
    WizardFields values = fields();
    const bool passed = checkMailServers(values, m_state, m_prompter, picker());
    showFields(values);
    if (!passed)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    finished = QStringLiteral("TRUE");
    ZoneContext context = m_hooks.zoneContext();
    saveWizardZone(context, values, m_hooks.reloadBootFile);
    hide();
    if (m_hooks.zoneFinished)
        m_hooks.zoneFinished();
    QApplication::restoreOverrideCursor();
}

void PrimaryZoneWizard::leave()
{
    if (m_leaving)
        return;
    m_leaving = true;
    if (finished != QLatin1String("TRUE"))
        abandonWizardZone(m_state, name, m_hooks.deletePrimary);
    name.clear();
    showFields(WizardFields());
    m_leaving = false;
}

void PrimaryZoneWizard::closeEvent(QCloseEvent* event)
{
    leave();
    QDialog::closeEvent(event);
}

void PrimaryZoneWizard::hideEvent(QHideEvent* event)
{
    // Hiding (as "Finish" does) only empties the fields; a zone not finished is deleted by leave() first. A
    // hide of the window system's own (a minimised main window) is no leaving.
    if (!event->spontaneous())
        leave();
    QDialog::hideEvent(event);
}
