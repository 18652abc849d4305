#pragma once

#include "platform/progress.h"

#include <QWidget>

class QProgressBar;

// The shared "Progress..." window: a small tool window of the main window with one bar from 0 to 100. It blocks
// nothing by itself; the operations that show it run on the window thread and let it repaint.
class ProgressWindow : public QWidget, public Progress
{
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    void showProgress() override;
    void setProgressCaption(const QString& caption) override;
    void setProgress(int percent) override;
    void hideProgress() override;
    void keepAlive() override;

    int position() const;

private:
    QProgressBar* m_bar;
};
