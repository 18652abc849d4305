#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// "$GENERATE range owner [ttl] [class] type data": the record lines it stands for, one per value of the range
// ("start-stop" or "start-stop/step"), each "$" of owner and data replaced by the value ("${offset,width,base}"
// with the bases d, o, x, X and the nibble forms n and N; "\$" and "$$" stay a dollar sign). The lines are
// ended by line feeds, ready for the scanner.
struct GeneratedRecords
{
    bool ok = false;
    QString errorText;
    QByteArray text;
};

// Ranges beyond this many records are refused rather than filling the memory.
constexpr quint32 kMostGeneratedRecords = 1000000;

GeneratedRecords expandGenerate(const QList<QByteArray>& words);
