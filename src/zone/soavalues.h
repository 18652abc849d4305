#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The five numbers of a start of authority: serial, refresh, retry, expire, minimum.
constexpr int kSoaNumberCount = 5;

// The names of a start of authority line and what follows the mailbox on that line.
struct SoaHead
{
    QString owner;
    QString primaryServer;
    QString mailbox;
    QString rest;
    QString ttl; // the time to live the line gives before the type; empty when it gives none
};

// Whether the line, its comment cut off, holds only numbers and parentheses: the numbers of a start of
// authority written on lines of their own.
bool isSoaValueLine(QStringView line);

// Reads a start of authority line (tabs already made blanks): a comment is cut off and the rest trimmed; with
// fewer than four runs of blanks the line is malformed and none is returned. The primary server and the
// mailbox are the two words after the type "SOA" (the mailbox ending before a blank or "("), so that a
// time-to-live before the class does not shift them; a line that starts with a blank has the owner "@".
std::optional<SoaHead> parseSoaHead(QStringView line);

// The numbers of the start of authority, at most five: first from the rest of its own line, then from the
// lines after it. Each line is cut at its first ";" and trimmed; a number is a word's text from its first
// digit on, words ending at blanks and parentheses. The search ends at the closing parenthesis or when five
// are found, and passes over record lines (lines holding a word that does not begin with a digit) so that an
// address is never taken for a number. lastLine, when given, is set to the last line of the record: the last
// a number came from, or the one that holds only the closing parenthesis after it (the start of authority's
// own line counts as from - 1).
QStringList findSoaValues(const SoaHead& head, const QStringList& lines, qsizetype from, qsizetype* lastLine = nullptr);
