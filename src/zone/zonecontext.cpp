#include "zone/zonecontext.h"

#include "bootfile/bootwriter.h"
#include "shell/appstate.h"

BootFileSaver serverBootFileSaver()
{
    return [](AppState& state, Progress& progress) {
        const BootWriteResult result = writeBootFile(state, &progress);
        return FileWriteResult{result.ok, result.errorText};
    };
}

QString zoneSavedText(const AppState& state)
{
    return QStringLiteral("Zone %1 saved: 2 files written, %2 (serial %3) and the boot file.")
        .arg(state.selection.primdnsname, state.selection.primfilename,
             state.zone.sourceofauth.value(SoaRecord::Serial));
}
