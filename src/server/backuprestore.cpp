#include "server/backuprestore.h"

#include "bootfile/bootlines.h"
#include "bootfile/filenameindex.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/changedfilecopy.h"
#include "server/serverfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// How long the copying goes on between two turns of the window's event loop.
constexpr std::chrono::milliseconds kStep{25};
// A copy of at least this many files moves the progress bar as it goes; a shorter one only lets the window go
// on between its steps.
constexpr qsizetype kFilesShownGoing = 100;

// Brings the copies up to date in steps, letting the window go on between them, then forces the copies onto
// the disk at once.
void copyChanged(QList<ChangedFileCopy::File> files, ChangedFileCopy::Times times, Progress& progress, int from, int to,
                 QStringList* failures)
{
    ChangedFileCopy copy(std::move(files), times);
    const bool showGoing = copy.count() >= kFilesShownGoing;
    int shown = from;
    while (copy.step(kStep)) {
        const int position = from + int((to - from) * copy.done() / copy.count());
        if (showGoing && position != shown) {
            shown = position;
            progress.setProgress(position);
        } else {
            progress.keepAlive();
        }
    }
    while (!copy.flushed(kStep))
        progress.keepAlive();
    *failures << copy.failures();
}

// The files of the folder whose names match one of the patterns (any case), files only, each to the same name
// in the target folder.
// A copy that is a link leading out of the data directory is not followed: it is named among the failures.
QList<ChangedFileCopy::File> matching(const QString& folder, const QStringList& patterns, const QString& targetFolder,
                                      QStringList* failures)
{
    QList<ChangedFileCopy::File> files;
    const FolderConfinement inside = serverDataFolders(targetFolder);
    const QFileInfoList found =
        QDir(folder).entryInfoList(patterns, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& file : found) {
        const std::optional<QString> source = inside.resolve(file.filePath());
        if (!source) {
            *failures << file.fileName() + QStringLiteral(": ") + outsideFolderText(file.filePath(), targetFolder) +
                             QStringLiteral(", so it was not copied");
            continue;
        }
        files.append({*source, QDir(targetFolder).filePath(file.fileName()), file.fileName(), FinalLinks::Refuse});
    }
    return files;
}

// The data files as the folder holds them, each once, by their name and where they lie: a boot file written where
// names match without regard to case may name a file in another case than the disk has it. A file not there yet (a
// secondary zone's backup before its first transfer) has nothing to copy. A link is followed to where it leads, and
// one that leads out of the data directory is named among the failures instead.
QList<std::pair<QString, QString>> filesOnDisk(const QString& dataDirectory, const QStringList& dataFiles,
                                               QStringList* failures)
{
    const FileNameIndex index(dataDirectory);
    const FolderConfinement inside = serverDataFolders(dataDirectory);
    QList<std::pair<QString, QString>> files;
    QSet<QString> seen;
    for (const QString& name : dataFiles) {
        const std::optional<QString> onDisk = index.find(name);
        if (!onDisk || seen.contains(*onDisk))
            continue;
        seen.insert(*onDisk);
        const QString path = QDir(dataDirectory).filePath(*onDisk);
        const std::optional<QString> source = index.isLink(*onDisk) ? inside.resolve(path) : path;
        if (!source) {
            *failures << *onDisk + QStringLiteral(": ") + outsideFolderText(path, dataDirectory) +
                             QStringLiteral(", so it was not copied");
            continue;
        }
        files.append({*onDisk, *source});
    }
    return files;
}

QString bootFileName(const QString& bootFilePath)
{
    return bootFilePath.mid(windowsDirectory(bootFilePath).size());
}

void reportFailures(const QString& operation, const QStringList& failures, Prompter& prompter)
{
    prompter.message(QStringLiteral("Error."), operation +
                                                   QStringLiteral(" failed. These files could not be copied:\n") +
                                                   failures.join(QLatin1Char('\n')));
}

} // namespace

bool backupServer(const QString& dataDirectory, const QStringList& dataFiles, const QString& bootFilePath,
                  bool autoBackup, Progress& progress, Prompter& prompter)
{
    progress.showProgress();
    progress.setProgressCaption(QStringLiteral("Backing up data files..."));
    progress.setProgress(30);
    QStringList failures;
    const QString folder = backupFolder(dataDirectory);
    bool folderReady = false;
    // Without its data directory a relative backup folder would land wherever the program happens to run.
    if (dataDirectory.isEmpty() || !QFileInfo(dataDirectory).isDir())
        failures << QDir::toNativeSeparators(dataDirectory) + QStringLiteral(": the data directory does not exist");
    else if (!QDir().mkpath(folder))
        failures << QDir::toNativeSeparators(folder) + QStringLiteral(": the folder could not be created");
    else
        folderReady = true;
    if (folderReady) {
        QList<ChangedFileCopy::File> files;
        for (const auto& [name, source] : filesOnDisk(dataDirectory, dataFiles, &failures))
            files.append({source, QDir(folder).filePath(name), name, FinalLinks::Refuse});
        const QString bootCopy = QDir(folder).filePath(bootFileName(bootFilePath));
        files.append({bootFilePath, bootCopy, QDir::toNativeSeparators(bootFilePath)});
        copyChanged(files, ChangedFileCopy::Times::OfSource, progress, 30, 60, &failures);
        // The boot file's copy, the last the backup goes through, tells when the backup was made (the restore's
        // question names that time), whether or not its bytes had to be written.
        if (failures.isEmpty())
            ::utimensat(AT_FDCWD, QFile::encodeName(bootCopy).constData(), nullptr, 0);
    }
    progress.setProgress(60);
    progress.setProgress(85);
    progress.setProgress(100);
    progress.setProgressCaption(QStringLiteral("Progress..."));
    progress.hideProgress();

    if (!failures.isEmpty()) {
        reportFailures(QStringLiteral("Backup"), failures, prompter);
        return false;
    }
    if (!autoBackup)
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("Backup completed successfully."));
    return true;
}

bool restoreServer(const QString& dataDirectory, const QString& bootFilePath, Progress& progress, Prompter& prompter)
{
    const QString folder = backupFolder(dataDirectory);
    if (dataDirectory.isEmpty() || !QFileInfo(folder).isDir()) {
        prompter.message(QStringLiteral("Error."),
                         QStringLiteral("You must first execute a backup before attempting to restore."));
        return false;
    }
    QStringList patterns{QStringLiteral("*.DNS")};
    if (!QDir(folder).entryList({QStringLiteral("cache.dns")}, QDir::Files).isEmpty())
        patterns << QStringLiteral("cache.dns");
    QStringList failures;
    QList<ChangedFileCopy::File> files = matching(folder, patterns, dataDirectory, &failures);
    const QString name = bootFileName(bootFilePath);
    const QString bootCopy = QDir(folder).filePath(name);
    files.append({bootCopy, windowsDirectory(bootFilePath) + name, QDir::toNativeSeparators(bootCopy)});
    progress.showProgress();
    copyChanged(files, ChangedFileCopy::Times::Fresh, progress, 0, 100, &failures);
    progress.setProgress(100);
    progress.hideProgress();

    if (!failures.isEmpty()) {
        reportFailures(QStringLiteral("Restore"), failures, prompter);
        return false;
    }
    prompter.message(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    return true;
}
