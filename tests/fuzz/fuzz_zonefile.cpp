// The zone file reader over any bytes, then the displays and the writer's bytes of what it read.
#include "fuzzsupport.h"
#include "platform/progress.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/recorddisplay.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zonewriter.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("zones/zone.dns"), fuzzInput(data, size));
    AppState state;
    state.zoneLists.datapath = QFileInfo(path).absolutePath();
    FuzzPrompter prompter;
    NullProgress progress;
    ZoneContext context{state, prompter, progress, {}, {}};
    loadZone(context, QStringLiteral("zone.dns"), QStringLiteral("example.com"));
    rebuildDisplays(state.zone);
    // Display texts are derived when asked for.
    for (const RecordList* list : state.zone.recordLists())
        list->displays();
    zoneFileBytes(state.zone);
    return 0;
}
