#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One field of a stored record line: where it starts and how long it is.
struct RecordField
{
    qsizetype start = 0;
    qsizetype length = 0;

    qsizetype end() const { return start + length; }
};

// Blanks separate the fields of a stored line. Hand-written zone files are commonly laid out with tabs, so a
// tab separates as a space does.
inline bool isFieldBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The fields of a stored line: the runs of characters between runs of blanks, at most maxFields of them (all
// when negative). The owner is the text before the first blank, so a line that begins with a blank has an
// empty first field.
QList<RecordField> recordFields(QStringView line, int maxFields = -1);

// The owner of a stored line: its text before the first blank.
QString recordOwner(const QString& line);
