#include "gui/common/stagewindow.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

StageWindow::StageWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("StageWindow"));
    setWindowTitle(QStringLiteral("Processing..."));
    // It only shows how far the work is: the keyboard stays in the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);

    titlelabel = new QLabel(this);
    titlelabel->setObjectName(QStringLiteral("titlelabel"));
    QFont bold = titlelabel->font();
    bold.setBold(true);
    titlelabel->setFont(bold);
    stagetext = new QLabel(this);
    stagetext->setObjectName(QStringLiteral("stagetext"));
    itemtext = new QLabel(this);
    itemtext->setObjectName(QStringLiteral("itemtext"));
    stagebar = new QProgressBar(this);
    stagebar->setObjectName(QStringLiteral("stagebar"));
    stagebar->setRange(0, 100);

    auto* texts = new QFormLayout;
    texts->addRow(QStringLiteral("Current Stage:"), stagetext);
    texts->addRow(QStringLiteral("Processing: "), itemtext);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titlelabel);
    layout->addLayout(texts);
    layout->addWidget(stagebar);
    resize(360, 130);
}

void StageWindow::repaintNow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StageWindow::showStage(const QString& title)
{
    titlelabel->setText(title);
    stagetext->clear();
    itemtext->clear();
    stagebar->setValue(0);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaintNow();
}

void StageWindow::setStageText(const QString& text)
{
    stagetext->setText(text);
    repaintNow();
}

void StageWindow::setItemText(const QString& text)
{
    itemtext->setText(text);
    repaintNow();
}

void StageWindow::setStageProgress(int percent)
{
    stagebar->setValue(percent);
    repaintNow();
}

void StageWindow::hideStage()
{
    hide();
}
