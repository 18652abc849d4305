#pragma once

#include <QString>

// This machine's own IPv4 address as other machines reach it: the first address of an interface that is up and
// is no loopback, or 127.0.0.1 on a machine with none.
QString localIpv4Address();

// The address this machine serves zones on: its IPv4 address as above, or on a machine that has none but the
// loopback one, its first IPv6 address that holds beyond its own link; 127.0.0.1 when it has neither.
QString localServerAddress();
