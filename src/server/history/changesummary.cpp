#include "server/history/changesummary.h"

#include "bootfile/bootconfig.h"
#include "zone/otherrecords.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

namespace {

QStringList linesOf(const std::optional<QByteArray>& bytes)
{
    if (!bytes)
        return {};
    QStringList lines = QString::fromLatin1(*bytes).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.simplified();
    lines.removeAll(QString());
    return lines;
}

// The lines only one side holds, each as often as it holds it more than the other. Counted by hash over the
// bytes as they are, so that a zone of a hundred thousand records takes a few milliseconds; only the lines that
// differ are made text.
void difference(const std::optional<QByteArray>& before, const std::optional<QByteArray>& after, QStringList& removed,
                QStringList& added)
{
    QHash<QByteArrayView, int> count;
    const auto tally = [&count](const std::optional<QByteArray>& bytes, int step) {
        if (!bytes)
            return;
        const QByteArrayView all(*bytes);
        qsizetype from = 0;
        while (from < all.size()) {
            qsizetype end = all.indexOf('\n', from);
            if (end < 0)
                end = all.size();
            count[all.sliced(from, end - from)] += step;
            from = end + 1;
        }
    };
    count.reserve((before ? before->count('\n') : 0) + 1);
    tally(before, 1);
    tally(after, -1);
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (it.value() == 0)
            continue;
        const QString text = QString::fromLatin1(it.key()).simplified();
        if (text.isEmpty())
            continue;
        for (int i = 0; i < it.value(); ++i)
            removed << text;
        for (int i = 0; i < -it.value(); ++i)
            added << text;
    }
}

