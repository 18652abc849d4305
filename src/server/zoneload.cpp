#include "server/zoneload.h"

#include "session/appstate.h"

namespace {

ZoneReadTarget loadedZone(ZoneContext& context)
{
    AppState& state = context.state;
    return {state.zone, context.prompter, state.debugLog, state.zoneLists.datapath};
}

} // namespace

ZoneLoadStatus loadZone(ZoneContext& context, const QString& fileName, const QString& zoneName)
{
    return readZoneFile(loadedZone(context), fileName, zoneName);
}

ZoneLoadStatus readNormalisedZone(ZoneContext& context, const QString& fileName, const QString& zoneName,
                                  const NormalisedZone& zone)
{
    return readNormalisedZoneFile(loadedZone(context), fileName, zoneName, zone);
}
