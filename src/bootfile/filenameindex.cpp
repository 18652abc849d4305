#include "bootfile/filenameindex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Every entry of the folder that is no folder itself (hidden and special files too). The entry's type comes with
// the listing on most file systems; only links and entries of unknown type cost a look at the file, which keeps
// a folder of ten thousand zone files cheap to list.
QStringList nonFolderEntries(const QString& folder, QSet<QString>& links)
{
    QStringList names;
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || entry->d_type == DT_DIR)
            continue;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info = {};
            const QByteArray full = path + '/' + name;
            if (::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode))
                continue;
            if (entry->d_type == DT_LNK || (::lstat(full.constData(), &info) == 0 && S_ISLNK(info.st_mode)))
                links.insert(QFile::decodeName(name));
        }
        names << QFile::decodeName(name);
    }
    ::closedir(dir);
    return names;
}

} // namespace

FileNameIndex::FileNameIndex(const QString& folder) : m_folder(folder)
{
    if (folder.isEmpty())
        return;
    const QStringList names = nonFolderEntries(folder, m_links);
    m_exact.reserve(names.size());
    m_folded.reserve(names.size());
    for (const QString& name : names) {
        m_exact.insert(name);
        m_folded.insert(name.toLower(), name);
    }
}

std::optional<QString> FileNameIndex::find(const QString& name) const
{
    if (name.isEmpty() || m_folder.isEmpty())
        return std::nullopt;
    if (name.contains(QLatin1Char('/'))) {
        // A name with a folder part is looked up as it stands.
        if (QFileInfo(QDir(m_folder).filePath(name)).isFile())
            return name;
        return std::nullopt;
    }
    if (m_exact.contains(name))
        return name;
    const auto folded = m_folded.constFind(name.toLower());
    if (folded != m_folded.constEnd())
        return *folded;
    return std::nullopt;
}
