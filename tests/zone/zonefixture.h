#pragma once

#include "platform/progress.h"
#include "session/appstate.h"
#include "session/zonecontext.h"
#include "support/scriptedprompter.h"

#include <QStringList>
#include <QTemporaryDir>

// A progress window that remembers what it was told, in order: "show", "hide", the caption and each position.
class RecordingProgress : public Progress
{
public:
    void showProgress() override { steps << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { steps << caption; }
    void setProgress(int percent) override { steps << QString::number(percent); }
    void hideProgress() override { steps << QStringLiteral("hide"); }

    QStringList steps;
};

// The program state over a data directory of its own, with a scripted prompter and a running serial of
// 2026120701 (the first save writes 2026120702).
struct ZoneFixture
{
    ZoneFixture();

    // Copies a file of the test data into the data directory under the name given (the data name by default).
    QString copyIn(const QString& dataName, const QString& asName = QString());
    QString pathOf(const QString& fileName) const;
    // Selects the file as the primary zone to save into.
    void select(const QString& fileName, const QString& zoneName);
    // Queues the messages a data file lists, two lines each: the caption, then the text.
    void expectMessagesOf(const QString& dataName);

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompter prompter;
    RecordingProgress progress;
    ZoneContext context{state, prompter, progress, {}, {}};
};
