#include "bind9/catalogzone.h"

#include "bootfile/bootlines.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

namespace {

QString absoluteName(const QString& name)
{
    return name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.');
}

// The serial of a catalog file this program wrote; 0 when there is none.
quint32 serialOf(const QByteArray& text)
{
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields.at(0) == "@" && fields.at(2) == "SOA")
            return fields.at(5).toUInt();
    }
    return 0;
}

} // namespace

QString catalogFileName(const QString& catalogZone)
{
    QString name = catalogZone.toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name + QStringLiteral(".catalog");
}

QString catalogMemberLabel(const QString& zone)
{
    QString name = zone.toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

QByteArray catalogZoneText(const QString& catalogZone, const QStringList& members, quint32 serial)
{
    QStringList lines{QStringLiteral("; Catalog zone of the primary zones, made by Quorvane 2.0"),
                      QStringLiteral("$ORIGIN ") + absoluteName(catalogZone),
                      QStringLiteral("$TTL 0"),
                      QStringLiteral("@ IN SOA invalid. invalid. %1 60 60 86400 0").arg(serial),
                      QStringLiteral("@ IN NS invalid."),
                      QStringLiteral("version IN TXT \"2\"")};
    for (const QString& zone : members)
        lines << catalogMemberLabel(zone) + QStringLiteral(".zones IN PTR ") + absoluteName(zone);
    return crlfLines(lines);
}

CatalogWriteResult writeCatalogZone(const QString& path, const QString& catalogZone, const QStringList& members,
                                    quint32 clockSerial)
{
    CatalogWriteResult result;
    const QByteArray old = readWholeFile(path, ReadLimit::kZoneFile).bytes.value_or(QByteArray());
    const quint32 oldSerial = serialOf(old);
    if (!old.isEmpty() && catalogZoneText(catalogZone, members, oldSerial) == old) {
        result.serial = oldSerial;
        return result;
    }
    result.serial = std::max(oldSerial + 1, clockSerial);
    result.changed = true;
    if (const FileWriteResult written = replaceFile(path, catalogZoneText(catalogZone, members, result.serial));
        !written.ok) {
        result.ok = false;
        result.errorText = QStringLiteral("The catalog zone file ") + written.errorText;
    }
    return result;
}
