#include "zone/recordlist.h"

#include "zone/recorddisplay.h"
#include "zone/recordfields.h"

void RecordList::appendLine(const QString& line)
{
    append(line, displayText(m_kind, line));
}

void RecordList::append(const QString& line, const QString& display)
{
    m_lines.append(line);
    m_displays.append(display);
}

bool RecordList::replaceAt(int index, const QString& line, const QString& display)
{
    if (!isValidIndex(index))
        return false;
    m_lines[index] = line;
    m_displays[index] = display;
    return true;
}

bool RecordList::removeAt(int index)
{
    if (!isValidIndex(index))
        return false;
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

void RecordList::rebuildDisplays()
{
    m_displays.clear();
    m_displays.reserve(m_lines.size());
    for (const QString& line : std::as_const(m_lines))
        m_displays.append(displayText(m_kind, line));
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
