#pragma once

#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/bootcontext.h"
#include "session/zonecontext.h"
#include "support/scriptedprompter.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A progress window that remembers what it was told, in order.
class StepProgress : public Progress
{
public:
    void showProgress() override { steps << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { steps << caption; }
    void setProgress(int percent) override { steps << QString::number(percent); }
    void hideProgress() override { steps << QStringLiteral("hide"); }

    QStringList steps;
};

// A loaded server "ns" in a folder of its own: "ns/named.boot" over the data directory "ns/data" (reached as
// drive C), read as selecting the server reads it, with the server name "ns", the administrator
// "admin@example.com" and a running serial of 2026120701.
struct ServerFixture
{
    explicit ServerFixture(const QByteArray& bootText);

    QString path(const QString& relative) const;
    QString dataPath(const QString& file) const;
    QString bootPath() const { return path(QStringLiteral("ns/named.boot")); }
    BootContext bootContext() { return {state, *store, prompter}; }
    // Reads the boot file as loading the server does; true when it was read.
    bool readBoot();
    ZoneContext zoneContext() { return {state, prompter, progress, serverBootFileSaver(), {}}; }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    AppState state;
    ScriptedPrompter prompter;
    StepProgress progress;
};
