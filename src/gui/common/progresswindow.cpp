#include "gui/common/progresswindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Progress..."));
    // It only shows how far the work is: the keyboard stays in the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressbar"));
    m_bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    resize(300, 60);
}

void ProgressWindow::showProgress()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::setProgressCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void ProgressWindow::setProgress(int percent)
{
    m_bar->setValue(percent);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::hideProgress()
{
    hide();
}

void ProgressWindow::keepAlive()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int ProgressWindow::position() const
{
    return m_bar->value();
}
