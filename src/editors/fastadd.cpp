#include "editors/fastadd.h"

#include "checks/domainname.h"
#include "editors/newzoneserver.h"
#include "editors/primaryzonecreation.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "server/serverchange.h"
#include "session/appstate.h"

bool addFastAddName(const AppState& state, QStringList& addthem, const QString& name, Prompter& prompter)
{
    if (!checkNewPrimaryName(state, name, prompter, addthem))
        return false;
    // The zone name becomes a file name and a boot file entry: ".com" or "a..com" would make neither a zone.
    if (!isDomainName(name) || name == QLatin1String(".")) {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("You have entered an invalid name for a zone."));
        return false;
    }
    addthem << name;
    return true;
}

int runFastAdd(ZoneContext& context, const QStringList& addthem, const FastAddHooks& hooks)
{
    if (addthem.isEmpty()) {
        context.prompter.message(QStringLiteral("Attention!"),
                                 QStringLiteral("You must add at least one zone to continue."));
        return -1;
    }
    AppState& state = context.state;
    // The zone files and the boot file that names them are written under one hold, one revision.
    QStringList added;
    for (const QString& entry : addthem)
        added << QStringLiteral("Add primary zone %1").arg(entry.toLower());
    added.sort();
    const ServerChange change(state, added.join(QStringLiteral("; ")));
    if (!change.isHeld()) {
        context.prompter.message(QStringLiteral("Attention!"), change.errorText());
        return 0;
    }
    int created = 0;
    bool failed = false;
    for (const QString& entry : addthem) {
        if (hooks.showStep)
            hooks.showStep(QStringLiteral("Adding Server ") + QString::number(created + 1));
        const QString zone = entry.toLower();
        // The timings are taken anew for each zone, as the Setup page holds them at that moment.
        const QStringList lines = fastAddZoneLines(zone, newZoneServer(state, zone), fastAddTimings(state.setup));
        // The boot file is saved once for all the zones: saving it twice for each zone made a long list take
        // many times longer, and the file is the same in the end.
        if (createPrimaryZoneFile(context, zone, lines, false) != CreationStatus::Created) {
            failed = true;
            break;
        }
        ++created;
        if (hooks.addTreeNode)
            hooks.addTreeNode(zone);
    }
    // The zones made before a failure stay registered.
    if (created > 0) {
        const BootWriteResult boot = writeBootFile(state);
        if (!boot.ok) {
            context.prompter.message(QStringLiteral("Error"), boot.errorText, Prompter::Button::Ok,
                                     Prompter::Icon::Critical);
            return created;
        }
    }
    if (failed)
        return created;
    context.prompter.message(QStringLiteral("Information"),
                             QString::number(addthem.size()) + QStringLiteral(" zones have been added to your server."),
                             Prompter::Button::Ok, Prompter::Icon::Information);
    return created;
}
