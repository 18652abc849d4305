#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One file an operation changed: what it held before and after (none when it was not there).
struct FileChange
{
    QString name;
    std::optional<QByteArray> before;
    std::optional<QByteArray> after;
};

// A one-line description of a change in the program's words, read from the files it changed: "Add host
// www.example.com 10.0.0.5", "Delete primary zone example.org", "Reverse mapping: 12 files". It stands for every
// operation that does not name itself.
QString describeChange(const QList<FileChange>& changes);
