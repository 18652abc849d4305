#pragma once

#include <QString>
#include <QStringList>

// The letter a text's "&" marks (lower case), or a null character when it carries none. "&&" is a plain "&".
QChar mnemonicOf(const QString& text);

// What a text gets when every one of its characters is taken: nothing, or its first word initial, shared with
// another text (pressing the key then moves between the two, as the platform does for a shared key).
enum class WhenFull
{
    Skip,
    Share,
};

// Gives each text of one group an access key that no other text of the group and none of `taken` has: the first
// letter of a word where one is free, else any letter or digit of the text, else as `full` says. A text that
// already carries one keeps it; an empty text stays as it is. The keys given are added to `taken`.
QStringList withMnemonics(const QStringList& texts, QString& taken, WhenFull full = WhenFull::Skip);
