#pragma once

#include <QString>

#include <optional>

class Prompter;
class TldList;

// The logic of the TLD editor's two buttons. Each shows its refusal or question through the prompter and
// reports whether the list changed.

// Adds the text, as typed, to the user's extensions. The caller empties its entry field on success.
bool addTld(TldList& tlds, const QString& text, Prompter& prompter);

// Deletes the selected entry (none when nothing is selected) after the user confirmed it; the built-in
// entries cannot be deleted.
bool deleteTld(TldList& tlds, const std::optional<QString>& selected, Prompter& prompter);
