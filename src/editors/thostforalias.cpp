#include "editors/thostforalias.h"

Thostforalias::Thostforalias(Prompter& prompter)
    : HostPicker(prompter, QStringLiteral("Select host..."),
                 QStringLiteral("Select the host address you would like to use:"))
{
    setObjectName(QStringLiteral("Thostforalias"));
}
