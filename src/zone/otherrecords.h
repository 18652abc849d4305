#pragma once

#include <QString>
#include <QStringList>

// The records of the loaded zone that none of the six lists takes, each one context-free line as the zone file
// holds it (owner, time to live when it has its own, class, type, data), in the order the file gave them;
// among them the comment lines that keep text no scanner could read and "$INCLUDE" lines kept as they stand.
// They are written back after the six sections. Their display is made only when something shows them.
class OtherRecords
{
public:
    static constexpr int kNewRecord = -1;

    int count() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QStringList& lines() const { return m_lines; }
    QString line(int index) const { return m_lines.value(index); }
    bool isValidIndex(int index) const { return index >= 0 && index < m_lines.size(); }

    // The position the generic editor replaces or deletes at; kNewRecord while it adds a record.
    int editIndex() const { return m_editIndex; }
    void setEditIndex(int index) { m_editIndex = index; }

    void append(const QString& line) { m_lines.append(line); }
    // Appended while the edit index is kNewRecord, otherwise put at the edit index; false, changing nothing,
    // when the edit index names no record.
    bool storeAtEditIndex(const QString& line);
    bool removeAt(int index);
    void clear() { m_lines.clear(); }

private:
    QStringList m_lines;
    int m_editIndex = kNewRecord;
};

// An other record's line taken apart: its owner, its own time to live (empty when it has none), its class
// (empty when it names none), its type and its data. A comment or directive line has only its text, as data.
struct OtherRecordFields
{
    bool record = false;
    QString owner;
    QString ttl;
    QString className;
    QString type;
    QString data;
};

OtherRecordFields otherRecordFields(const QString& line);

// What the zone tree shows of an other record: "owner TTL type data", the time to live being the record's
// own or else the zone's default; a comment or directive line as it stands.
QString otherRecordText(const QString& line, const QString& defaultTtl);
