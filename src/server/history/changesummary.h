#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One file an operation changed: what it held before and after (none when it was not there).
struct FileChange
{
    QString name;
    std::optional<QByteArray> before;
    std::optional<QByteArray> after;
};

// A one-line description of a change in the program's words, read from the files it changed: "Add host
// www.example.com 10.0.0.5", "Delete primary zone example.org", "Reverse mapping: 12 files". It stands for every
// operation that does not name itself.
QString describeChange(const QList<FileChange>& changes);

// A one-line description of a change to the records of a zone, from exactly the record lines it removed and
// added: "Add host www.example.com 10.0.0.5", "Change mail server example.com 10 mx.example.com to 20
// mx.example.com", "Delete SRV record _sip._tcp.example.com 0 5 5060 sip.example.com". The editors give it the
// lines they changed; the description from the files uses it for a zone file's changed lines.
QString describeRecordChange(const QString& zone, const QStringList& removedLines, const QStringList& addedLines);

// The description of a change of the start of authority of the zone.
QString startOfAuthorityChange(const QString& zone);
