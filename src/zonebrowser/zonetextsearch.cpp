#include "zonebrowser/zonetextsearch.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The lines without the comments the program writes (";[Host Addresses]", ";Origin added to ... example.com"),
// which would otherwise make every zone hold its own section names and name.
QString recordLines(const QByteArray& bytes)
{
    QString records;
    records.reserve(bytes.size());
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.trimmed().startsWith(';'))
            continue;
        records += QString::fromLatin1(line).toLower();
        records += QLatin1Char('\n');
    }
    return records;
}

} // namespace

bool ZoneTextSearch::fileHolds(const QString& path, const QString& text)
{
    return recordsOf(path).contains(text.toLower());
}

bool ZoneTextSearch::nodeHolds(const QString& node, const QString& value, const QString& text)
{
    return node.contains(text, Qt::CaseInsensitive) || value.contains(text, Qt::CaseInsensitive);
}

const QString& ZoneTextSearch::recordsOf(const QString& path)
{
    const QFileInfo info(path);
    Entry& entry = m_files[path];
    if (entry.size == info.size() && entry.modified == info.lastModified())
        return entry.records;
    entry.size = info.size();
    entry.modified = info.lastModified();
    QFile file(path);
    entry.records = file.open(QIODevice::ReadOnly) ? recordLines(file.readAll()) : QString();
    return entry.records;
}
