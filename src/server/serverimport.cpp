#include "server/serverimport.h"

#include "bootfile/bootlines.h"
#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "checks/namechecks.h"
#include "platform/drivetable.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"
#include "platform/prompter.h"
#include "platform/stage.h"
#include "platform/systemfolders.h"
#include "server/bootload.h"
#include "server/bootsave.h"
#include "server/importedzones.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "zone/primaryzoneentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kExiting = QStringLiteral("Exiting.");
const QString kImportCancelled = QStringLiteral("You have cancelled the import of this server.");

QString samePathKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// One run of take control or import, step by step; each step says whether the run goes on.
class ServerImport
{
public:
    ServerImport(ServerContext& context, Stage& stage, NewServerFields& fields, ImportMode mode,
                 const WizardHooks& hooks, const ImportRequest& request)
        : m_context(context), m_state(context.state), m_prompter(context.prompter), m_stage(stage), m_fields(fields),
          m_mode(mode), m_hooks(hooks), m_request(request),
          m_typed(typesWindowsDirectory(context.state, context.platform)), m_drives(DriveTable::load(context.store))
    {
    }

    bool run();

private:
    bool checkNames();
    std::optional<QString> windowsDirectory(const std::optional<QString>& given, const QString& text);
    bool locateServer();
    bool answeredNetworked();
    void mapDrive();
    bool findDirectoryLine();
    bool chooseDestination();
    bool findSourceData();
    bool copyServer();
    bool readImportedBootFile();
    bool convertToSecondary();
    void enterCatalog();
    bool end(const QString& caption = QString(), const QString& text = QString());

    ServerContext& m_context;
    AppState& m_state;
    Prompter& m_prompter;
    Stage& m_stage;
    NewServerFields& m_fields;
    const ImportMode m_mode;
    const WizardHooks& m_hooks;
    const ImportRequest& m_request;
    const bool m_typed;
    DriveTable m_drives;

    QString m_name;
    QString m_domain;
    QString m_localLetter; // the letter this machine reaches a networked server by; empty when it is local
    QStringList m_lines;   // the source server's boot file
    qsizetype m_directoryLine = -1;
    QString m_destination;
    std::optional<QString> m_sourceData;
};

bool ServerImport::end(const QString& caption, const QString& text)
{
    m_stage.hideStage();
    if (!text.isEmpty())
        m_prompter.message(caption, text);
    return false;
}

bool ServerImport::checkNames()
{
    const QString name = m_fields.name;
    if (name.isEmpty() || hasIllegalCharacters(name)) {
        m_prompter.message(kAttention, QStringLiteral("You have not entered a machine name for the server you wish "
                                                      "to import, or you have entered bad characters."));
        return false;
    }
    if (m_fields.firstzone.isEmpty() || hasIllegalCharacters(m_fields.firstzone)) {
        m_prompter.message(kAttention, QStringLiteral("You have not entered a domain name for the server you wish "
                                                      "to import, or you have entered bad characters."));
        return false;
    }
    if (serverNameExists(m_state.catalog, name)) {
        m_prompter.message(QStringLiteral("Error."), QStringLiteral("Server Name Already Exists."));
        return false;
    }
    if (!m_fields.firstzone.endsWith(QLatin1Char('.')))
        m_fields.firstzone += QLatin1Char('.');
    m_name = name;
    m_domain = m_fields.firstzone;
    return true;
}

std::optional<QString> ServerImport::windowsDirectory(const std::optional<QString>& given, const QString& text)
{
    if (given)
        return QDir::cleanPath(QFileInfo(*given).absoluteFilePath());
    if (m_typed) {
        if (m_hooks.specifyWindowsDirectory)
            return m_hooks.specifyWindowsDirectory(text);
        for (;;) {
            const std::optional<QString> typed = m_prompter.input(QStringLiteral("Specify Your Windows Dir."), text);
            if (!typed)
                return std::nullopt;
            if (checkSpecifiedWindowsDirectory(*typed, m_prompter))
                return QDir::cleanPath(QFileInfo(*typed).absoluteFilePath());
        }
    }
    const std::optional<QString> chosen = m_prompter.browseFolder(text, QString());
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath());
}

