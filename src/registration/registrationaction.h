#pragma once

#include <QString>
#include <optional>

// What a registration asks the registry to do with its domain, host or contact.
enum class RegistrationAction
{
    New,
    Modify,
    Delete
};

// "N", "M" or "D", as the templates and the profiles write the action.
QString actionLetter(RegistrationAction action);
// The action of a letter (either case); none for anything else.
std::optional<RegistrationAction> actionFromLetter(const QString& letter);
