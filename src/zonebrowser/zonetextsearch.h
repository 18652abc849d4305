#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// What the filter of the primary zone tree searches beyond the zone names: the record lines of each zone file,
// comments left out. Files are read as bytes (one byte, one character) and kept while their size and time stay
// the same, so that typing into the filter reads each file once.
class ZoneTextSearch
{
public:
    // True when a record line of the file holds the text, without regard to case. A file that cannot be read
    // holds nothing.
    bool fileHolds(const QString& path, const QString& text);

    // True when the node text or its value holds the text, without regard to case; an empty text is in every
    // node.
    static bool nodeHolds(const QString& node, const QString& value, const QString& text);

private:
    struct Entry
    {
        qint64 size = -1;
        QDateTime modified;
        QString records; // the record lines, lower case, one per line
    };
    const QString& recordsOf(const QString& path);

    QHash<QString, Entry> m_files;
};