bool ServerImport::locateServer()
{
    const QString text = m_typed ? QStringLiteral("Please enter the windows directory of the server you would like "
                                                  "to import.")
                                 : QStringLiteral("Please locate the Windows directory of the server you wish to "
                                                  "import or take control of.");
    const std::optional<QString> folder = windowsDirectory(m_request.sourceWindowsDirectory, text);
    if (!folder) {
        m_prompter.message(kExiting, QStringLiteral("You have cancelled the import/take control of this server."));
        return false;
    }
    m_fields.dirlabel = *folder;
    if (!QFileInfo(QDir(*folder).filePath(BootConfig::fileName())).isFile()) {
        m_prompter.message(kAttention, QStringLiteral("Your named.boot file is missing from this server. Failed to "
                                                      "import."));
        return false;
    }
    return true;
}

bool ServerImport::answeredNetworked()
{
    return m_prompter.message(QStringLiteral("Information"),
                              QStringLiteral("Is the server you wish to import on a networked computer?"),
                              Prompter::Button::Yes | Prompter::Button::No,
                              Prompter::Icon::Information) == Prompter::Button::Yes;
}

void ServerImport::mapDrive()
{
    m_stage.setStage(QStringLiteral("Drive Mapping"), QStringLiteral("Dialog display."));
    const FolderDrive drive = folderDrive(m_fields.dirlabel, m_drives, m_hooks.driveMapping.probe);
    // The server's own drive letter is not needed: its boot file names it already.
    if (asksIfNetworked(drive) && answeredNetworked() &&
        askDriveLetter(m_prompter, m_hooks.driveMapping, drive.shownDrive())) {
        if (const std::optional<QChar> local = localLetterOf(drive, m_context.store, m_prompter)) {
            m_localLetter = QString(*local);
            m_drives = DriveTable::load(m_context.store);
        }
    }
    // A copy lies on this machine: a mapping recorded for it would send its later loads to the mapped drive.
    const bool recorded = m_mode == ImportMode::TakeControl;
    recordMapping(m_context.store, m_prompter, m_name, recorded ? m_localLetter : QString());
}

bool ServerImport::findDirectoryLine()
{
    const QString bootFile = QDir(m_fields.dirlabel).filePath(BootConfig::fileName());
    QString error;
    const std::optional<QStringList> lines = readLatin1Lines(bootFile, ReadLimit::kBootFile, &error);
    if (!lines) {
        reportGeneralError(m_prompter, QStringLiteral("The boot file %1 could not be read: %2").arg(bootFile, error));
        return end();
    }
    m_lines = *lines;
    for (qsizetype i = m_lines.size() - 1; i >= 0 && m_directoryLine < 0; --i) {
        if (blanksForTabs(m_lines.at(i)).contains(QLatin1String("directory ")))
            m_directoryLine = i;
    }
    if (m_directoryLine < 0)
        return end(QStringLiteral("Exiting..."),
                   QStringLiteral("A data directory entry could not be found in your named.boot file."));
    return true;
}

bool ServerImport::chooseDestination()
{
    m_stage.setItemText(QStringLiteral("Location of remote."));
    const std::optional<QString> folder =
        windowsDirectory(m_request.destinationWindowsDirectory,
                         QStringLiteral("Please locate the Windows directory where you want to place this server."));
    if (!folder)
        return end(kExiting, kImportCancelled);
    if (!checkSpecifiedWindowsDirectory(*folder, m_prompter))
        return end();
    // A directory that already holds a server would lose its boot file and zone files to the copy.
    if (QFileInfo::exists(QDir(*folder).filePath(BootConfig::fileName())) &&
        m_prompter.message(QStringLiteral("Question!"),
                           QStringLiteral("A named.boot already exists in that location. Would you like to "
                                          "overwrite this server/file?"),
                           Prompter::Button::Yes | Prompter::Button::No,
                           Prompter::Icon::Question) != Prompter::Button::Yes)
        return end(kExiting, kImportCancelled);
    const QString zones = QDir(*folder).filePath(QStringLiteral("quorvane/zones"));
    if (!QDir().mkpath(zones)) {
        reportGeneralError(m_prompter, QStringLiteral("The folder %1 could not be created.").arg(zones));
        return end();
    }
    m_destination = *folder;
    return true;
}

