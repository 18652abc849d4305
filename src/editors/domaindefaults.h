#pragma once

#include <QString>

struct DomainEditDefaults;
class Prompter;

// A default must be a 32-bit signed decimal number (the empty text is not): otherwise the field's message is
// shown and false returned, so that the page puts the focus back into it.
bool checkDefaultField(const QString& fieldName, const QString& text, Prompter& prompter);

// Forgets the five remembered "don't ask again" answers and says so.
void resetDomainEditDefaults(DomainEditDefaults& defaults, Prompter& prompter);
