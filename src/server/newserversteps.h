#pragma once

#include "bootfile/drivemapping.h"
#include "server/newserverfields.h"
#include "session/servercontext.h"

#include <QString>
#include <functional>
#include <optional>

class ServerCatalog;
class Stage;

// Where the wizard's operations reach its window and its dialogs. Each is optional: without them the command
// line and the tests answer through the prompter.
struct WizardHooks
{
    std::function<void()> hideWizard;
    std::function<void(const QString&)> setServerBoxText;
    DriveMapping driveMapping;
    // The "Specify Your Windows Dir." dialog with its text; the directory, which exists, or none when cancelled.
    std::function<std::optional<QString>(const QString& text)> specifyWindowsDirectory;
};

// The fields at each showing of the wizard: the running serial and the SOA defaults, the administrator's
// address and the operating system of the main window.
NewServerFields initialWizardFields(const AppState& state);

// On an NT 3.x machine the Windows directory is typed as a path instead of browsed for.
bool typesWindowsDirectory(const AppState& state, const Platform& platform);

// The computer name as the server's display name and catalog key: without its trailing point.
QString computerNameOf(const QString& typed);

// True when a server of the catalog already has that computer name.
bool serverNameExists(const ServerCatalog& catalog, const QString& name);

// Page 1 "Browse": the computer browser, a host name prompt here.
void browseForComputer(NewServerFields& fields, Prompter& prompter);

// Page 1 "Next": the checks in their order; on success the name loses its trailing point and the domain becomes
// the server's full name (the computer name in front unless the domain already begins with it, and a final
// point). False, after the message, to stay on the page.
bool checkServerPage(NewServerFields& fields, const ServerCatalog& catalog, Prompter& prompter);

// Page 2 "Browse" (and the typed path of NT 3.x): an existing folder becomes the Windows directory and gets its
// "quorvane/zones" folders at once, kept even when the wizard is cancelled; any other folder "Not Selected".
void chooseWindowsDirectory(NewServerFields& fields, const QString& folder, Prompter& prompter);

// The check of the "Specify Your Windows Dir." dialog's "Import!": the directory must exist.
bool checkSpecifiedWindowsDirectory(const QString& folder, Prompter& prompter);

// Page 2 "Next". `typed` for NT 3.x machines; `confirm` asks the user to confirm the directory chosen in the
// browser (a directory named on the command line needs no confirmation). An existing boot file is replaced
// only when the user says so.
bool checkDirectoryPage(NewServerFields& fields, bool typed, bool confirm, Prompter& prompter);

// Page 3's checks; on success the address has "@" read as "." and a final point.
bool checkSoaPage(NewServerFields& fields, Prompter& prompter);

// Page 3's values become the program's defaults, so that the new server's first zones get them: the address as
// typed, the four timings, and the serial when it is above the running serial (never lowered).
void keepServerDefaults(AppState& state, const NewServerFields& page, const QString& typedAddress);

// Page 3 "Finish": the checks, then the server is created under the stage window: its catalog row, its boot
// file, page 3's values kept as defaults, the settings stored and read again, the server loaded and its root
// cache written. False when a check failed or the boot file could not be made (the wizard stays on page 3 and
// the catalog keeps no row).
bool finishNewServer(ServerContext& context, Stage& stage, NewServerFields& fields, const WizardHooks& hooks);

// Closing the wizard forgets what was typed; the operating system choice stays.
void clearWizardFields(NewServerFields& fields);

// Stores the settings with the catalog and reads them back, which rebuilds the catalog and its display list;
// the running serial of this run is kept.
void storeAndReloadCatalog(ServerContext& context);
