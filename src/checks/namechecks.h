#pragma once

#include <QString>

// True when the text holds one of the 29 characters no name or address may carry. The empty text and "@"
// alone are never illegal.
bool hasIllegalCharacters(const QString& text);
