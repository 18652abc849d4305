#include "server/serverdeletion.h"

#include "bootfile/bootlines.h"
#include "platform/drivetable.h"
#include "platform/latin1lines.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "platform/systemfolders.h"
#include "server/bootload.h"
#include "server/datadirectory.h"
#include "server/serverchange.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "session/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kAttention = QStringLiteral("Attention!");

// One path, however it is spelt, so that two servers' folders can be compared.
QString samePathKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

struct ServerFiles
{
    QString bootFile; // local path
    std::optional<QString> dataDirectory;
    bool bootFileExists = false;
};

ServerFiles filesOf(const ServerContext& context, const DriveTable& drives, const QString& bootFilePath,
                    const QString& identifier)
{
    ServerFiles files;
    files.bootFile = localBootFilePath(bootFilePath, drives).value_or(QString());
    const QFileInfo info(files.bootFile);
    files.bootFileExists = !files.bootFile.isEmpty() && info.isFile();
    if (!files.bootFileExists)
        return files;
    const QStringList lines = readLatin1Lines(files.bootFile, ReadLimit::kBootFile).value_or(QStringList());
    const QString displayName = displayNameOf(identifier);
    const QString letter =
        displayName.isEmpty() ? QString() : context.store.text(QStringLiteral("MAPPING"), displayName);
    files.dataDirectory = dataDirectoryOfBootLines(lines, info.absolutePath(), letter, drives);
    return files;
}

std::optional<QString> browseForExistingFolder(Prompter& prompter, const QString& caption, const QString& start)
{
    for (;;) {
        const std::optional<QString> chosen = prompter.browseFolder(caption, start);
        if (!chosen)
            return std::nullopt;
        if (!chosen->isEmpty() && QFileInfo(*chosen).isDir())
            return QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath());
    }
}

// The servers of the catalog, other than the one at `row`, whose boot file or data directory is the given one.
struct Sharers
{
    QString bootFile;
    QString dataDirectory;
    QStringList otherBootFiles; // every other server's boot file, which may lie in this data directory
};

Sharers sharersOf(const ServerContext& context, const DriveTable& drives, int row, const QString& bootFile,
                  const std::optional<QString>& dataDirectory)
{
    Sharers sharers;
    const QString bootKey = samePathKey(bootFile);
    const QString dataKey = dataDirectory ? samePathKey(*dataDirectory) : QString();
    const QList<ManagedServer>& rows = context.state.catalog.rows();
    for (int other = 0; other < rows.size(); ++other) {
        const ManagedServer& server = rows.at(other);
        if (other == row || server.identifier.isEmpty())
            continue;
        const ServerFiles files = filesOf(context, drives, server.bootFilePath, server.identifier);
        if (!files.bootFile.isEmpty())
            sharers.otherBootFiles << files.bootFile;
        if (sharers.bootFile.isEmpty() && !bootFile.isEmpty() && !files.bootFile.isEmpty() &&
            samePathKey(files.bootFile) == bootKey)
            sharers.bootFile = server.displayName();
        if (sharers.dataDirectory.isEmpty() && dataDirectory && files.dataDirectory &&
            samePathKey(*files.dataDirectory) == dataKey)
            sharers.dataDirectory = server.displayName();
    }
    return sharers;
}

int rowOfIdentifier(const ServerCatalog& catalog, const QString& identifier)
{
    const QList<ManagedServer>& rows = catalog.rows();
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row).identifier == identifier)
            return row;
    }
    return -1;
}

void removeFromCatalog(ServerContext& context, int row)
{
    AppState& state = context.state;
    state.catalog.markDeleted(row);
    QString error;
    if (!saveSettings(state, context.store, &error))
        reportGeneralError(context.prompter, error);
    context.progress.setProgress(80);
    // Rebuilding the catalog reads the whole store again, which would also set the running serial back to the
    // date's first value; serials written this run must stay below the next one.
    const QString runningSerial = state.setup.runningSerial;
    state.catalog.clear();
    loadSettings(state, context.store, context.prompter, context.platform);
    state.setup.runningSerial = runningSerial;
    context.progress.setProgress(90);
}

