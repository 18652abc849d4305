#pragma once

#include <QString>

// This machine's own IPv4 address as other machines reach it: the first address of an interface that is up and
// is no loopback, or 127.0.0.1 on a machine with none.
QString localIpv4Address();
