#pragma once

#include <QMap>
#include <QString>

class ConfFileSet;

struct ConfWriteResult
{
    bool ok = true;
    QString errorText; // BIND's message about the changed configuration, or why a file could not be written
};

// Writes the changed files of an administrator's configuration (path: new text; a path the set does not hold is
// a new file) once the whole configuration with them in place passes named-checkconf -z; nothing is written
// otherwise. Each file is replaced whole, keeping its permissions and owner; a new file is made readable by the
// name server's user. The caller holds the server's change.
ConfWriteResult writeCheckedConf(const ConfFileSet& files, const QMap<QString, QString>& changed);
