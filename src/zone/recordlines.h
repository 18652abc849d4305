#pragma once

#include <QString>

// The record lines of a zone file, one builder per layout. Every line the editors and the zone creators put
// into a zone is formed here and nowhere else. Fields are separated by runs of exactly five blanks, so that
// the reader counts NS 3, MX 4, A 3, CNAME 3, RP 4 and TXT 3 fields; mail, host, alias, RP and TXT lines end
// in one blank, which the reader does not count.

// NS with the zone owner "@".
QString nameServerAtLine(const QString& host);
// NS with the zone name as owner, given with or without its trailing dot.
QString nameServerZoneLine(const QString& zone, const QString& host);
// MX with the zone owner "@".
QString mailServerAtLine(const QString& priority, const QString& host);
// MX with the zone name as owner, given with or without its trailing dot.
QString mailServerZoneLine(const QString& zone, const QString& priority, const QString& host);
// The primary zone wizard's NS and MX lines: the zone as owner, a trailing blank, and one blank only between
// "MX" and the priority.
QString wizardNameServerLine(const QString& zone, const QString& host);
QString wizardMailServerLine(const QString& zone, const QString& priority, const QString& host);
// A; the address is written without a trailing dot.
QString hostAddressLine(const QString& host, const QString& address);
// CNAME.
QString aliasLine(const QString& alias, const QString& target);
// RP; two blanks between the mailbox and the text record's name.
QString responsiblePersonLine(const QString& owner, const QString& mailbox, const QString& textName);
// TXT; the text is given with its enclosing double quotes.
QString textRecordLine(const QString& owner, const QString& quotedText);

// The NS and MX owner of a zone: "@" when the start of authority's owner, trimmed, is "@", otherwise the zone.
bool usesAtOwner(const QString& soaOwner);
QString nameServerLine(const QString& soaOwner, const QString& zone, const QString& host);
QString mailServerLine(const QString& soaOwner, const QString& zone, const QString& priority, const QString& host);
