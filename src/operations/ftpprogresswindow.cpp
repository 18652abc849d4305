#include "operations/ftpprogresswindow.h"

#include <QGuiApplication>
#include <QListWidget>
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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ftpprogress);
    resize(420, 220);
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
