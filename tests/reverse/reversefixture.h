#pragma once

#include "platform/settingsstore.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"

#include <QStringList>
#include <QTemporaryDir>

// A stage window that remembers what it was told, in order.
class RecordingStage : public Stage
{
public:
    void showStage(const QString& title) override { steps << QStringLiteral("show ") + title; }
    void setStageText(const QString& text) override { steps << QStringLiteral("stage ") + text; }
    void setItemText(const QString& text) override { items << text; }
    void setStageProgress(int percent) override { steps << QString::number(percent); }
    void hideStage() override { steps << QStringLiteral("hide"); }

    QStringList steps;
    QStringList items;
};

// One host address record of a test zone; an IPv6 one is written as the host editor writes it, among the other
// records (its owner must then be absolute).
struct TestHost
{
    QString owner;
    QString address;
};

// A server in a temporary folder: "win/named.boot", the zones in "data", named ns1 with the full name
// ns1.example.com., the running serial 2026120701 and the administrator hostmaster@example.com.
struct ReverseServer
{
    ReverseServer();

    QString dataPath() const;
    QString dataFile(const QString& name) const;
    QString bootFile() const;

    // Writes a zone file in the program's layout; the owner of its start of authority is "@" or the zone's
    // name with a dot.
    void zone(const QString& name, const QStringList& nameServers, const QList<TestHost>& hosts, bool ownerIsAt = true);
    // Writes the boot file listing every zone written so far, and reads it as loading the server does.
    void load();

    ReverseResult generate();

    QTemporaryDir dir;
    SettingsStore store;
    AppState state;
    ScriptedPrompter prompter;
    RecordingStage stage;
    PrompterHostNameChooser chooser{prompter};
    QStringList zoneNames;
};
