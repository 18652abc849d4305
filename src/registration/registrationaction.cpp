#include "registration/registrationaction.h"

QString actionLetter(RegistrationAction action)
{
    switch (action) {
    case RegistrationAction::New:
        return QStringLiteral("N");
    case RegistrationAction::Modify:
        return QStringLiteral("M");
    case RegistrationAction::Delete:
        return QStringLiteral("D");
    }
    return QString();
}

std::optional<RegistrationAction> actionFromLetter(const QString& letter)
{
    const QString upper = letter.trimmed().toUpper();
    if (upper == QLatin1String("N"))
        return RegistrationAction::New;
    if (upper == QLatin1String("M"))
        return RegistrationAction::Modify;
    if (upper == QLatin1String("D"))
        return RegistrationAction::Delete;
    return std::nullopt;
}
