#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// The zone cases of tests/data/zone/cases, found at run time: a folder named DESCRIPTION@ZONE holds "input", a
// zone file as it is read, and "expected", the file the program writes of it. A case may add "messages", what
// reading it reports (caption and text lines in turn), and "read", what `quorvane-cli zone read` prints of it.
// A new case is a new folder; no test changes.
struct ZoneCase
{
    QString name; // the folder's name
    QString zone;
    QString folder; // relative to the zone test data ("cases/NAME"), as the fixtures take data names

    QString file(const QString& name) const { return folder + QLatin1Char('/') + name; }
    bool has(const QString& name) const;
};

QList<ZoneCase> zoneCases();

Q_DECLARE_METATYPE(ZoneCase)
