#pragma once

#include <QMap>
#include <QString>

class ConfFileSet;

// BIND's own tools over an administrator's configuration.

struct ConfPrint
{
    bool ok = false;
    QString printed; // what named-checkconf -p printed: the whole configuration, includes resolved
    QString refusal; // BIND's message when it refused the configuration, file and line as BIND names them
};

// The configuration of the file as BIND reads it (named-checkconf -p, run in the file's folder).
ConfPrint printConfiguration(const QString& confFile);

struct ConfCheck
{
    bool passed = false;
    QString problem; // BIND's first message (file and line as the administrator knows them); or why no check ran
};

// Checks the configuration with the changes in place, before anything is written: every file of the set, the
// changed ones with their new text and the new ones (a path not in the set) added, is copied into a folder of its
// own with the include statements pointing at the copies, and named-checkconf -z (which loads every zone) runs over
// the copy of the top file, in the top file's folder. Nothing of the administrator's is touched.
ConfCheck checkWithChanges(const ConfFileSet& files, const QMap<QString, QString>& changed);