// What deleting the server will remove, named so that the user can say no: its boot file and its data files.
bool confirmDeletion(Prompter& prompter, const QString& identifier, const QStringList& files)
{
    constexpr qsizetype kNamed = 12;
    QString text = QStringLiteral("Delete the server %1?").arg(displayNameOf(identifier));
    if (files.isEmpty())
        text += QStringLiteral(" No file is deleted; the server leaves the list of servers.");
    else
        text += QStringLiteral(" These %1 files will be deleted and cannot be restored:").arg(files.size());
    for (qsizetype i = 0; i < files.size() && i < kNamed; ++i)
        text += QLatin1Char('\n') + QDir::toNativeSeparators(files.at(i));
    if (files.size() > kNamed)
        text += QStringLiteral("\nand %1 more.").arg(files.size() - kNamed);
    return prompter.message(QStringLiteral("Question!"), text, Prompter::Button::Yes | Prompter::Button::No,
                            Prompter::Icon::Warning) == Prompter::Button::Yes;
}

} // namespace

QStringList filesOfFolderToDelete(const QString& folder, const QStringList& keep)
{
    QStringList keepKeys;
    for (const QString& path : keep)
        keepKeys << samePathKey(path);
    QStringList files;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        // isDir() and isFile() look through a link: a link to a folder stays like a folder, and removing a link
        // removes the link alone, whatever it points to.
        if (entry.isDir())
            continue;
        if (!entry.isSymLink() && !entry.isFile())
            continue;
        if (!entry.isSymLink() && keepKeys.contains(samePathKey(entry.absoluteFilePath())))
            continue;
        files << entry.absoluteFilePath();
    }
    return files;
}

QStringList deleteFilesOfFolder(const QString& folder, const QStringList& keep)
{
    QStringList failed;
    for (const QString& file : filesOfFolderToDelete(folder, keep)) {
        if (!QFile::remove(file))
            failed << QFileInfo(file).fileName();
    }
    return failed;
}

bool deleteServer(ServerContext& context, const QString& bootFilePath, const QString& identifier, bool loaded,
                  bool confirm)
{
    Prompter& prompter = context.prompter;
    Progress& progress = context.progress;
    // A BIND 9 server taken over as it is only leaves the catalog: its configuration and zones are the
    // administrator's.
    if (ManagedServer{identifier, bootFilePath}.isNamedConf()) {
        const QString question = QStringLiteral("Remove the server %1 from Quorvane's list? Its configuration %2 and "
                                                "its zone files stay as they are.")
                                     .arg(displayNameOf(identifier), QDir::toNativeSeparators(bootFilePath));
        if (confirm &&
            prompter.message(QStringLiteral("Question!"), question, Prompter::Button::Yes | Prompter::Button::No,
                             Prompter::Icon::Question) != Prompter::Button::Yes)
            return false;
        const int row = rowOfIdentifier(context.state.catalog, identifier);
        if (row >= 0)
            removeFromCatalog(context, row);
        if (loaded)
            unloadServer(context);
        if (context.hooks.showStatus)
            context.hooks.showStatus(
                QStringLiteral("Server %1 removed from the list; no file was deleted.").arg(displayNameOf(identifier)));
        return true;
    }
    const DriveTable drives = DriveTable::load(context.store);
    ServerFiles files = filesOf(context, drives, bootFilePath, identifier);
    // A server another Quorvane is changing keeps its files until that one has finished.
    const QString bootFolder = files.bootFile.isEmpty() ? QString() : QFileInfo(files.bootFile).absolutePath();
    const ServerChange change(files.bootFileExists ? bootFolder : QString(), displayNameOf(identifier));
    if (!change.isHeld()) {
        prompter.message(kAttention, change.errorText());
        return false;
    }
    progress.showProgress();
    progress.setProgress(30);
    progress.setProgress(35);

    const QString start = files.bootFile.isEmpty() ? QString() : QFileInfo(files.bootFile).absolutePath();
    bool cancelled = false;
    if (files.bootFileExists) {
        progress.setProgress(55);
        if (!files.dataDirectory) {
            prompter.message(kAttention, QStringLiteral("A data directory entry could not be found in your named.boot "
                                                        "file. Please browse for it now."));
            files.dataDirectory = browseForExistingFolder(
                prompter, QStringLiteral("Press CANCEL to abort searching for the named.boot."), start);
            cancelled = !files.dataDirectory;
        }
    } else {
        prompter.message(kAttention, QStringLiteral("Your named.boot has already been removed. In order for Quorvane "
                                                    "to delete your data directory, you must locate it."));
        files.dataDirectory = browseForExistingFolder(
            prompter,
            QStringLiteral("Your data directory must be updated. Please locate the data directory of this server on "
                           "your machine."),
            start);
        cancelled = !files.dataDirectory;
    }

    const int row = rowOfIdentifier(context.state.catalog, identifier);
    qsizetype removed = 0;
    if (!cancelled) {
        const Sharers sharers = sharersOf(context, drives, row, files.bootFile, files.dataDirectory);
        const bool deletesBootFile = files.bootFileExists && sharers.bootFile.isEmpty();
        const bool deletesData = files.dataDirectory && QFileInfo(*files.dataDirectory).isDir() &&
                                 sharers.dataDirectory.isEmpty() && isAllowedDataDirectory(*files.dataDirectory);
        // The lock file stays: it is held until this deletion ends.
        const QStringList kept = sharers.otherBootFiles + QStringList{ServerLock::lockFilePath(bootFolder)};
        QStringList doomed;
        if (deletesBootFile)
            doomed << files.bootFile;
        if (deletesData)
            doomed << filesOfFolderToDelete(*files.dataDirectory, kept);
        if (confirm && !confirmDeletion(prompter, identifier, doomed)) {
            progress.hideProgress();
            return false;
        }
        removed = doomed.size();
        if (files.bootFileExists) {
            if (!sharers.bootFile.isEmpty())
                prompter.message(kAttention, QStringLiteral("The boot file ") + files.bootFile +
                                                 QStringLiteral(" is also used by the server ") + sharers.bootFile +
                                                 QStringLiteral(". It has not been deleted."));
            else if (!QFile::remove(files.bootFile)) {
                --removed;
                reportGeneralError(prompter,
                                   QStringLiteral("The boot file %1 could not be deleted.").arg(files.bootFile));
            }
        }
        if (files.dataDirectory && QFileInfo(*files.dataDirectory).isDir()) {
            progress.setProgress(65);
            if (!sharers.dataDirectory.isEmpty()) {
                prompter.message(kAttention, QStringLiteral("The data directory ") + *files.dataDirectory +
                                                 QStringLiteral(" is also used by the server ") +
                                                 sharers.dataDirectory +
                                                 QStringLiteral(". Its files have not been deleted."));
            } else if (!isAllowedDataDirectory(*files.dataDirectory)) {
                // A boot file naming /etc must not make the deletion of a server empty /etc.
                prompter.message(kAttention, systemFolderRefusal(*files.dataDirectory) +
                                                 QStringLiteral(" Its files have not been deleted."));
            } else if (const QStringList failed = deleteFilesOfFolder(*files.dataDirectory, kept); !failed.isEmpty()) {
                removed -= failed.size();
                reportGeneralError(prompter, QStringLiteral("These files of %1 could not be deleted: %2")
                                                 .arg(*files.dataDirectory, failed.join(QStringLiteral(", "))));
            }
        }
    }

    if (row >= 0)
        removeFromCatalog(context, row);
    progress.setProgress(100);
    progress.hideProgress();
    if (loaded)
        unloadServer(context);
    if (context.hooks.showStatus)
        context.hooks.showStatus(QStringLiteral("Server %1 deleted: %2 files removed.")
                                     .arg(displayNameOf(identifier))
                                     .arg(std::max<qsizetype>(removed, 0)));
    return true;
}

