#include "bootfile/bootcontext.h"

#include "platform/prompter.h"

void reportGeneralError(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
}
