#pragma once

#include "registration/registrationfields.h"

#include <QString>
#include <optional>

// A registration profile: an INI file of one section. Keys are written in the given order as "key=value"
// lines. A value keeps every character: a line break is written as "\n" and a backslash as "\\", so a
// purpose of several lines comes back whole.
bool writeProfile(const QString& path, const QString& section, const FieldValues& values, QString* errorText);

// The keys and values of the section (matched without regard to case), in file order; an empty list when the
// file lacks the section, none (with the reason) when the file cannot be read.
std::optional<FieldValues> readProfile(const QString& path, const QString& section, QString* errorText = nullptr);
