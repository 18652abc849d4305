#include "zone/zonecontext.h"

#include "bootfile/bootwriter.h"

BootFileSaver serverBootFileSaver()
{
    return [](AppState& state, Progress& progress) {
        const BootWriteResult result = writeBootFile(state, &progress);
        return FileWriteResult{result.ok, result.errorText};
    };
}
