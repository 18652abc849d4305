#include "server/conftakeover.h"

#include "checks/namechecks.h"
#include "platform/prompter.h"
#include "server/newserversteps.h"
#include "server/serverdeletion.h"
#include "server/serverloading.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>

bool takeOverConfServer(ServerContext& context, const QString& name, const QString& confFile)
{
    const QString kError = QStringLiteral("Error");
    const QString server = name.trimmed();
    if (server.isEmpty() || hasIllegalCharacters(server) || server.contains(QLatin1Char('@'))) {
        context.prompter.message(kError, QStringLiteral("Name of Server Input Error. Re-Enter."));
        return false;
    }
    if (serverNameExists(context.state.catalog, server)) {
        context.prompter.message(kError, QStringLiteral("Server Name Already Exists."));
        return false;
    }
    const QFileInfo file(confFile);
    if (!file.isFile() || !file.fileName().endsWith(QLatin1String(".conf"), Qt::CaseInsensitive)) {
        context.prompter.message(kError, QStringLiteral("%1 is no named.conf: the server's configuration file must be "
                                                        "a file whose name ends in \".conf\".")
                                             .arg(QDir::toNativeSeparators(confFile)));
        return false;
    }
    const QString identifier = server + QLatin1Char('@') + server;
    const QString path = QDir::cleanPath(file.absoluteFilePath());
    context.state.catalog.add({identifier, path});
    storeAndReloadCatalog(context);
    context.state.offerObsoleteRemoval = true;
    const bool loaded = selectServer(context, server).boot.ok();
    context.state.offerObsoleteRemoval = false;
    // A server that could not be taken over does not stay in the list under its name: mended, it is taken over
    // again by the same name. Its files are the administrator's and stay as they are.
    if (!loaded)
        deleteServer(context, path, identifier, true, false);
    return loaded;
}
