#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// The folders a server's files must lie in, and where a path given for one of them really leads. A boot file is
// only text, and the folders it names may hold links planted by whoever can write there: a name is followed to
// the end (folders on the way, and a symbolic link in the file's own place) before anything is read, written or
// deleted through it. Each folder on the way is resolved once per object, so that a server of thousands of files
// costs one resolution per folder and one look at each file.
class FolderConfinement
{
public:
    FolderConfinement() = default;
    // Folders that do not exist stay as they are spelt; nothing can lie inside them until they do.
    explicit FolderConfinement(const QStringList& folders);

    // The folders, resolved.
    const QStringList& folders() const { return m_folders; }
    bool isEmpty() const { return m_folders.isEmpty(); }

    // Whether a symbolic link in the file's own place is followed: for reading and writing it is (the file it
    // leads to is what is read or written), for deleting it is not (the link is what goes).
    enum class FinalLink
    {
        Follow,
        Keep,
    };

    // The path as the file lies on the disk, with every folder resolved and, when asked, a link in its place
    // followed; none when that leads outside the folders. A file that does not exist yet, and one a link names
    // that does not exist yet, lies where its folder lies.
    std::optional<QString> resolve(const QString& path, FinalLink link = FinalLink::Follow) const;
    bool contains(const QString& path, FinalLink link = FinalLink::Follow) const
    {
        return resolve(path, link).has_value();
    }
    // Whether a resolved path lies in one of the folders.
    bool holds(const QString& resolvedPath) const;

private:
    std::optional<QString> resolvedFolder(const QString& folder, int depth = 0) const;
    std::optional<QString> resolveLinks(const QString& path, FinalLink link, int depth) const;

    QStringList m_folders;
    mutable QHash<QString, std::optional<QString>> m_resolved; // folder as given: resolved, none when it cannot be
};

// The refusal of a file a boot file names outside its server's folders.
QString outsideFolderText(const QString& path, const QString& dataDirectory);
