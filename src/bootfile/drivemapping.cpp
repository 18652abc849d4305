#include "bootfile/drivemapping.h"

#include "checks/namechecks.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"

#include <QDir>

namespace {

const QString kMappingSection = QStringLiteral("MAPPING");

void syncStore(SettingsStore& store, Prompter& prompter)
{
    QString error;
    if (!store.sync(&error))
        reportGeneralError(prompter, error);
}

} // namespace

FolderDrive folderDrive(const QString& folder, const DriveTable& drives, const FileSystemProbe& probe)
{
    FolderDrive drive;
    if (DriveTable::hasDriveLetter(folder)) {
        drive.form = folder;
        drive.localFolder = drives.toLocal(folder).value_or(QString());
    } else {
        drive.localFolder = QDir::cleanPath(folder);
        drive.form = drives.toDrivePath(drive.localFolder, QChar(), false).value_or(drive.localFolder);
    }
    drive.letter = DriveTable::driveOf(drive.form);
    if (!drive.localFolder.isEmpty() && probe) {
        if (const std::optional<FileSystemInfo> info = probe(drive.localFolder);
            info && isNetworkFileSystemType(info->type)) {
            drive.onNetworkFileSystem = true;
            drive.mountPoint = info->mountPoint;
        }
    }
    return drive;
}

bool asksIfNetworked(const FolderDrive& drive)
{
    return drive.letter != QLatin1Char('C') || drive.onNetworkFileSystem;
}

QString driveMappingPrompt(const QString& localDrive)
{
    return QStringLiteral("Quorvane needs to know the remote drive letter for the following mapped drive: ") +
           localDrive +
           QStringLiteral("\nQuorvane needs to know what drive the DNS server is installed on.  Enter the real drive, "
                          "not a network mapped drive letter.  Example: If it is installed on the 'C' drive of a "
                          "networked computer, select 'C'.");
}

bool isSingleDriveLetter(const QString& text)
{
    if (text.size() != 1 || hasIllegalCharacters(text))
        return false;
    const char16_t c = text.at(0).toUpper().unicode();
    return c >= u'A' && c <= u'Z';
}

std::optional<QChar> askDriveLetter(Prompter& prompter, const DriveMapping& mapping, const QString& localDrive)
{
    for (;;) {
        const std::optional<QString> answer =
            mapping.dialog ? mapping.dialog(localDrive)
                           : prompter.input(QStringLiteral("Network Drive Mapping"), driveMappingPrompt(localDrive));
        // Closing the dialog without a letter leaves the folder unmapped rather than asking for ever.
        if (!answer)
            return std::nullopt;
        if (isSingleDriveLetter(*answer))
            return answer->at(0).toUpper();
        prompter.message(QStringLiteral("Error!"), QStringLiteral("You must enter a SINGLE LETTER - Reenter."));
    }
}

std::optional<QChar> localLetterOf(const FolderDrive& drive, SettingsStore& store, Prompter& prompter)
{
    if (!drive.needsLetter())
        return drive.letter;
    const DriveTable drives = DriveTable::load(store);
    for (char16_t c = u'D'; c <= u'Z'; ++c) {
        const QChar letter(c);
        if (drives.folder(letter))
            continue;
        store.setText(DriveTable::sectionName(), QString(letter), drive.mountPoint);
        QString error;
        if (!store.sync(&error)) {
            reportGeneralError(prompter, error);
            return std::nullopt;
        }
        return letter;
    }
    reportGeneralError(prompter, QStringLiteral("Every drive letter of the drive table is in use, so %1 cannot be "
                                                "given one. The server is treated as local.")
                                     .arg(drive.mountPoint));
    return std::nullopt;
}

void recordMapping(SettingsStore& store, Prompter& prompter, const QString& serverName, const QString& letter)
{
    if (serverName.isEmpty())
        return;
    if (letter.isEmpty() && store.text(kMappingSection, serverName).isEmpty())
        return;
    store.setText(kMappingSection, serverName, letter);
    syncStore(store, prompter);
}
