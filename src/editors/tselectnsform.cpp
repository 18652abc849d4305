#include "editors/tselectnsform.h"

#include <QLabel>

Tselectnsform::Tselectnsform(Prompter& prompter)
    : HostPicker(prompter, QStringLiteral("Select host for name server..."),
                 QStringLiteral("Select a host address for your name server."))
{
    setObjectName(QStringLiteral("Tselectnsform"));
}

void Tselectnsform::showEvent(QShowEvent* event)
{
    heading->setText(windowTitle());
    HostPicker::showEvent(event);
}