bool ServerImport::findSourceData()
{
    QString form = singleBackslashes(textAfterFirstField(blanksForTabs(m_lines.at(m_directoryLine)))).trimmed();
    if (!m_localLetter.isEmpty() && DriveTable::hasDriveLetter(form))
        form[0] = m_localLetter.at(0);
    m_sourceData = m_drives.toLocal(form, m_fields.dirlabel);
    while (!m_sourceData || !QFileInfo(*m_sourceData).isDir()) {
        const QString shown = m_sourceData ? *m_sourceData : form;
        if (m_prompter.message(kAttention,
                               QStringLiteral("The data directory on the server you are importing: ") + shown +
                                   QStringLiteral(" could not be found. Press OK to find it, or ABORT."),
                               Prompter::Button::Ok | Prompter::Button::Abort,
                               Prompter::Icon::Warning) != Prompter::Button::Ok)
            return end();
        const std::optional<QString> chosen = m_prompter.browseFolder(
            QStringLiteral("Please locate the data directory on the server you are importing."), m_fields.dirlabel);
        if (!chosen)
            return end();
        m_sourceData = chosen->isEmpty() ? std::nullopt : std::optional<QString>(QDir::cleanPath(*chosen));
    }
    // Every file of the folder is copied into the new server: a boot file naming a system folder would copy
    // the system's files.
    if (isSystemFolder(*m_sourceData)) {
        m_prompter.message(kAttention, systemFolderRefusal(*m_sourceData));
        return end();
    }
    return true;
}

bool ServerImport::copyServer()
{
    m_stage.setStage(QStringLiteral("Copying to new server..."), QStringLiteral("This may take a while..."));
    const QString zones = QDir(m_destination).filePath(QStringLiteral("quorvane/zones"));
    if (!m_fields.secondary) {
        if (const QStringList failed = copyFilesOfFolder(*m_sourceData, zones); !failed.isEmpty()) {
            reportGeneralError(m_prompter, QStringLiteral("These files of %1 could not be copied to %2: %3")
                                               .arg(*m_sourceData, zones, failed.join(QStringLiteral(", "))));
            return end();
        }
    }
    const QString form = m_drives.toDrivePath(zones, QChar(), false).value_or(zones);
    const QStringList lines = importedBootLines(m_lines, m_directoryLine, doubledBackslashes(form));
    const QString bootFile = QDir(m_destination).filePath(BootConfig::fileName());
    if (const FileWriteResult written = replaceFile(bootFile, crlfLines(lines)); !written.ok) {
        reportGeneralError(m_prompter, QStringLiteral("The boot file ") + written.errorText);
        return end();
    }
    m_state.pendingBootFilePath = bootFile;
    m_fields.dirlabel = m_destination;
    return true;
}

bool ServerImport::readImportedBootFile()
{
    m_stage.setStage(QStringLiteral("Processing named.boot file."), QStringLiteral("named.boot"));
    BootContext boot = m_context.bootContext();
    if (readBootFile(boot, m_fields.secondary).ok())
        return true;
    call(m_hooks.hideWizard);
    return end(kAttention, QStringLiteral("Due to boot file errors, server has not been imported."));
}

bool ServerImport::convertToSecondary()
{
    m_stage.setStage(QStringLiteral("Secondary Import Processing"), QStringLiteral("All Zones"));
    std::optional<QString> master = m_request.primaryServerIp;
    for (;;) {
        if (!master)
            master =
                m_prompter.input(QStringLiteral("Primary Server IP"),
                                 QStringLiteral("Please enter the IP of the primary server."), QStringLiteral("IP"));
        if (!master)
            return end(kExiting, kImportCancelled);
        // An empty answer would leave secondary lines without a master, which the next reading drops.
        if (isIpAddress(*master))
            break;
        m_prompter.message(kAttention,
                           ipAddressRefusal(QStringLiteral("You entered an invalid server IP. Re-Enter."), *master));
        master.reset();
    }
    convertPrimariesToSecondaries(m_state.boot, *master);
    if (const BootWriteResult written = writeBootFile(m_state); !written.ok) {
        reportGeneralError(m_prompter, written.errorText);
        return end();
    }
    BootContext boot = m_context.bootContext();
    if (!readBootFile(boot, false).ok())
        return end(kAttention, QStringLiteral("Due to boot file errors, server has not been imported."));
    return true;
}

