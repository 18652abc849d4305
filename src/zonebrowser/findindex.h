#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The find index of a zone tree: one entry per root in tree order, the zone name, one space and the root's
// ordinal, and the position the next search starts at.
class FindIndex
{
public:
    // Rebuilt with its tree; the search position stays where it was.
    void rebuild(const QStringList& rootNames);
    const QStringList& entries() const { return m_entries; }

    // The ordinal of the first root from the search position on whose zone name holds the text (case
    // sensitive); the position moves behind it. None, and the position back at the start, when no root from
    // the position on matches. Only the name is searched: the ordinal the entry carries is no part of it.
    std::optional<int> findNext(const QString& text);

    void reset() { m_position = 0; }
    int position() const { return m_position; }

private:
    QStringList m_entries;
    QStringList m_names;
    int m_position = 0;
};
