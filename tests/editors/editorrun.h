#pragma once

#include "editors/editresult.h"

#include <QStringList>

// Runs the Save of the editor of a kind ("soa", "ns", "mx", "host", "alias", "person") over fields given in
// the editor's order, and gives the fields back as the editor left them.
EditResult runSave(ZoneContext& context, const QString& kind, QStringList& fields);
