#pragma once

#include <QStringList>

// The terms the domain template carries between its heading and its fields: seventeen sections lettered A
// to Q, each a paragraph of fixed lines followed by a blank line (the last by two).
const QStringList& registrationAgreementLines();
