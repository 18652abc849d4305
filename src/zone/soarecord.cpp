#include "zone/soarecord.h"

SoaRecord::SoaRecord(const QStringList& values) : m_values(values.mid(0, kValueCount))
{
    while (m_values.size() < kValueCount)
        m_values.append(QString());
}

void SoaRecord::setValue(Value which, const QString& text)
{
    if (m_values.isEmpty())
        m_values = QStringList(kValueCount, QString());
    m_values[which] = text;
}
