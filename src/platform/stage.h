#pragma once

#include <QString>

// The "Processing..." stage window as the operations see it: a title line, the current stage, the item being
// processed and a bar from 0 to 100. Long multi-step work (setting up or importing a server, generating the
// reverse zones) reports through it; the windows show a real one, the command line and the tests do without.
class Stage
{
public:
    virtual ~Stage() = default;
    virtual void showStage(const QString& title) = 0;
    virtual void setStageText(const QString& text) = 0;
    virtual void setItemText(const QString& text) = 0;
    virtual void setStageProgress(int percent) = 0;
    virtual void hideStage() = 0;

    void setStage(const QString& stage, const QString& item)
    {
        setStageText(stage);
        setItemText(item);
    }
};

class NullStage : public Stage
{
public:
    void showStage(const QString&) override {}
    void setStageText(const QString&) override {}
    void setItemText(const QString&) override {}
    void setStageProgress(int) override {}
    void hideStage() override {}
};
