#include "editors/domaindefaults.h"

#include "platform/prompter.h"
#include "session/appstate.h"

namespace {

QString fieldMessage(const QString& fieldName)
{
    const QString start = QStringLiteral("You have entered an invalid character in your ");
    const QString end = QStringLiteral(" on the setup page.");
    if (fieldName == QLatin1String("defaultserial"))
        return start + QStringLiteral("starting S/N") + end;
    if (fieldName == QLatin1String("defaultrefresh"))
        return start + QStringLiteral("refresh value") + end;
    if (fieldName == QLatin1String("defaultretry"))
        return start + QStringLiteral("retry value") + end;
    if (fieldName == QLatin1String("defaultexpire"))
        return start + QStringLiteral("expire value") + end;
    return start + QStringLiteral("time to live value") + end;
}

// Digits with an optional sign, nothing around them, within the 32-bit signed range.
bool isInt32(const QString& text)
{
    const qsizetype digitsFrom = text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (text.size() == digitsFrom)
        return false;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    text.toInt(&ok, 10);
    return ok;
}

} // namespace

bool checkDefaultField(const QString& fieldName, const QString& text, Prompter& prompter)
{
    if (isInt32(text))
        return true;
    prompter.message(QStringLiteral("Attention!"), fieldMessage(fieldName));
    return false;
}

void resetDomainEditDefaults(DomainEditDefaults& defaults, Prompter& prompter)
{
    defaults = DomainEditDefaults();
    prompter.message(QStringLiteral("Attention!"), QStringLiteral("Your domain edit defaults have been reset."));
}
