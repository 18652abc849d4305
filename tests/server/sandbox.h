#pragma once

#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "platform/stage.h"
#include "server/newserversteps.h"
#include "server/serverimport.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Every step of the stage window, as text: "show TITLE", "stage TEXT", "item TEXT", "bar N", "hide".
class RecordingStage : public Stage
{
public:
    explicit RecordingStage(QStringList& events) : m_events(events) {}
    void showStage(const QString& title) override { m_events << QStringLiteral("show ") + title; }
    void setStageText(const QString& text) override { m_events << QStringLiteral("stage ") + text; }
    void setItemText(const QString& text) override { m_events << QStringLiteral("item ") + text; }
    void setStageProgress(int percent) override { m_events << QStringLiteral("bar ") + QString::number(percent); }
    void hideStage() override { m_events << QStringLiteral("hide"); }

private:
    QStringList& m_events;
};

// A program state over a temporary folder that stands for drive C, with a settings file of its own, the
// scripted prompter, and a record of the stage window and of the window hooks.
struct Sandbox
{
    Sandbox();

    QString path(const QString& relative) const;
    void file(const QString& relative, const QByteArray& bytes) const;
    QByteArray bytes(const QString& relative) const;

    ServerContext context();
    WizardHooks hooks();
    // The stage window's steps only.
    QStringList stageEvents() const;

    QTemporaryDir dir;
    SettingsStore store;
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform;
    NullProgress progress;
    QStringList events;
    RecordingStage stage{events};
};

// The server of tests/data/newserver/source below "src" (its Windows directory "src/winnt"), an empty
// destination "dest", and the wizard's fields for "ns2" of "example.com".
struct ImportBox : Sandbox
{
    ImportBox();

    bool run(ImportMode mode, const ImportRequest& request = {});
    // The source and the destination named, as the command line names them.
    ImportRequest byName() const;

    NewServerFields fields;
};

// Copies a folder of tests/data with everything below it into the sandbox.
void copyTree(const QString& from, const QString& to);

// The checksum of every file below a folder, by relative path: what a run must leave unchanged. The servers'
// histories are left out.
QMap<QString, QByteArray> treeChecksums(const QString& folder);
