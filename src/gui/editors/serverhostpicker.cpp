#include "gui/editors/serverhostpicker.h"

#include <QLabel>

ServerHostPicker::ServerHostPicker(Prompter& prompter)
    : HostPicker(prompter, QStringLiteral("Select host for name server..."),
                 QStringLiteral("Select a host address for your name server."))
{
    setObjectName(QStringLiteral("ServerHostPicker"));
}

void ServerHostPicker::showEvent(QShowEvent* event)
{
    heading->setText(windowTitle());
    HostPicker::showEvent(event);
}