QString withoutDot(QString name)
{
    if (name.size() > 1 && name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

struct Record
{
    QString kind;
    QString owner;
    QString data;
};

// The zone's own name stands for "@".
QString ownerName(const QString& owner, const QString& zone)
{
    return owner == QLatin1String("@") && !zone.isEmpty() ? zone : withoutDot(owner);
}

std::optional<Record> recordOf(const QString& line, const QString& zone)
{
    static const QMap<QString, QString> kinds{
        {QStringLiteral("A"), QStringLiteral("host")},
        {QStringLiteral("CNAME"), QStringLiteral("alias")},
        {QStringLiteral("NS"), QStringLiteral("name server")},
        {QStringLiteral("MX"), QStringLiteral("mail server")},
        {QStringLiteral("RP"), QStringLiteral("responsible person")},
        {QStringLiteral("TXT"), QStringLiteral("text")},
        {QStringLiteral("PTR"), QStringLiteral("reverse name")},
    };
    const OtherRecordFields fields = otherRecordFields(line);
    const QString type = fields.type.toUpper();
    // The start of authority spans lines of its own and is told as a whole.
    if (!fields.record || type == QLatin1String("SOA"))
        return std::nullopt;
    const QString kind = kinds.value(type, type + QStringLiteral(" record"));
    // A responsible person is told by the mailbox, not by the text record's name that follows it.
    QStringList data = fields.data.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (kind == QLatin1String("responsible person"))
        data = data.mid(0, 1);
    for (QString& word : data)
        word = withoutDot(word);
    // A time to live of the record's own is part of what changed.
    if (!fields.ttl.isEmpty())
        data.prepend(QStringLiteral("TTL ") + fields.ttl);
    return Record{kind, ownerName(fields.owner, zone), data.join(QLatin1Char(' '))};
}

} // namespace

QString describeRecordChange(const QString& zone, const QStringList& removedLines, const QStringList& addedLines)
{
    QList<Record> removed;
    QList<Record> added;
    bool otherLines = false;
    for (const QString& line : removedLines) {
        if (const auto record = recordOf(line, zone))
            removed << *record;
        else
            otherLines = true;
    }
    for (const QString& line : addedLines) {
        if (const auto record = recordOf(line, zone))
            added << *record;
        else
            otherLines = true;
    }
    // A responsible person comes with the text record its entry names.
    const auto withoutTexts = [](QList<Record>& records) {
        const bool person = std::any_of(records.cbegin(), records.cend(), [](const Record& record) {
            return record.kind == QLatin1String("responsible person");
        });
        if (person)
            records.removeIf([](const Record& record) { return record.kind == QLatin1String("text"); });
    };
    withoutTexts(removed);
    withoutTexts(added);
    if (removed.isEmpty() && added.isEmpty())
        return otherLines ? startOfAuthorityChange(zone) : QString();
    if (removed.isEmpty() && added.size() == 1)
        return QStringLiteral("Add %1 %2 %3").arg(added[0].kind, added[0].owner, added[0].data);
    if (added.isEmpty() && removed.size() == 1)
        return QStringLiteral("Delete %1 %2 %3").arg(removed[0].kind, removed[0].owner, removed[0].data);
    if (added.size() == 1 && removed.size() == 1 && added[0].kind == removed[0].kind) {
        if (added[0].owner.compare(removed[0].owner, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Change %1 %2 %3 to %4")
                .arg(added[0].kind, added[0].owner, removed[0].data, added[0].data);
        return QStringLiteral("Change %1 %2 %3 to %4 %5")
            .arg(added[0].kind, removed[0].owner, removed[0].data, added[0].owner, added[0].data);
    }
    return QStringLiteral("Change zone %1: %2 records added, %3 removed")
        .arg(zone)
        .arg(added.size())
        .arg(removed.size());
}

QString startOfAuthorityChange(const QString& zone)
{
    return QStringLiteral("Change start of authority of %1").arg(zone);
}

namespace {

struct BootEntry
{
    QString kind; // "primary" or "secondary"
    QString zone;
    QString file;
};

std::optional<BootEntry> bootEntryOf(const QString& line)
{
    const QStringList words = line.split(QLatin1Char(' '));
    if (words.size() < 3)
        return std::nullopt;
    const QString kind = words.at(0).toLower().section(QLatin1Char('/'), 0, 0);
    if (kind != QLatin1String("primary") && kind != QLatin1String("secondary"))
        return std::nullopt;
    return BootEntry{kind, words.at(1).toLower(), words.last().toLower()};
}

bool isReverseZone(const QString& zone)
{
    return zone.endsWith(QLatin1String(".in-addr.arpa"));
}

bool isReverseFile(const FileChange& change)
{
    static const QByteArray mark(";QUORVANE REVERSE MAPPING FILE");
    return (change.before && change.before->contains(mark)) || (change.after && change.after->contains(mark));
}

} // namespace

QString describeChange(const QList<FileChange>& changes)
{
    QStringList phrases;
    QMap<QString, QString> zoneOfFile;
    QStringList zoneFilesTold;
    // The reverse zones' lines come and go with reverse generation, which is told by its files instead.
    QStringList reversePhrases;
    int reverseFiles = 0;
    for (const FileChange& change : changes) {
        if (change.name != BootConfig::fileName())
            continue;
        for (const QString& line : linesOf(change.before) + linesOf(change.after)) {
            if (const auto entry = bootEntryOf(line))
                zoneOfFile.insert(entry->file, entry->zone);
        }
        QStringList removed;
        QStringList added;
        difference(change.before, change.after, removed, added);
        QMap<QString, QString> removedZones;
        QMap<QString, QString> addedZones;
        bool options = false;
        for (const QString& line : removed) {
            if (const auto entry = bootEntryOf(line))
                removedZones.insert(entry->zone, entry->kind);
            else if (!line.startsWith(QLatin1Char(';')))
                options = true;
        }
        for (const QString& line : added) {
            if (const auto entry = bootEntryOf(line))
                addedZones.insert(entry->zone, entry->kind);
            else if (!line.startsWith(QLatin1Char(';')))
                options = true;
        }
        for (auto it = addedZones.cbegin(); it != addedZones.cend(); ++it) {
            QStringList& into = isReverseZone(it.key()) ? reversePhrases : phrases;
            if (removedZones.contains(it.key()))
                into << QStringLiteral("Change %1 zone %2").arg(it.value(), it.key());
            else
                into << QStringLiteral("Add %1 zone %2").arg(it.value(), it.key());
        }
        for (auto it = removedZones.cbegin(); it != removedZones.cend(); ++it) {
            if (!addedZones.contains(it.key()))
                (isReverseZone(it.key()) ? reversePhrases : phrases)
                    << QStringLiteral("Delete %1 zone %2").arg(it.value(), it.key());
        }
        for (auto it = addedZones.cbegin(); it != addedZones.cend(); ++it)
            zoneFilesTold << zoneOfFile.key(it.key());
        for (auto it = removedZones.cbegin(); it != removedZones.cend(); ++it)
            zoneFilesTold << zoneOfFile.key(it.key());
        if (options)
            phrases << QStringLiteral("Change boot options");
    }
    for (const FileChange& change : changes) {
        if (change.name == BootConfig::fileName())
            continue;
        if (isReverseFile(change)) {
            ++reverseFiles;
            continue;
        }
        if (zoneFilesTold.contains(change.name.toLower()))
            continue;
        QString zone = zoneOfFile.value(change.name.toLower());
        if (zone.isEmpty()) {
            zone = change.name;
            if (zone.endsWith(QLatin1String(".dns"), Qt::CaseInsensitive))
                zone.chop(4);
        }
        if (!change.after && change.before) {
            phrases << QStringLiteral("Delete file %1").arg(change.name);
            continue;
        }
        QStringList removed;
        QStringList added;
        difference(change.before, change.after, removed, added);
        const QString phrase = change.name.compare(QLatin1String("cache.dns"), Qt::CaseInsensitive) == 0
                                   ? QStringLiteral("Install root cache")
                                   : describeRecordChange(zone, removed, added);
        if (!phrase.isEmpty())
            phrases << phrase;
    }
    if (reverseFiles > 0)
        phrases << QStringLiteral("Reverse mapping: %1 files").arg(reverseFiles);
    else
        phrases << reversePhrases;
    if (phrases.isEmpty()) {
        QStringList names;
        for (const FileChange& change : changes)
            names << change.name;
        return QStringLiteral("Change %1").arg(names.join(QStringLiteral(", ")));
    }
    return phrases.join(QStringLiteral("; "));
}
