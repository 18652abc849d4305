#pragma once

#include <QChar>
#include <QMap>
#include <QString>

#include <optional>

class SettingsStore;

// Drive letters on a system without them. Boot files name their folders as "X:\dir\sub"; the table says which
// local folder stands for each letter, so that "G:\dns\data" becomes "<folder of G>/dns/data". A path without a
// drive letter is a local path as it stands and counts as drive C; drive C itself is the root folder unless the
// table names another folder for it. The table is the settings section "Drive Table": one value per letter,
// named by the letter, holding the folder.
class DriveTable
{
public:
    static QString sectionName() { return QStringLiteral("Drive Table"); }

    static DriveTable load(const SettingsStore& store);
    void setFolder(QChar letter, const QString& folder);
    std::optional<QString> folder(QChar letter) const;

    // True for "X:" followed by nothing, "\" or "/".
    static bool hasDriveLetter(const QString& path);
    // The drive letter of a path in capitals; "C" for a path without one.
    static QChar driveOf(const QString& path);

    // The local form of a path in the boot file's notation (single backslashes). A relative path is taken
    // relative to `base`. None when the path's drive letter has no folder.
    std::optional<QString> toLocal(const QString& path, const QString& base = QString()) const;
    // The drive form ("X:\dir") of a local path, from the letter whose folder holds it; `preferred` wins when
    // its folder does, otherwise the deepest folder. Drive C as the root folder counts only when
    // `withRootDrive` is set. None when no letter's folder holds the path.
    std::optional<QString> toDrivePath(const QString& localPath, QChar preferred = QChar(),
                                       bool withRootDrive = true) const;

private:
    QMap<QChar, QString> m_folders; // letters in capitals, folders cleaned
};