void ServerImport::enterCatalog()
{
    m_state.catalog.add({m_name + QLatin1Char('@') + m_domain, QDir(m_fields.dirlabel).filePath(m_fields.filename)});
    storeAndReloadCatalog(m_context);
    if (m_hooks.setServerBoxText)
        m_hooks.setServerBoxText(m_name);
    selectServer(m_context, m_name);
    call(m_hooks.hideWizard);
    if (const BootWriteResult written = writeBootFile(m_state); !written.ok)
        reportGeneralError(m_prompter, written.errorText);
}

bool ServerImport::run()
{
    if (!checkNames() || !locateServer())
        return false;

    m_stage.showStage(QStringLiteral("Importing Server..."));
    m_stage.setStage(QStringLiteral("Initializing Phase One"), QStringLiteral("Server Init"));
    m_state.pendingBootFilePath = QDir(m_fields.dirlabel).filePath(BootConfig::fileName());
    m_state.pendingServerId = m_name;
    m_state.zoneLists.firstzone = m_domain;

    mapDrive();
    if (!findDirectoryLine())
        return false;

    if (m_mode == ImportMode::Import) {
        m_stage.setStage(QStringLiteral("Server full import."), QStringLiteral("Complete copy to alternate server."));
        if (!chooseDestination() || !findSourceData() || !copyServer())
            return false;
    }
    if (!readImportedBootFile())
        return false;

    m_stage.setStage(QStringLiteral("Loading Data Files"), QStringLiteral("All Zones"));
    if (m_hooks.setServerBoxText)
        m_hooks.setServerBoxText(m_name);
    if (!m_fields.secondary)
        qualifyImportedZones(m_state, m_prompter, m_context.progress);
    m_stage.setStageProgress(70);

    if (m_fields.secondary && m_mode == ImportMode::Import && !convertToSecondary())
        return false;

    enterCatalog();
    m_stage.setStage(QStringLiteral("Import Complete"), QStringLiteral("Global Server"));
    m_stage.setStageProgress(100);
    m_prompter.message(kAttention, QStringLiteral("Your server has been successfully imported."));
    m_stage.hideStage();
    return true;
}

} // namespace

bool takeControlOrImport(ServerContext& context, Stage& stage, NewServerFields& fields, ImportMode mode,
                         const WizardHooks& hooks, const ImportRequest& request)
{
    ServerImport run(context, stage, fields, mode, hooks, request);
    return run.run();
}

QStringList copyFilesOfFolder(const QString& from, const QString& to)
{
    QStringList failed;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!entry.isFile())
            continue;
        const QString target = QDir(to).filePath(entry.fileName());
        if (QFileInfo::exists(target) && samePathKey(target) == samePathKey(entry.absoluteFilePath()))
            continue;
        if (!copyFileReplacing(entry.absoluteFilePath(), target).ok)
            failed << entry.fileName();
    }
    return failed;
}

QStringList importedBootLines(QStringList lines, qsizetype directoryLine, const QString& dataDirectoryForm)
{
    for (QString& line : lines) {
        if (line.contains(QLatin1String(";MAPPING")))
            line = QStringLiteral(";");
    }
    if (directoryLine >= 0 && directoryLine < lines.size())
        lines[directoryLine] = QStringLiteral("directory     ") + dataDirectoryForm;
    return lines;
}

void convertPrimariesToSecondaries(BootConfig& boot, const QString& master)
{
    const QString three = QStringLiteral("   ");
    boot.secondaryEntries.clear();
    for (const QString& text : std::as_const(boot.primaryEntries)) {
        const std::optional<PrimaryZoneEntry> entry = PrimaryZoneEntry::parse(text);
        if (entry)
            boot.secondaryEntries << entry->zone + three + master + three + entry->file;
    }
    boot.primaryEntries.clear();
}
