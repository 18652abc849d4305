#include "server/newserversteps.h"

#include "bootfile/bootlines.h"
#include "bootfile/rootcache.h"
#include "checks/namechecks.h"
#include "platform/filereplacement.h"
#include "platform/osdetect.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/stage.h"
#include "server/bootcreator.h"
#include "server/bootsave.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "session/servercatalog.h"
#include "session/settings.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kError = QStringLiteral("Error.");

bool blankOrIllegal(const QString& text)
{
    return text.isEmpty() || text == QLatin1String(" ") || hasIllegalCharacters(text);
}

// Reports the message and says the check failed, so that a check sequence reads as a list of early returns.
bool refuse(Prompter& prompter, const QString& caption, const QString& text)
{
    prompter.message(caption, text);
    return false;
}

bool confirmed(Prompter& prompter, const QString& text)
{
    return prompter.message(QStringLiteral("Question!"), text, Prompter::Button::Yes | Prompter::Button::No,
                            Prompter::Icon::Question) == Prompter::Button::Yes;
}

// The domain begins with the computer name when its first label is that name; "ns1example.com" does not begin
// with "ns1".
bool beginsWithComputerName(const QString& domain, const QString& name)
{
    return domain.startsWith(name + QLatin1Char('.'), Qt::CaseInsensitive);
}

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// The running serial only ever rises: a lower one would make secondary servers ignore every later change.
bool raisesSerial(const QString& typed, const QString& running)
{
    bool typedOk = false;
    bool runningOk = false;
    const qulonglong value = typed.toULongLong(&typedOk);
    const qulonglong current = running.toULongLong(&runningOk);
    return typedOk && (!runningOk || value > current);
}

} // namespace

NewServerFields initialWizardFields(const AppState& state)
{
    NewServerFields fields;
    if (operatingSystemChoices().contains(state.defaultos))
        fields.defaultos = state.defaultos;
    fields.serial = state.setup.runningSerial;
    fields.refresh = QStringLiteral("1080");
    fields.retry = QStringLiteral("3600");
    fields.expire = QStringLiteral("604800");
    fields.minimum = QStringLiteral("86400");
    fields.emailaddr = state.emailaddr;
    return fields;
}

bool typesWindowsDirectory(const AppState& state, const Platform& platform)
{
    return effectiveWindowsVersion(state.defaultos, platform.versionText()) < 4 && isNtFamily(platform.platformName());
}

QString computerNameOf(const QString& typed)
{
    return typed.endsWith(QLatin1Char('.')) ? typed.chopped(1) : typed;
}

bool serverNameExists(const ServerCatalog& catalog, const QString& name)
{
    return catalog.displayNames().contains(computerNameOf(name));
}

void browseForComputer(NewServerFields& fields, Prompter& prompter)
{
    if (const std::optional<QString> chosen =
            prompter.input(QStringLiteral("Choose a Server"), QStringLiteral("Computer name:"), fields.name))
        fields.name = chosen->trimmed();
}

bool checkServerPage(NewServerFields& fields, const ServerCatalog& catalog, Prompter& prompter)
{
    const QString name = computerNameOf(fields.name);
    if (blankOrIllegal(fields.name) || name.isEmpty())
        return refuse(prompter, kError, QStringLiteral("Name of Server Input Error. Re-Enter."));
    if (serverNameExists(catalog, name))
        return refuse(prompter, kError, QStringLiteral("Server Name Already Exists."));
    if (blankOrIllegal(fields.filename))
        return refuse(prompter, kError, QStringLiteral("File Name of Server Input Error. Re-Enter."));

    QString domain = fields.firstzone;
    if (!domain.endsWith(QLatin1Char('.')))
        domain += QLatin1Char('.');
    if (blankOrIllegal(fields.firstzone) || domain == QLatin1String("."))
        return refuse(prompter, kError, QStringLiteral("First Zone Input Error. Re-Enter."));
    if (!beginsWithComputerName(domain, name))
        domain = name + QLatin1Char('.') + domain;
    fields.name = name;
    fields.firstzone = domain;
    return true;
}

