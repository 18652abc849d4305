#include "zonebrowser/findindex.h"

void FindIndex::rebuild(const QStringList& rootNames)
{
    m_names = rootNames;
    m_entries.clear();
    m_entries.reserve(rootNames.size());
    for (int i = 0; i < rootNames.size(); ++i)
        m_entries << rootNames.at(i) + QLatin1Char(' ') + QString::number(i);
}

std::optional<int> FindIndex::findNext(const QString& text)
{
    for (int i = m_position; i < m_names.size(); ++i) {
        if (m_names.at(i).contains(text)) {
            m_position = i + 1;
            return i;
        }
    }
    m_position = 0;
    return std::nullopt;
}
