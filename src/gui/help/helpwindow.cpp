#include "gui/help/helpwindow.h"

#include "platform/helpfile.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& documentPath, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    m_html = readHelpDocument(documentPath);
    helptext = new QTextBrowser(this);
    helptext->setObjectName(QStringLiteral("helptext"));
    helptext->setOpenExternalLinks(true);
    helptext->setHtml(m_html);
    closeit = new QPushButton(QStringLiteral("Close"), this);
    closeit->setObjectName(QStringLiteral("closeit"));
    closeit->setDefault(true);
    connect(closeit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helptext, 1);
    layout->addLayout(buttons);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& topic)
{
    m_topic = hasHelpTopic(m_html, topic) ? topic : gettingStartedTopic();
    show();
    // Scrolled once the window has its size, so that the section comes to the top.
    helptext->scrollToAnchor(m_topic);
    raise();
    activateWindow();
    helptext->setFocus(Qt::OtherFocusReason);
}

QString HelpWindow::topicFor(const QWidget* widget, const QString& html)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* pages = qobject_cast<const QTabWidget*>(w); pages && pages->currentWidget()) {
            if (hasHelpTopic(html, pages->currentWidget()->objectName()))
                return pages->currentWidget()->objectName();
        }
        if (hasHelpTopic(html, w->objectName()))
            return w->objectName();
    }
    return QString();
}
