#pragma once

#include <QString>

// The shared "Progress..." window as the operations see it: the windows show a real one, the command line
// and the tests do without.
class Progress
{
public:
    virtual ~Progress() = default;
    virtual void showProgress() = 0;
    virtual void setProgressCaption(const QString& caption) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void hideProgress() = 0;
    // Lets the window go on between two steps of long work without moving the bar.
    virtual void keepAlive() {}
};

class NullProgress : public Progress
{
public:
    void showProgress() override {}
    void setProgressCaption(const QString&) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
};
