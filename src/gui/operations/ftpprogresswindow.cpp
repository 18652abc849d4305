#include "gui/operations/ftpprogresswindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

FtpProgressWindow::FtpProgressWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FtpProgressWindow"));
    setWindowTitle(QStringLiteral("FTP Connection:  This may take a while."));
    ftpprogress = new QListWidget(this);
    ftpprogress->setObjectName(QStringLiteral("ftpprogress"));
    QPalette palette = ftpprogress->palette();
    palette.setColor(QPalette::Base, QColor(0xc0, 0xc0, 0xc0));
    ftpprogress->setPalette(palette);
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    connect(cancelit, &QPushButton::clicked, this, &FtpProgressWindow::cancelRequested);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(ftpprogress, 1);
    layout->addWidget(cancelit, 0, Qt::AlignHCenter);
    resize(420, 240);
}

void FtpProgressWindow::closeEvent(QCloseEvent* event)
{
    // The window goes when the download ends; closing it before asks the download to stop.
    Q_EMIT cancelRequested();
    event->ignore();
}

void FtpProgressWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT cancelRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FtpProgressWindow::showCentred()
{
    clearLines();
    addLine(QStringLiteral("FTP Connection..."));
    addLine(QString());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    cancelit->setFocus(Qt::OtherFocusReason);
}

void FtpProgressWindow::addLine(const QString& line)
{
    ftpprogress->addItem(line);
    ftpprogress->scrollToBottom();
}

void FtpProgressWindow::clearLines()
{
    ftpprogress->clear();
}

QStringList FtpProgressWindow::lines() const
{
    QStringList texts;
    for (int i = 0; i < ftpprogress->count(); ++i)
        texts << ftpprogress->item(i)->text();
    return texts;
}
