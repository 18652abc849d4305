// Zone files of the test data damaged at random (bytes changed, parentheses, quotes, directives and line ends
// put in, lines doubled, files cut short): reading never crashes or hangs, every line is kept as a record or a
// comment, and what a save writes reads back into the same zone, so that a second save loses nothing.
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "support/testfiles.h"
#include "zone/zonenormaliser.h"
#include "zone/zonereader.h"
#include "zone/zonewriter.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Damaged files raise every message there is; each is answered as a user in a hurry would.
class AcceptingPrompter : public Prompter
{
public:
    Button message(const QString&, const QString&, Buttons buttons, Icon) override
    {
        return buttons.testFlag(Button::Yes) ? Button::Yes : Button::Ok;
    }
    Button askQuestion(const QString&, bool) override { return Button::Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> pick(const QString&, const QStringList&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

QByteArray mutated(QByteArray bytes, quint32 seed)
{
    static const char kSpecial[] = "()\";$\\\n\r\t@. 0A";
    QRandomGenerator random(seed);
    for (int change = 1 + int(random.bounded(4)); change > 0; --change) {
        const qsizetype at = bytes.isEmpty() ? 0 : qsizetype(random.bounded(quint32(bytes.size())));
        switch (random.bounded(6)) {
        case 0:
            if (!bytes.isEmpty())
                bytes[at] = char(random.bounded(256));
            break;
        case 1:
            bytes.insert(at, kSpecial[random.bounded(int(sizeof kSpecial - 1))]);
            break;
        case 2:
            bytes.insert(at, '\0');
            break;
        case 3:
            bytes.remove(at, qsizetype(random.bounded(40)));
            break;
        case 4: {
            const qsizetype start = bytes.lastIndexOf('\n', at) + 1;
            const qsizetype end = bytes.indexOf('\n', at);
            bytes.insert(start, bytes.mid(start, end < 0 ? -1 : end - start + 1));
            break;
        }
        default:
            bytes.truncate(at);
            break;
        }
    }
    return bytes;
}

// The whole zone as read, but for the serial each save renews, and with host lines as the writer writes them
// (an address loses a trailing dot).
QStringList everythingRead(const ZoneModel& zone)
{
    QStringList out = zone.sourceofauth.values();
    if (out.size() > 3)
        out.removeAt(3);
    out << zone.defaultTtl << zone.soaTtl;
    for (const RecordList* list :
         {&zone.nameservers, &zone.mailservers, &zone.hostaddrs, &zone.aliases, &zone.responsible, &zone.textfiles}) {
        for (const QString& line : list->lines())
            out << (list == &zone.hostaddrs ? writtenHostLine(line) : line);
        out << QStringLiteral("--");
    }
    out << zone.otherrecords.lines();
    return out;
}

} // namespace

class TstZoneMutations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void damagedFilesReadAndSaveAgainAlike_data();
    void damagedFilesReadAndSaveAgainAlike();
};

void TstZoneMutations::damagedFilesReadAndSaveAgainAlike_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<quint32>("seed");
    QDirIterator it(testDataPath(QStringLiteral("zone")), QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << it.next();
    QDirIterator editors(testDataPath(QStringLiteral("editors")), {QStringLiteral("*.dns")}, QDir::Files);
    while (editors.hasNext())
        files << editors.next();
    files.sort();
    for (const QString& path : std::as_const(files)) {
        for (quint32 seed = 1; seed <= 24; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QFileInfo(path).fileName()).arg(seed)))
                << path << seed;
    }
}

void TstZoneMutations::damagedFilesReadAndSaveAgainAlike()
{
    QFETCH(QString, path);
    QFETCH(quint32, seed);
    const QByteArray bytes = mutated(readBytes(path), seed);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("zone.dns")), bytes));

    QElapsedTimer timer;
    timer.start();
    const NormalisedZone normalised = normaliseZone(bytes, QStringLiteral("example.com"), dir.path());
    QVERIFY(normalised.ok);
    QCOMPARE(normalised.kinds.size(), normalised.lines.size());

    AppState state;
    state.zoneLists.datapath = dir.path();
    state.selection.primfilename = QStringLiteral("zone.dns");
    state.setup.runningSerial = QStringLiteral("2026120701");
    AcceptingPrompter prompter;
    NullProgress progress;
    ZoneContext context{state, prompter, progress, {}, {}};
    if (loadZone(context, QStringLiteral("zone.dns"), QStringLiteral("example.com")) != ZoneLoadStatus::Loaded ||
        state.zone.sourceofauth.isEmpty())
        return;
    const QStringList first = everythingRead(state.zone);
    // A save refused (a serial no number, say) leaves the file as it was.
    if (!saveZone(context).ok()) {
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("zone.dns"))), bytes);
        return;
    }
    QCOMPARE(loadZone(context, QStringLiteral("zone.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(everythingRead(state.zone), first);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TstZoneMutations)
#include "tst_zonemutations.moc"
