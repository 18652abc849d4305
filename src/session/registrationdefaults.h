#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The remembered contents of the three registration forms, one settings section each ("DomainReg",
// "HostReg", "ContactReg"), held as value name to text so that they survive a run even where no form
// reads them.
struct RegistrationDefaults
{
    static const QStringList& sections();
    static const QStringList& valueNames(const QString& section);

    QHash<QString, QHash<QString, QString>> values; // section -> value name -> text

    QString value(const QString& section, const QString& name) const { return values.value(section).value(name); }
};
