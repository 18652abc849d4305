#pragma once

#include "platform/stage.h"

#include <QWidget>

class QLabel;
class QProgressBar;

// The shared "Processing..." window: a small tool window of the main window, without system buttons, that shows a
// title line, "Current Stage:" with the stage text, "Processing: " with the item text, and a bar from 0 to 100.
// Each change lets queued paint messages run, since the work that drives it runs on the window thread.
class StageWindow : public QWidget, public Stage
{
    Q_OBJECT
public:
    explicit StageWindow(QWidget* parent = nullptr);

    void showStage(const QString& title) override;
    void setStageText(const QString& text) override;
    void setItemText(const QString& text) override;
    void setStageProgress(int percent) override;
    void hideStage() override;

    QLabel* titlelabel;
    QLabel* stagetext;
    QLabel* itemtext;
    QProgressBar* stagebar;

private:
    void repaintNow();
};
