#include "gui/history/historymenu.h"

#include "gui/common/windowservices.h"
#include "gui/history/historywindow.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/notices.h"
#include "platform/prompter.h"
#include "server/history/changerecording.h"
#include "server/history/historyactions.h"
#include "session/appstate.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QTextEdit>
#include <QTimer>

namespace {

bool isTextField(const QWidget* widget)
{
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return box->isEditable();
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

} // namespace

HistoryMenu::HistoryMenu(WindowServices& window, QMenu& serverMenu, DomainEditPage& zonePage, AppState& state,
                         Prompter& prompter)
    : QObject(&window.window()), m_window(window), m_state(state), m_prompter(prompter)
{
    setObjectName(QStringLiteral("historymenu"));
    serverMenu.addSeparator();
    m_history = serverMenu.addAction(QStringLiteral("History..."));
    m_history->setObjectName(QStringLiteral("historymenuitem"));
    m_undo = serverMenu.addAction(QStringLiteral("Undo Last Change"));
    m_undo->setObjectName(QStringLiteral("undolastchange"));
    // A text field with the focus takes Ctrl+Z for itself before the shortcut is looked for.
    m_undo->setShortcut(QKeySequence::Undo);
    m_undo->setShortcutContext(Qt::WindowShortcut);
    window.window().addAction(m_undo);
    connect(m_history, &QAction::triggered, this, [this] { showHistory(); });
    connect(m_undo, &QAction::triggered, this, &HistoryMenu::undoLastChangeClick);
    zonePage.addZoneMenuItems(QStringLiteral("History"), QStringLiteral("primhistory"), QStringLiteral("sechistory"),
                              [this](const QString& zone) { showHistory(zone); });

    ChangeRecording::setKeepAlive([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    // A failure comes from the end of an operation, out of a destructor: it is told once the operation is over.
    QPointer<QWidget> owner(&window.window());
    ChangeRecording::setFailureHandler([owner, &prompter](const QString& text) {
        QTimer::singleShot(0, owner, [&prompter, text] { prompter.message(QStringLiteral("Attention!"), text); });
    });
    Notices::setHandler([owner, &prompter](const QString& text) {
        QTimer::singleShot(0, owner, [&prompter, text] { prompter.message(QStringLiteral("Attention!"), text); });
    });
    // The command-line program beside this one packs a grown history while the window goes on.
    ChangeRecording::setPacker([](const QString& dataDirectory) {
        const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("quorvane-cli"));
        if (QFileInfo(cli).isExecutable())
            QProcess::startDetached(cli, {QStringLiteral("history"), QStringLiteral("pack"), dataDirectory});
    });
}

HistoryMenu::~HistoryMenu()
{
    ChangeRecording::setPacker(nullptr);
    Notices::setHandler(nullptr);
    ChangeRecording::setFailureHandler(nullptr);
    ChangeRecording::setKeepAlive(nullptr);
}

void HistoryMenu::showHistory(const QString& zone)
{
    if (!m_state.serverLoaded) {
        m_prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a server."));
        return;
    }
    HistoryWindow window(m_state, &m_window.window());
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
    m_window.selectServer(m_state.servername);
}
