#pragma once

#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <span>

// The top-level domains of the root zone, beyond the list the user sees and edits: every one of them ends a
// name that counts as absolute, so that names under the many domains created since the built-in list was made
// (".eu", ".info", ".dev", ".app", ...) are neither refused nor completed with the zone. Taken from the
// distribution's public suffix list when it is installed, from a built-in copy of it otherwise. "arpa" is none
// of them: reverse zones are made by the program itself.
using TldSet = std::shared_ptr<const QSet<QString>>;

// The built-in copy, lower case, international names in their ASCII form ("xn--...").
std::span<const char* const> builtInDelegatedTlds();

// Where the distribution keeps the public suffix list; the environment variable QUORVANE_PUBLIC_SUFFIX_LIST
// names another file.
QString publicSuffixListPath();

// The top-level domains named in a public suffix list (the last label of each of its rules), lower case and in
// ASCII form; none when the file cannot be read or names none.
std::optional<QSet<QString>> readPublicSuffixTlds(const QString& path);

// The top-level domains of the list at path, or the built-in copy when it cannot be read.
TldSet delegatedTlds(const QString& path);

// delegatedTlds of publicSuffixListPath(), read once for the whole run.
TldSet defaultDelegatedTlds();
