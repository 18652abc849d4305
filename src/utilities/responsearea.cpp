#include "utilities/responsearea.h"

void ResponseArea::addLine(const QString& line)
{
    m_lines << line;
    Q_EMIT lineAdded(line);
}

void ResponseArea::clear()
{
    m_lines.clear();
    Q_EMIT cleared();
}

void ResponseArea::setStatus(const QString& status)
{
    m_status = status;
    Q_EMIT statusChanged(status);
}

void ResponseArea::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}
