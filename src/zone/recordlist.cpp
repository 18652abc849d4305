#include "zone/recordlist.h"

#include "zone/recorddisplay.h"
#include "zone/recordfields.h"

const QStringList& RecordList::displays() const
{
    completeDisplays();
    return m_displays;
}

void RecordList::completeDisplays() const
{
    if (m_displays.size() == m_lines.size())
        return;
    m_displays.reserve(m_lines.size());
    for (qsizetype index = m_displays.size(); index < m_lines.size(); ++index)
        m_displays.append(displayText(m_kind, m_lines.at(index)));
}

void RecordList::appendLine(const QString& line)
{
    m_lines.append(line);
}

void RecordList::append(const QString& line, const QString& display)
{
    completeDisplays();
    m_lines.append(line);
    m_displays.append(display);
}

bool RecordList::replaceAt(int index, const QString& line, const QString& display)
{
    if (!isValidIndex(index))
        return false;
    completeDisplays();
    m_lines[index] = line;
    m_displays[index] = display;
    return true;
}

bool RecordList::removeAt(int index)
{
    if (!isValidIndex(index))
        return false;
    completeDisplays();
    m_lines.removeAt(index);
    m_displays.removeAt(index);
    return true;
}

bool RecordList::storeAtEditIndex(const QString& line, const QString& display)
{
    if (m_editIndex == kNewRecord) {
        append(line, display);
        return true;
    }
    return replaceAt(m_editIndex, line, display);
}

void RecordList::clear()
{
    m_lines.clear();
    m_displays.clear();
}

QStringList RecordList::owners() const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (const QString& line : m_lines)
        out.append(recordOwner(line));
    return out;
}

bool RecordList::containsOwner(const QString& owner, int except) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        if (i != except && recordOwner(m_lines.at(i)) == owner)
            return true;
    }
    return false;
}
