#include "editorfixture.h"

#include "editors/soafields.h"
#include "server/zoneload.h"
#include "support/testfiles.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zonewriter.h"

#include <QDir>
#include <QFile>

QString zoneOfDataFile(const QString& dataName)
{
    return dataName.chopped(4);
}

EditorFixture::EditorFixture(const QString& dataName)
    : context{state, prompter, progress, {}, soaCheckStep(prompter)}, zoneName(zoneOfDataFile(dataName)),
      fileName(dataName)
{
    state.zoneLists.datapath = dir.path();
    state.zoneLists.primdns = QStringList{zoneName};
    state.zoneLists.primfiles = QStringList{fileName};
    state.setup.runningSerial = QStringLiteral("2026120701");
    writeBytes(filePath(), readBytes(testDataPath(QStringLiteral("editors/") + dataName)));
    reload();
}

void EditorFixture::reload()
{
    state.selection.primfilename = fileName;
    state.selection.primdnsname = zoneName;
    loadZone(context, fileName, zoneName);
    rebuildDisplays(state.zone, context.soaStep);
}

QString EditorFixture::filePath() const
{
    return QDir(dir.path()).filePath(fileName);
}

QByteArray EditorFixture::fileBytes() const
{
    return readBytes(filePath());
}

QByteArray EditorFixture::modelBytes() const
{
    return zoneFileBytes(state.zone);
}

QStringList EditorFixture::snapshot() const
{
    QStringList lines = state.zone.sourceofauth.values() + state.zone.soadisplay;
    for (const RecordList* list : const_cast<ZoneModel&>(state.zone).recordLists())
        lines << list->lines() << list->displays() << QString::number(list->lines().size());
    return lines;
}

void EditorFixture::script(const QStringList& prompts)
{
    for (const QString& entry : prompts) {
        const QStringList parts = entry.split(QLatin1Char('|'));
        if (parts.first() == QLatin1String("pick")) {
            const int index = parts.value(1).toInt();
            prompter.answerPick(index < 0 ? std::nullopt : std::optional<int>(index));
            continue;
        }
        prompter.expectMessage(parts.value(0), parts.value(1), *buttonFromName(parts.value(2)));
    }
}
