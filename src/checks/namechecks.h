#pragma once

#include <QString>

class TldList;

// True when the text holds one of the 29 characters no name or address may carry. The empty text and "@"
// alone are never illegal.
bool hasIllegalCharacters(const QString& text);

// The text with every character dropped except ASCII letters, digits, ".", "@" and "-", in the case typed.
QString stripToNameCharacters(const QString& text);

// The name made absolute: unchanged when it ends in "."; with a dot appended when it ends in the origin
// (compared exactly, whether or not a dot precedes it); otherwise with "." + origin + "." appended.
QString qualifyWithOrigin(const QString& name, const QString& origin);

// True for the empty name and for a name holding three or more dots.
bool hasAtLeastThreeDots(const QString& name);

// True when the name, compared in lower case, ends in a dot followed by an entry of the list, with or without
// a final dot.
bool endsWithKnownTld(const QString& name, const TldList& tlds);

// An e-mail address as a zone's mailbox name: every "@" a ".", surrounding blanks dropped, and a final dot.
QString mailboxOf(const QString& email);
