#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

// The files of one folder, listed once, for the many existence tests of a boot file reading. Boot files were
// written where file names match without regard to case, so a name is found in any case; the exact name wins.
class FileNameIndex
{
public:
    FileNameIndex() = default;
    explicit FileNameIndex(const QString& folder);

    const QString& folder() const { return m_folder; }
    // The name of the file on disk that the name stands for, none when there is none.
    std::optional<QString> find(const QString& name) const;
    bool contains(const QString& name) const { return find(name).has_value(); }
    // Whether the entry of that name on disk (as find() gives it) is a symbolic link: only those, and names with a
    // folder part, can lead out of the folder.
    bool isLink(const QString& nameOnDisk) const { return m_links.contains(nameOnDisk); }

private:
    QString m_folder;
    QSet<QString> m_exact;
    QHash<QString, QString> m_folded; // lower case to the name on disk
    QSet<QString> m_links;
};
