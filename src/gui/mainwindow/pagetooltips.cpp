#include "gui/mainwindow/pagetooltips.h"

#include <QPushButton>
#include <utility>

namespace {

// Hints by a button's object name.
const std::pair<const char*, const char*> kHints[] = {
    {"addserver", "Set up a new server, or take over or import one from another computer (New Server Wizard)."},
    {"stopserver", "Stop the loaded server's name server."},
    {"startserver", "Start the loaded server's name server."},
    {"reloaddb", "Have the name server read its zone files again."},
    {"restartserver", "Stop the name server and start it again."},
    {"viewdb", "Show the name server's database as it holds it now."},
    {"viewstats", "Show the name server's statistics."},
    {"findprim", "Find the next primary zone whose name holds the text beside it."},
    {"sortprim", "Rebuild the primary zone tree in name order."},
    {"findsec", "Find the next secondary zone whose name holds the text beside it."},
    {"sortsec", "Rebuild the secondary zone tree in name order."},
    {"newprimary", "Create a new primary zone with the Primary Zone Wizard (Ctrl+N)."},
    {"fastadd", "Create several primary zones at once with the default records of the Setup page."},
    {"deleteprimary", "Delete the selected primary zone and its zone file."},
    {"reversemapping", "Write the reverse (IN-ADDR.ARPA) zones for every host address of the primary zones."},
    {"newsecondary", "Serve a zone as secondary, copied from its primary server."},
    {"delsecondary", "Stop serving the selected secondary zone."},
    {"updatechanges", "Restart the name server so that it serves the files as they are now."},
    {"viewzonefile", "Show the selected zone's file as it is written on disk."},
    {"getcache", "Download the current root hints and install them as the server's cache file."},
    {"addxfrnet", "Add a network that may transfer zones from this server."},
    {"delxfrnet", "Remove the selected network from the transfer list."},
    {"addbogus", "Add a name server whose answers are to be ignored."},
    {"delbogus", "Remove the selected name server from the ignored list."},
    {"addforwarder", "Add a server that queries are forwarded to."},
    {"delforwarder", "Remove the selected forwarder."},
    {"updateoptions", "Write these options into the boot file (Ctrl+S)."},
    {"addsecreverse", "Serve the reverse zones of a network block as secondary."},
    {"delsecreverse", "Stop serving the selected secondary reverse block."},
    {"fingerfind", "Ask the finger service of the host for the user."},
    {"whoisfind", "Ask the WHOIS service about the name."},
    {"lookupbutton", "Ask the name server for the records of the domain."},
    {"pingbutton", "Send echo requests to the host."},
    {"pingstop", "Stop sending echo requests."},
    {"tracebutton", "Trace the route to the host."},
    {"tracestop", "Stop the trace."},
    {"updatedefaults", "Keep these defaults for this and later runs (Ctrl+S)."},
    {"serversclear", "Empty the name server fields of the template."},
    {"opensample", "Make a small server with three zones in your own data folder and load it."},
};

// Hints by the end of a button's object name, for the buttons of the registration templates.
const std::pair<const char*, const char*> kHintsBySuffix[] = {
    {"copytoall", "Copy these contact fields into every other contact of the template."},
    {"showform", "Show the template as it will be sent."},
    {"mail", "Send the template to the registry by e-mail."},
    {"print", "Print the template."},
    {"savedefault", "Keep these fields as the defaults of new templates."},
    {"clearall", "Empty every field of the template."},
    {"clear", "Empty the fields of this contact."},
};

QString hintFor(const QPushButton* button)
{
    const QString name = button->objectName();
    for (const auto& [key, hint] : kHints) {
        if (name == QLatin1String(key))
            return QString::fromLatin1(hint);
    }
    if (name.contains(QLatin1String("copyto")) || name.contains(QLatin1String("copyfrom"))) {
        for (const auto& [suffix, hint] : kHintsBySuffix) {
            if (name.endsWith(QLatin1String(suffix)))
                return QString::fromLatin1(hint);
        }
        // "Copy to Admin" and the like say what they copy where; the hint says it with the fields.
        return button->text() + QStringLiteral(": the contact fields are copied between the two contacts.");
    }
    for (const auto& [suffix, hint] : kHintsBySuffix) {
        if (name.endsWith(QLatin1String(suffix)))
            return QString::fromLatin1(hint);
    }
    return QString();
}

} // namespace

void addPageTooltips(QWidget* pages)
{
    for (QPushButton* button : pages->findChildren<QPushButton*>()) {
        if (button->toolTip().isEmpty())
            button->setToolTip(hintFor(button));
    }
}
