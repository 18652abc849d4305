#pragma once

#include <QtGlobal>

// A port on 127.0.0.1 that is free for TCP and UDP alike at the moment of asking (a name server needs both);
// 0 when none was found.
quint16 freeLoopbackPort();
