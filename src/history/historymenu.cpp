#include "history/historymenu.h"

#include "history/changerecording.h"
#include "history/historyactions.h"
#include "history/historywindow.h"
#include "platform/prompter.h"
#include "shell/appstate.h"
#include "shell/mainwindow.h"
#include "ui/zonebrowser/domaineditpage.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {

bool isTextField(const QWidget* widget)
{
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return box->isEditable();
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

QString zoneOfItem(const QTreeWidgetItem* item)
{
    while (item && item->parent())
        item = item->parent();
    return item ? item->text(0) : QString();
}

} // namespace

HistoryMenu::HistoryMenu(MainWindow& window, AppState& state, Prompter& prompter)
    : QObject(&window), m_window(window), m_state(state), m_prompter(prompter)
{
    setObjectName(QStringLiteral("historymenu"));
    auto* server = window.menuBar()->findChild<QMenu*>(QStringLiteral("servermenu"));
    server->addSeparator();
    m_history = server->addAction(QStringLiteral("History..."));
    m_history->setObjectName(QStringLiteral("historymenuitem"));
    m_undo = server->addAction(QStringLiteral("Undo Last Change"));
    m_undo->setObjectName(QStringLiteral("undolastchange"));
    // A text field with the focus takes Ctrl+Z for itself before the shortcut is looked for.
    m_undo->setShortcut(QKeySequence::Undo);
    m_undo->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_undo);
    connect(m_history, &QAction::triggered, this, [this] { showHistory(); });
    connect(m_undo, &QAction::triggered, this, &HistoryMenu::undoLastChangeClick);

    DomainEditPage* page = window.domainEdit();
    QAction* primary = page->primmenu->addAction(QStringLiteral("History"));
    primary->setObjectName(QStringLiteral("primhistory"));
    connect(primary, &QAction::triggered, this, [this, page] {
        const QPoint clicked(m_state.selection.xcoord, m_state.selection.ycoord);
        showHistory(zoneOfItem(page->TreeView1->itemAt(clicked)));
    });
    QAction* secondary = page->secmenu->addAction(QStringLiteral("History"));
    secondary->setObjectName(QStringLiteral("sechistory"));
    connect(secondary, &QAction::triggered, this,
            [this, page] { showHistory(zoneOfItem(page->TreeView2->currentItem())); });

    ChangeRecording::setKeepAlive([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    // A failure comes from the end of an operation, out of a destructor: it is told once the operation is over.
    QPointer<MainWindow> owner(&window);
    ChangeRecording::setFailureHandler([owner, &prompter](const QString& text) {
        QTimer::singleShot(0, owner, [&prompter, text] { prompter.message(QStringLiteral("Attention!"), text); });
    });
}

HistoryMenu::~HistoryMenu()
{
    ChangeRecording::setFailureHandler(nullptr);
    ChangeRecording::setKeepAlive(nullptr);
}

void HistoryMenu::showHistory(const QString& zone)
{
    if (!m_state.serverLoaded) {
        m_prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a server."));
        return;
    }
    HistoryWindow window(m_state, &m_window);
    window.showZone(zone);
    connect(&window, &HistoryWindow::filesRestored, this, &HistoryMenu::reloadServer);
    window.exec();
}

void HistoryMenu::undoLastChangeClick()
{
    if (isTextField(QApplication::focusWidget()) || !m_state.serverLoaded)
        return;
    if (undoLastChange(m_state, m_prompter) == RestoreOutcome::Restored)
        reloadServer();
}

void HistoryMenu::reloadServer()
{
    m_window.serverboxChange(m_state.servername);
}
