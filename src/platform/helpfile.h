#pragma once

#include <QString>

// The program's help is one HTML document with a section (an element id) per page and dialog. The installed copy
// (share/quorvane/help beside the program's bin folder, in the build tree as in an installation) wins, so that
// the help can be corrected without building the program again; the copy built into the program is there when
// it is missing.
QString helpDocumentPath(const QString& programDirectory);

// The document's text; empty when it cannot be read.
QString readHelpDocument(const QString& path);

// True when the document has a section of that name.
bool hasHelpTopic(const QString& html, const QString& topic);

// The section the help opens at when asked for nothing in particular.
QString gettingStartedTopic();
