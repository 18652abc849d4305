#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Record types that BIND 9 still reads but the zone scanner does not know (WKS, X25, ISDN, NSAP, GPOS, PX,
// MB, MG, MR, NSAP-PTR, SIG, ...): old university and provider zones hold them. A line of such a record is
// taken apart by hand and written out in context-free form, its domain names made absolute, so that the
// record is kept rather than turned into a comment.
struct LegacyRecord
{
    QString owner;
    QByteArray ttl; // as written; empty when the line gives none
    QString className;
    QString type;
    QString data;
};

// The record on one line of zone text (no parentheses), or none when the line holds no record of such a type.
// A line without an owner belongs to the previous owner (absolute); relative names are completed with the
// origin (absolute).
std::optional<LegacyRecord> readLegacyRecord(QByteArrayView line, const QByteArray& origin,
                                             const QByteArray& previousOwner);
