#pragma once

#include <QString>

// Name resolution that lets events run while the resolver works, so a slow name server never freezes a window.

struct ResolvedHost
{
    quint32 address = 0; // IPv4, host byte order
    QString error;       // why the name could not be resolved; empty on success
};

// A dotted address is taken as it stands; a name is resolved to its first IPv4 address.
ResolvedHost resolveIpv4(const QString& host, int timeoutMs = 10000);

// The name registered for the address, or its dotted form when it has none (or the answer is late).
QString reverseName(quint32 address, int timeoutMs = 5000);

// Four decimal numbers joined by full stops, the most significant first.
QString dottedAddress(quint32 address);
