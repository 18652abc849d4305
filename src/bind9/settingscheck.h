#pragma once

#include "session/bind9settings.h"

#include <QString>

// Why the name server cannot be served with these settings: a stored value that is no value of its setting (a port
// given as a word), or a listen address that is no address of this machine ("all" and "any" listen on every one).
// Empty when they can be used. The address goes into the configuration as it stands, so nothing else may pass.
QString bind9SettingsRefusal(const Bind9Settings& settings);

// Whether the listen address is an address written as one (IPv4 or IPv6), nothing around it.
bool isListenAddress(const QString& address);

// Why the name server of the settings could not take its port: another program listens there. Asked of the
// system by binding a socket of this program's own, without sharing the port, as a name server sharing it
// would split the queries with it. Empty when the port is free.
QString portInUse(const Bind9Settings& settings);
