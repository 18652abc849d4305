#include "gui/history/historywindow.h"

#include "server/history/historyactions.h"
#include "session/appstate.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kAllZones = QStringLiteral("(all zones)");

} // namespace

HistoryWindow::HistoryWindow(AppState& state, QWidget* parent) : QDialog(parent), m_state(state), m_prompter(this)
{
    setObjectName(QStringLiteral("historywindow"));
    setWindowTitle(QStringLiteral("History"));
    setModal(true);

    zonefilter = new QComboBox(this);
    zonefilter->setObjectName(QStringLiteral("zonefilter"));
    revisions = new QTreeWidget(this);
    revisions->setObjectName(QStringLiteral("revisions"));
    revisions->setHeaderLabels(
        {QStringLiteral("Revision"), QStringLiteral("Time"), QStringLiteral("User"), QStringLiteral("Change")});
    revisions->setRootIsDecorated(false);
    revisions->header()->setStretchLastSection(true);
    difftext = new QPlainTextEdit(this);
    difftext->setObjectName(QStringLiteral("difftext"));
    difftext->setReadOnly(true);
    difftext->setLineWrapMode(QPlainTextEdit::NoWrap);
    difftext->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    statuslabel = new QLabel(this);
    statuslabel->setObjectName(QStringLiteral("statuslabel"));
    revert = new QPushButton(QStringLiteral("&Revert to this revision"), this);
    revert->setObjectName(QStringLiteral("revert"));
    undo = new QPushButton(QStringLiteral("&Undo Last Change"), this);
    undo->setObjectName(QStringLiteral("undo"));
    closebutton = new QPushButton(QStringLiteral("&Close"), this);
    closebutton->setObjectName(QStringLiteral("closebutton"));
    // Enter closes: neither changing button is pressed by it.
    for (QPushButton* button : {revert, undo})
        button->setAutoDefault(false);
    closebutton->setDefault(true);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("&Zone:"), this);
    filterLabel->setBuddy(zonefilter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(zonefilter, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(revisions);
    split->addWidget(difftext);
    split->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(statuslabel, 1);
    buttons->addWidget(revert);
    buttons->addWidget(undo);
    buttons->addWidget(closebutton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(760, 560);

    zonefilter->addItem(kAllZones);
    zonefilter->addItems(m_state.zoneLists.primdns);
    zonefilter->addItems(m_state.zoneLists.secdns);
    connect(zonefilter, &QComboBox::currentIndexChanged, this, &HistoryWindow::refresh);
    connect(revisions, &QTreeWidget::currentItemChanged, this, &HistoryWindow::showSelected);
    connect(revert, &QPushButton::clicked, this, &HistoryWindow::revertClick);
    connect(undo, &QPushButton::clicked, this, &HistoryWindow::undoClick);
    connect(closebutton, &QPushButton::clicked, this, &QDialog::accept);
    zonefilter->setFocus();
    refresh();
}

void HistoryWindow::showZone(const QString& zone)
{
    const int index = zone.isEmpty() ? 0 : zonefilter->findText(zone, Qt::MatchFixedString);
    zonefilter->setCurrentIndex(qMax(index, 0));
    refresh();
}

QString HistoryWindow::selectedZoneFile() const
{
    const int index = zonefilter->currentIndex() - 1;
    if (index < 0)
        return QString();
    const ServerZoneLists& lists = m_state.zoneLists;
    return index < lists.primfiles.size() ? lists.primfiles.value(index)
                                          : lists.secfiles.value(index - lists.primfiles.size());
}

void HistoryWindow::refresh()
{
    revisions->clear();
    difftext->clear();
    ServerHistory history(m_state.boot.bootDirectory, m_state.zoneLists.datapath);
    const std::optional<QList<Revision>> list =
        history.exists() ? history.revisions(selectedZoneFile()) : std::optional<QList<Revision>>(QList<Revision>());
    if (!list) {
        statuslabel->setText(history.errorText());
        return;
    }
    for (const Revision& revision : *list) {
        auto* item = new QTreeWidgetItem(revisions, {revision.id.left(8),
                                                     revision.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                                     revision.author, revision.summary});
        item->setData(0, Qt::UserRole, revision.id);
    }
    for (int column = 0; column < 3; ++column)
        revisions->resizeColumnToContents(column);
    statuslabel->setText(list->isEmpty() ? QStringLiteral("No revisions.")
                                         : QStringLiteral("%1 revisions.").arg(list->size()));
    revert->setEnabled(false);
    undo->setEnabled(history.exists());
    if (revisions->topLevelItemCount() > 0)
        revisions->setCurrentItem(revisions->topLevelItem(0));
}

void HistoryWindow::showSelected()
{
    const QTreeWidgetItem* item = revisions->currentItem();
    revert->setEnabled(item != nullptr);
    if (!item) {
        difftext->clear();
        return;
    }
    ServerHistory history(m_state.boot.bootDirectory, m_state.zoneLists.datapath);
    const std::optional<QString> patch = history.diff(item->data(0, Qt::UserRole).toString());
    difftext->setPlainText(patch ? *patch : history.errorText());
}

void HistoryWindow::revertClick()
{
    const QTreeWidgetItem* item = revisions->currentItem();
    if (!item)
        return;
    const QString id = item->data(0, Qt::UserRole).toString();
    if (m_prompter.message(QStringLiteral("Question!"),
                           QStringLiteral("Put every file of the server back as revision %1 holds it (\"%2\")?")
                               .arg(id.left(8), item->text(3)),
                           Prompter::Button::Yes | Prompter::Button::No,
                           Prompter::Icon::Question) != Prompter::Button::Yes)
        return;
    if (revertToRevision(m_state, id, m_prompter) == RestoreOutcome::Restored)
        Q_EMIT filesRestored();
    refresh();
}

void HistoryWindow::undoClick()
{
    if (undoLastChange(m_state, m_prompter) == RestoreOutcome::Restored)
        Q_EMIT filesRestored();
    refresh();
}
