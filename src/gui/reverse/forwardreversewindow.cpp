#include "gui/reverse/forwardreversewindow.h"

#include "platform/prompter.h"
#include "session/appstate.h"
#include "session/settings.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(name);
    return made;
}

} // namespace

ForwardReverseWindow::ForwardReverseWindow(AppState& state, SettingsStore& store, Prompter& prompter,
                                           std::function<void()> changed, QWidget* parent)
    : QDialog(parent), m_state(state), m_store(store), m_prompter(prompter), m_changed(std::move(changed))
{
    setObjectName(QStringLiteral("ForwardReverseWindow"));
    setWindowTitle(QStringLiteral("Forward and Reverse"));
    setModal(true);
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    findings = new QTreeWidget(this);
    findings->setObjectName(QStringLiteral("findings"));
    findings->setColumnCount(3);
    findings->setHeaderLabels({QStringLiteral("Finding"), QStringLiteral("Fix"), QStringLiteral("Map to")});
    findings->setRootIsDecorated(false);
    findings->setSelectionMode(QAbstractItemView::ExtendedSelection);
    findings->header()->setStretchLastSection(false);
    findings->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    checkagain = button(this, QStringLiteral("checkagain"), QStringLiteral("Check Again"));
    fixselected = button(this, QStringLiteral("fixselected"), QStringLiteral("Fix"));
    fixall = button(this, QStringLiteral("fixall"), QStringLiteral("Fix All"));
    closeit = button(this, QStringLiteral("closeit"), QStringLiteral("Close"));
    closeit->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkagain);
    buttons->addStretch();
    buttons->addWidget(fixselected);
    buttons->addWidget(fixall);
    buttons->addWidget(closeit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(findings, 1);
    layout->addLayout(buttons);
    resize(900, 420);

    connect(checkagain, &QPushButton::clicked, this, &ForwardReverseWindow::check);
    connect(fixselected, &QPushButton::clicked, this, &ForwardReverseWindow::fixSelectedClick);
    connect(fixall, &QPushButton::clicked, this, &ForwardReverseWindow::fixAllClick);
    connect(closeit, &QPushButton::clicked, this, &QDialog::accept);
    connect(findings, &QTreeWidget::itemSelectionChanged, this, &ForwardReverseWindow::updateButtons);
}

void ForwardReverseWindow::check()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ConsistencyContext context{m_state, &m_store, m_prompter};
    const ConsistencyReport report = checkForwardReverse(context);
    QApplication::restoreOverrideCursor();
    fill(report);
}

void ForwardReverseWindow::fill(const ConsistencyReport& report)
{
    m_findings = report.findings;
    findings->clear();
    for (qsizetype i = 0; i < m_findings.size(); ++i) {
        const ConsistencyFinding& finding = m_findings.at(i);
        auto* item = new QTreeWidgetItem(findings, QStringList{finding.text(), finding.fixText()});
        item->setToolTip(0, finding.text());
        if (finding.kind != ConsistencyKind::SharedAddress)
            continue;
        auto* choice = new QComboBox(findings);
        choice->setObjectName(QStringLiteral("choice%1").arg(i));
        choice->addItems(finding.names);
        choice->setCurrentIndex(finding.choice);
        findings->setItemWidget(item, 2, choice);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, item, i](int chosen) {
            m_findings[i].choice = chosen;
            m_findings[i].host = m_findings.at(i).names.value(chosen);
            item->setText(1, m_findings.at(i).fixText());
        });
    }
    findings->resizeColumnToContents(1);
    QString text = m_findings.isEmpty()
                       ? QStringLiteral("Forward and reverse mapping agree: %1 host addresses, %2 pointers.")
                       : QStringLiteral("%1 host addresses, %2 pointers: %3 findings.");
    text = text.arg(report.hostCount).arg(report.pointerCount);
    if (!m_findings.isEmpty())
        text = text.arg(m_findings.size());
    if (!report.problems.isEmpty())
        text += QStringLiteral(" Not read: ") + report.problems.join(QStringLiteral(" "));
    summary->setText(text);
    updateButtons();
}

void ForwardReverseWindow::updateButtons()
{
    fixselected->setEnabled(!findings->selectedItems().isEmpty());
    fixall->setEnabled(!m_findings.isEmpty());
}

void ForwardReverseWindow::fixSelectedClick()
{
    QList<ConsistencyFinding> chosen;
    for (QTreeWidgetItem* item : findings->selectedItems())
        chosen << m_findings.value(findings->indexOfTopLevelItem(item));
    fix(chosen);
}

void ForwardReverseWindow::fixAllClick()
{
    fix(m_findings);
}

void ForwardReverseWindow::fix(const QList<ConsistencyFinding>& chosen)
{
    if (chosen.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ConsistencyContext context{m_state, &m_store, m_prompter};
    const ConsistencyFixResult result = fixFindings(context, chosen);
    QApplication::restoreOverrideCursor();
    // The names a choice turned down are kept at once, as the reverse mapping's answers are.
    QString error;
    if (!saveSettings(m_state, m_store, &error))
        m_prompter.message(QStringLiteral("Error"), error, Prompter::Button::Ok, Prompter::Icon::Critical);
    if (m_changed)
        m_changed();
    if (!result.ok)
        m_prompter.message(QStringLiteral("Error"), result.errorText, Prompter::Button::Ok, Prompter::Icon::Critical);
    check();
}
