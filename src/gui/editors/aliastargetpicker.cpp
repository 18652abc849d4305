#include "gui/editors/aliastargetpicker.h"

AliasTargetPicker::AliasTargetPicker(Prompter& prompter)
    : HostPicker(prompter, QStringLiteral("Select host..."),
                 QStringLiteral("Select the host address you would like to use:"))
{
    setObjectName(QStringLiteral("AliasTargetPicker"));
}
