#include "operations/backuprestore.h"

#include "bootfile/filenameindex.h"
#include "operations/servercontrol.h"
#include "platform/filereplacement.h"
#include "platform/progress.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFileInfo>

namespace {

void copyInto(const QString& source, const QString& target, const QString& shownName, QStringList* failures)
{
    if (const FileWriteResult copied = copyFileReplacing(source, target); !copied.ok)
        *failures << shownName + QStringLiteral(": ") + copied.errorText;
}

// Copies the files of the folder whose names match one of the patterns (any case), files only, into the target
// folder. Adds "name: reason" for each file that failed.
void copyMatching(const QString& folder, const QStringList& patterns, const QString& targetFolder,
                  QStringList* failures)
{
    const QDir source(folder);
    const QFileInfoList files = source.entryInfoList(patterns, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& file : files)
        copyInto(file.filePath(), QDir(targetFolder).filePath(file.fileName()), file.fileName(), failures);
}

void copyNamed(const QString& source, const QString& target, QStringList* failures)
{
    copyInto(source, target, QDir::toNativeSeparators(source), failures);
}

// The data files as the folder holds them, each once: a boot file written where names match without regard to
// case may name a file in another case than the disk has it. A file not there yet (a secondary zone's backup
// before its first transfer) has nothing to copy.
QStringList filesOnDisk(const QString& dataDirectory, const QStringList& dataFiles)
{
    const FileNameIndex index(dataDirectory);
    QStringList names;
    for (const QString& name : dataFiles) {
        const std::optional<QString> onDisk = index.find(name);
        if (onDisk && !names.contains(*onDisk))
            names << *onDisk;
    }
    return names;
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

QString backupFolder(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("dnsbackup"));
}

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
        for (const QString& name : filesOnDisk(dataDirectory, dataFiles))
            copyInto(QDir(dataDirectory).filePath(name), QDir(folder).filePath(name), name, &failures);
    }
    progress.setProgress(60);
    if (folderReady)
        copyNamed(bootFilePath, QDir(folder).filePath(bootFileName(bootFilePath)), &failures);
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

bool restoreServer(const QString& dataDirectory, const QString& bootFilePath, Prompter& prompter)
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
    copyMatching(folder, patterns, dataDirectory, &failures);
    const QString name = bootFileName(bootFilePath);
    copyNamed(QDir(folder).filePath(name), windowsDirectory(bootFilePath) + name, &failures);

    if (!failures.isEmpty()) {
        reportFailures(QStringLiteral("Restore"), failures, prompter);
        return false;
    }
    prompter.message(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    return true;
}
