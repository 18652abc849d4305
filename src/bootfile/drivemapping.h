#pragma once

#include "platform/drivetable.h"
#include "platform/networkfolder.h"

#include <QChar>
#include <QString>

#include <functional>
#include <optional>

class Prompter;
class SettingsStore;

// A folder as the question "is it on a networked computer?" sees it.
struct FolderDrive
{
    QString localFolder; // as this machine reaches it
    QString form;        // named by its drive letter when the drive table holds it, otherwise the plain path
    QChar letter;        // the drive letter of the form; C for a plain path
    QString mountPoint;  // the mount folder of the network file system it lies on; empty on a local one
    bool onNetworkFileSystem = false;

    // A plain path has no letter to show: its network file system's mount folder stands for the drive.
    bool needsLetter() const { return onNetworkFileSystem && !DriveTable::hasDriveLetter(form); }
    QString shownDrive() const { return needsLetter() ? mountPoint : QString(letter); }
};

// Where a folder lies. A form given with a drive letter is taken as it stands.
FolderDrive folderDrive(const QString& folder, const DriveTable& drives, const FileSystemProbe& probe);

// The question is asked for a folder on a drive other than C and for one on a network file system; a local
// folder on drive C is never on a networked computer.
bool asksIfNetworked(const FolderDrive& drive);

// The "Network Drive Mapping" dialog, given the drive this machine reaches the server by; the letter the user
// chose as typed, none when the dialog was closed.
using DriveMappingDialog = std::function<std::optional<QString>(const QString& localDrive)>;

// How the networked-computer question reaches the user and the kernel. Without a dialog the mapping is asked
// in an input box of the prompter.
struct DriveMapping
{
    DriveMappingDialog dialog;
    FileSystemProbe probe = fileSystemOf;
};

// The dialog's text, as the input box shows it.
QString driveMappingPrompt(const QString& localDrive);

// True for one letter A to Z in either case.
bool isSingleDriveLetter(const QString& text);

// Shows the mapping dialog until it gives a single letter, saying "You must enter a SINGLE LETTER - Reenter."
// after each other answer. The letter in capitals; none when the dialog was closed.
std::optional<QChar> askDriveLetter(Prompter& prompter, const DriveMapping& mapping, const QString& localDrive);

// The letter this machine reaches the drive by. A mount folder without one is given the first letter from D on
// that the drive table does not use, recorded in the table, so that the server's files can keep naming drive
// letters. None when every letter is taken or the table cannot be written (reported).
std::optional<QChar> localLetterOf(const FolderDrive& drive, SettingsStore& store, Prompter& prompter);

// Records the local letter under the server's name in "MAPPING"; an empty letter clears what an earlier server
// of that name left there, so that it cannot send this one's loads to another drive.
void recordMapping(SettingsStore& store, Prompter& prompter, const QString& serverName, const QString& letter);
