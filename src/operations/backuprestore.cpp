#include "operations/backuprestore.h"

#include "operations/servercontrol.h"
#include "platform/progress.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 kChunk = 1 << 16;

// One file copied over whatever the target holds; the target is replaced only once the copy is whole.
bool copyOneFile(const QString& source, const QString& target, QString* reason)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *reason = in.errorString();
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        *reason = out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            *reason = in.errorString();
            out.cancelWriting();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            *reason = out.errorString();
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        *reason = out.errorString();
        return false;
    }
    return true;
}

// Copies the files of the folder whose names match one of the patterns (any case; no pattern: every file),
// files only, into the target folder. Adds "name: reason" for each file that failed.
void copyMatching(const QString& folder, const QStringList& patterns, const QString& targetFolder,
                  QStringList* failures)
{
    const QDir source(folder);
    const QFileInfoList files = source.entryInfoList(patterns, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& file : files) {
        QString reason;
        if (!copyOneFile(file.filePath(), QDir(targetFolder).filePath(file.fileName()), &reason))
            *failures << file.fileName() + QStringLiteral(": ") + reason;
    }
}

void copyNamed(const QString& source, const QString& target, QStringList* failures)
{
    QString reason;
    if (!copyOneFile(source, target, &reason))
        *failures << QDir::toNativeSeparators(source) + QStringLiteral(": ") + reason;
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

bool backupServer(const QString& dataDirectory, const QString& bootFilePath, bool autoBackup, Progress& progress,
                  Prompter& prompter)
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
    if (folderReady)
        copyMatching(dataDirectory, {}, folder, &failures);
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
