#pragma once

#include <QString>
#include <optional>

// The text rules the utilities share between their tabs and the command line.

struct FingerTarget
{
    QString user;
    QString host;
};

// Splits at the first "@": the user before it, the host after it (at most 255 characters). Without "@" the
// whole input is the host, which asks the server for its list of users.
FingerTarget splitFingerInput(const QString& input);

// The record type of an entry of the type list: the text up to its first blank, or the whole text.
QString recordTypeOf(const QString& typeText);

// A non-negative whole number, or none.
std::optional<int> wholeNumber(const QString& text);

// One line of the ping listing for request n.
QString pingLine(int n, int status, const QString& host, int milliseconds);

// One line of the trace listing; the name is the address's reverse lookup (the dotted form when it has none).
QString traceLine(int hop, int milliseconds, const QString& dotted, const QString& name);
