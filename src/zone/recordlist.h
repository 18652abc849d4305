#pragma once

#include "zone/recordkind.h"

#include <QString>
#include <QStringList>

// The records of one kind of the loaded zone: each record's complete zone file line (the storage list) beside
// its short form for the browser and the editors (the display list), and the edit index an editor works at.
// The two lists always hold the same number of entries in the same order; every change goes through this class
// so that they cannot drift apart. The display texts of lines read from a file are derived only when something
// asks for them: a save of a large zone never shows one.
class RecordList
{
public:
    static constexpr int kNewRecord = -1;

    explicit RecordList(RecordKind kind) : m_kind(kind) {}

    RecordKind kind() const { return m_kind; }
    int count() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }

    const QStringList& lines() const { return m_lines; } // the storage list
    const QStringList& displays() const;                 // the display list
    // Empty when index is out of range.
    QString line(int index) const { return m_lines.value(index); }
    QString display(int index) const { return displays().value(index); }

    // The position an editor replaces or deletes at; kNewRecord while it adds a record.
    int editIndex() const { return m_editIndex; }
    void setEditIndex(int index) { m_editIndex = index; }
    bool isValidIndex(int index) const { return index >= 0 && index < m_lines.size(); }

    // A line as read from a zone file; its display text is derived from it.
    void appendLine(const QString& line);
    void append(const QString& line, const QString& display);
    bool replaceAt(int index, const QString& line, const QString& display);
    bool removeAt(int index);
    // An editor's save: appended while the edit index is kNewRecord, otherwise put at the edit index. False,
    // changing nothing, when the edit index names no record.
    bool storeAtEditIndex(const QString& line, const QString& display);
    bool removeAtEditIndex() { return removeAt(m_editIndex); }
    // Empties both lists; the edit index is left to whoever set it.
    void clear();

    // Rebuilds every display text from its stored line (when next asked for).
    void rebuildDisplays() { m_displays.clear(); }

    // The owners of all records (each line's text before its first blank), in list order.
    QStringList owners() const;
    // True when a record other than the one at position except has this owner (compared exactly).
    bool containsOwner(const QString& owner, int except = kNewRecord) const;

private:
    RecordKind m_kind;
    // Derives the display texts of the lines appended without one.
    void completeDisplays() const;

    QStringList m_lines;
    // The display texts of the first m_displays.size() lines; the rest are derived from their lines on demand.
    mutable QStringList m_displays;
    int m_editIndex = kNewRecord;
};
