#pragma once

#include <QString>
#include <QStringList>

// The start of authority of the loaded zone: exactly eight values, or none at all when the zone file had no
// start of authority.
class SoaRecord
{
public:
    enum Value
    {
        Owner,
        PrimaryServer,
        Mailbox,
        Serial,
        Refresh,
        Retry,
        Expire,
        Minimum
    };
    static constexpr int kValueCount = 8;

    SoaRecord() = default;
    // Missing values are empty, values beyond the eighth are dropped.
    explicit SoaRecord(const QStringList& values);

    bool isEmpty() const { return m_values.isEmpty(); }
    const QStringList& values() const { return m_values; }
    // Empty while the record is.
    QString value(Value which) const { return m_values.value(which); }
    // Setting a value of an empty record gives it all eight, the others empty.
    void setValue(Value which, const QString& text);
    void clear() { m_values.clear(); }

    bool operator==(const SoaRecord&) const = default;

private:
    QStringList m_values;
};
