#include "reverse/hostnamechooser.h"

#include "platform/prompter.h"

QString HostNameChooser::caption()
{
    return QStringLiteral("Hostname for Reverse Mapping");
}

QString HostNameChooser::assignedText()
{
    return QStringLiteral("has been assigned to more than one host address. While you can have multiple hostnames "
                          "point to the same IP#, you can only have one host name for an IP#'s reverse mapping.");
}

QString HostNameChooser::selectText()
{
    return QStringLiteral("The host names listed below are the one you are assigning this IP# to and the one that is "
                          "this IP# currently maps to.  Please select the one you wish to use:");
}

std::optional<int> PrompterHostNameChooser::chooseHostName(const QString&, const QStringList& names)
{
    return m_prompter.pick(caption(), names);
}