bool deleteSelectedServer(ServerContext& context, const std::optional<QString>& selectedName, const QString& boxText,
                          bool confirm)
{
    if (!selectedName || selectedName->isEmpty()) {
        context.prompter.message(kAttention, QStringLiteral("You must first select a server."));
        return false;
    }
    const int row = findServerRow(context.state.catalog, *selectedName);
    if (row < 0) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("Server record not found."));
        return false;
    }
    const ManagedServer server = context.state.catalog.rows().at(row);
    if (!deleteServer(context, server.bootFilePath, server.identifier, *selectedName == boxText, confirm))
        return false;
    context.prompter.message(kAttention, QStringLiteral("Your server has been successfully deleted."));
    return true;
}

void unloadServer(ServerContext& context)
{
    AppState& state = context.state;
    state.boot.clear();
    state.zoneLists.datapath.clear();
    for (QStringList* list : {&state.zoneLists.primdns, &state.zoneLists.primfiles, &state.zoneLists.primviews,
                              &state.zoneLists.primdnssort, &state.zoneLists.primfilesort, &state.zoneLists.secdns,
                              &state.zoneLists.secfiles, &state.zoneLists.secviews, &state.zoneLists.secdnssort,
                              &state.zoneLists.secfilesort})
        list->clear();
    state.conf = ConfServer();
    state.selection = ZoneSelection();
    state.pendingServerId.clear();
    state.pendingBootFilePath.clear();
    state.servername = AppState::notLoaded();
    state.bootFileName.clear();
    state.serverLoaded = false;
    if (context.hooks.clearZoneTrees)
        context.hooks.clearZoneTrees();
}
