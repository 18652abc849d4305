#include "bootfile/filenameindex.h"

#include <QDir>
#include <QFileInfo>

FileNameIndex::FileNameIndex(const QString& folder) : m_folder(folder)
{
    if (folder.isEmpty())
        return;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
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
