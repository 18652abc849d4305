#include "bind9/serverexport.h"

#include "bind9/bind9folder.h"
#include "bind9/catalogzone.h"
#include "operations/servercontrol.h"
#include "platform/platform.h"
#include "session/appstate.h"

#include <QDir>

QString loadedBootFile(const AppState& state)
{
    return QDir(state.boot.bootDirectory).filePath(BootConfig::fileName());
}

NamedConfForm formOfMode(Bind9Settings::Mode mode)
{
    return mode == Bind9Settings::Mode::System ? NamedConfForm::ZonesOnly : NamedConfForm::Whole;
}

NamedConfRequest loadedServerRequest(const AppState& state, NamedConfForm form, const QString& catalogZone,
                                     const QString& platformName)
{
    NamedConfRequest request;
    request.form = form;
    request.bootFile = loadedBootFile(state);
    request.dataDirectory = state.zoneLists.datapath;
    request.settings = state.bind9;
    if (form == NamedConfForm::Whole) {
        const NdcTarget target{ManagedServer{state.pendingServerId, request.bootFile}, state.defaultos};
        const Bind9Folder folder(state.boot.bootDirectory);
        request.places = folder.places(ndcOutputFile(NdcCommand::DumpDb, target, platformName),
                                       ndcOutputFile(NdcCommand::Stats, target, platformName));
        request.controls = folder.controls(state.bind9.controlPort);
    }
    if (!catalogZone.isEmpty()) {
        request.catalogZone = catalogZone;
        request.catalogFile = catalogFileName(catalogZone);
    }
    return request;
}

ServerExport exportLoadedServer(const AppState& state, NamedConfForm form, const QString& catalogZone,
                                const Platform& platform)
{
    const NamedConfRequest request = loadedServerRequest(state, form, catalogZone, platform.platformName());
    ServerExport result{exportNamedConf(state.boot, request), QString()};
    if (request.catalogZone.isEmpty())
        return result;
    const quint32 clock = quint32(platform.now().toSecsSinceEpoch());
    const CatalogWriteResult written = writeCatalogZone(QDir(request.dataDirectory).filePath(request.catalogFile),
                                                        request.catalogZone, result.conf.primaryZones, clock);
    result.errorText = written.errorText;
    return result;
}