void chooseWindowsDirectory(NewServerFields& fields, const QString& folder, Prompter& prompter)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        fields.dirlabel = NewServerFields::notSelected();
        return;
    }
    fields.dirlabel = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString zones = QDir(fields.dirlabel).filePath(QStringLiteral("quorvane/zones"));
    if (!QDir().mkpath(zones)) {
        reportGeneralError(prompter, QStringLiteral("The folder %1 could not be created.").arg(zones));
        fields.dirlabel = NewServerFields::notSelected();
        return;
    }
    fields.dfiles = zones;
}

bool checkSpecifiedWindowsDirectory(const QString& folder, Prompter& prompter)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return true;
    return refuse(prompter, QStringLiteral("Re-Enter."), QStringLiteral("That Windows directory could not be found."));
}

bool checkDirectoryPage(NewServerFields& fields, bool typed, bool confirm, Prompter& prompter)
{
    if (typed) {
        if (fields.windowsdir.isEmpty() || !QFileInfo(fields.windowsdir).isDir())
            return refuse(prompter, QStringLiteral("Attention!"), QStringLiteral("This directory does not exist."));
        chooseWindowsDirectory(fields, fields.windowsdir, prompter);
    }
    if (fields.dfiles.isEmpty() || fields.dirlabel.isEmpty() || fields.dirlabel == NewServerFields::notSelected())
        return refuse(prompter, QStringLiteral("Re-Enter."), QStringLiteral("You must select a Windows Directory."));
    if (confirm && !confirmed(prompter, QStringLiteral("Please press YES to confirm that ") + fields.dirlabel +
                                            QStringLiteral(" is your Windows directory. Otherwise, press NO to "
                                                           "re-enter.")))
        return false;
    if (QFileInfo::exists(QDir(fields.dirlabel).filePath(fields.filename)) &&
        !confirmed(prompter, QStringLiteral("A named.boot already exists in that location. Would you like to "
                                            "overwrite this server/file?")))
        return false;
    return true;
}

bool checkSoaPage(NewServerFields& fields, Prompter& prompter)
{
    if (fields.emailaddr.isEmpty() || fields.emailaddr == QLatin1String(" "))
        return refuse(prompter, kError, QStringLiteral("E-Mail Input Error"));
    const std::pair<const QString*, QString> values[] = {
        {&fields.serial, QStringLiteral("Serial Input Error. Re-Enter.")},
        {&fields.refresh, QStringLiteral("Refresh Input Error. Re-Enter.")},
        {&fields.retry, QStringLiteral("Retry Input Error. Re-Enter.")},
        {&fields.expire, QStringLiteral("Expire Input Error. Re-Enter.")},
        {&fields.minimum, QStringLiteral("Time To Live Input Error. Re-Enter.")},
    };
    for (const auto& [value, message] : values) {
        if (blankOrIllegal(*value))
            return refuse(prompter, kError, message);
    }
    QString mailbox = fields.emailaddr;
    mailbox.replace(QLatin1Char('@'), QLatin1Char('.'));
    if (blankOrIllegal(mailbox))
        return refuse(prompter, kError, QStringLiteral("E-MAIL Input Error. Re-Enter."));
    if (!mailbox.endsWith(QLatin1Char('.')))
        mailbox += QLatin1Char('.');
    fields.emailaddr = mailbox;
    return true;
}

void storeAndReloadCatalog(ServerContext& context)
{
    AppState& state = context.state;
    QString error;
    if (!saveSettings(state, context.store, &error))
        reportGeneralError(context.prompter, error);
    // Reading the whole store again would also set the running serial back to the date's first value; serials
    // written this run must stay below the next one.
    const QString runningSerial = state.setup.runningSerial;
    state.catalog.clear();
    loadSettings(state, context.store, context.prompter, context.platform);
    state.setup.runningSerial = runningSerial;
}

