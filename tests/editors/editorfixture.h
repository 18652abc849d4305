#pragma once

#include "platform/progress.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/zonecontext.h"
#include "support/scriptedprompter.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

// A zone of the test data loaded as the browser loads it before an editor opens: copied into a data directory
// of its own, selected, read and its displays rebuilt through the SOA editor's checks. The running serial is
// 2026120701, so the first save writes 2026120702.
struct EditorFixture
{
    explicit EditorFixture(const QString& dataName = QStringLiteral("example.com.dns"));

    // Reads the selected zone anew, as the browser does before every editor.
    void reload();
    QString filePath() const;
    QByteArray fileBytes() const;
    // What writeZone writes for the model as it stands.
    QByteArray modelBytes() const;
    // Every stored and display line of the zone, for proving that nothing changed.
    QStringList snapshot() const;
    // Queues prompts written one per entry as "caption|text|answer", or "pick|index" for a picker.
    void script(const QStringList& prompts);

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompter prompter;
    NullProgress progress;
    ZoneContext context;
    QString zoneName;
    QString fileName;
};

// The zone name a test data file holds: its name without ".dns".
QString zoneOfDataFile(const QString& dataName);
