#pragma once

#include <QString>

struct ServerContext;

// Takes over the BIND 9 server a named.conf describes, as it is: it joins the server catalog under the name (a new
// one) with the named.conf as its file, and is loaded, with the questions loading a named.conf asks. Nothing of
// the configuration is written unless the user agrees to a change. False, told, when the name is taken or empty,
// or the file is no readable named.conf.
bool takeOverConfServer(ServerContext& context, const QString& name, const QString& confFile);