void keepServerDefaults(AppState& state, const NewServerFields& page, const QString& typedAddress)
{
    state.emailaddr = typedAddress;
    state.setup.defaultrefresh = page.refresh;
    state.setup.defaultretry = page.retry;
    state.setup.defaultexpire = page.expire;
    state.setup.defaultminimum = page.minimum;
    if (raisesSerial(page.serial, state.setup.runningSerial))
        state.setup.runningSerial = page.serial;
}

bool finishNewServer(ServerContext& context, Stage& stage, NewServerFields& fields, const WizardHooks& hooks)
{
    const QString typedAddress = fields.emailaddr.trimmed();
    if (!checkSoaPage(fields, context.prompter))
        return false;
    AppState& state = context.state;

    stage.showStage(QStringLiteral("Creating Server..."));
    stage.setStage(QStringLiteral("Initializing Phase One"), QStringLiteral("Server Init"));
    stage.setStageProgress(10);
    stage.setStage(QStringLiteral("Initializing Phase Two"), QStringLiteral("Data Processing"));
    stage.setStageProgress(25);

    const ManagedServer server{fields.name + QLatin1Char('@') + fields.firstzone,
                               QDir(fields.dirlabel).filePath(fields.filename)};
    state.catalog.add(server);
    state.pendingServerId = server.identifier;
    state.zoneLists.firstzone = fields.firstzone;

    const NewBootFile input{fields.dirlabel, fields.dfiles, fields.defaultos, fields.name, {}};
    BootContext boot = context.bootContext();
    if (!createBootFile(boot, input, hooks.driveMapping).ok()) {
        // A server whose boot file could not be made does not enter the catalog; the wizard stays on its page.
        state.catalog.markDeleted(int(state.catalog.rows().size()) - 1);
        stage.hideStage();
        return false;
    }

    stage.setStage(QStringLiteral("Initializing Phase Three"), QStringLiteral("Bootfile Creator"));
    stage.setStageProgress(40);
    fields.name.clear();
    fields.dfiles.clear();
    call(hooks.hideWizard);

    stage.setStage(QStringLiteral("Initializing Phase Four"), QStringLiteral("Zone Processing"));
    stage.setStageProgress(55);
    keepServerDefaults(state, fields, typedAddress);
    storeAndReloadCatalog(context);
    stage.setStageProgress(65);

    stage.setStage(QStringLiteral("Initializing Phase Five"), QStringLiteral("Displaying New Server"));
    call(context.hooks.buildSecondaryTree);
    stage.setStageProgress(75);
    stage.setStageProgress(85);
    loadServer(context);
    stage.setStageProgress(90);

    // The reading made sure "cache.dns" exists; without root hints in hand an existing file is better than
    // an empty one.
    // A reading that found no data directory leaves nowhere to put it.
    if (!state.rootCacheText.isEmpty() && !state.zoneLists.datapath.isEmpty()) {
        const QString cache = QDir(state.zoneLists.datapath).filePath(QStringLiteral("cache.dns"));
        if (const FileWriteResult written = replaceFile(cache, rootCacheBytes(state.rootCacheText)); !written.ok)
            reportGeneralError(context.prompter, QStringLiteral("The root cache file ") + written.errorText);
    }
    state.boot.cacheFile = QStringLiteral("cache.dns");
    if (const BootWriteResult written = writeBootFile(state); !written.ok)
        reportGeneralError(context.prompter, written.errorText);
    stage.setStageProgress(100);
    stage.hideStage();
    return true;
}

void clearWizardFields(NewServerFields& fields)
{
    fields.emailaddr.clear();
    fields.serial.clear();
    fields.refresh.clear();
    fields.retry.clear();
    fields.expire.clear();
    fields.minimum.clear();
    fields.dirlabel.clear();
    fields.dfiles.clear();
    fields.name.clear();
    fields.firstzone.clear();
}
