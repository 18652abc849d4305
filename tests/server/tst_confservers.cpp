// BIND 9 servers taken over as they are, through the real quorvane-cli, over the named.conf fixtures of
// tests/data/namedconf (each headed by what it exercises): the zones the program lists are those BIND itself reads;
// a record and a zone added, changed and deleted leave every file of the configuration byte for byte as it was but
// the statement changed or the one include line added; named-checkconf -z passes after every step. Then the
// configurations BIND refuses: obsolete options offered for removal, a fault in an included file named where it
// is; and the settings of a server of its own.
#include "support/clirun.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// What named-checkconf -p prints, read without the program's own reader: "VIEW/ZONE TYPE" per zone, the view
// "-" outside views, the type "in-view" for a zone another view lends.
QStringList zonesBindReads(const QString& confFile)
{
    QProcess tool;
    tool.setWorkingDirectory(QFileInfo(confFile).absolutePath());
    tool.start(QStringLiteral("named-checkconf"), {QStringLiteral("-p"), confFile});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {QStringLiteral("named-checkconf failed: ") + QString::fromLocal8Bit(tool.readAllStandardError())};
    static const QRegularExpression viewLine(QStringLiteral("^view \"([^\"]+)\""));
    static const QRegularExpression zoneLine(QStringLiteral("^\\t*zone \"([^\"]+)\""));
    static const QRegularExpression typeLine(QStringLiteral("^\\t+(type|in-view) \"?([^\";]+)\"?;"));
    QStringList zones;
    QString view = QStringLiteral("-");
    QString zone;
    for (const QString& line : QString::fromLocal8Bit(tool.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch match = viewLine.match(line); match.hasMatch())
            view = match.captured(1);
        else if (line.startsWith(QLatin1String("};")))
            view = QStringLiteral("-");
        else if (const QRegularExpressionMatch match = zoneLine.match(line); match.hasMatch())
            zone = match.captured(1);
        else if (const QRegularExpressionMatch match = typeLine.match(line); match.hasMatch() && !zone.isEmpty()) {
            zones << view + QLatin1Char('/') + zone + QLatin1Char(' ') +
                         (match.captured(1) == QLatin1String("in-view") ? QStringLiteral("in-view")
                                                                        : match.captured(2));
            zone.clear();
        }
    }
    zones.sort();
    return zones;
}

// Whether named-checkconf -z takes the configuration; its complaint otherwise.
QString bindRefusal(const QString& confFile)
{
    QProcess tool;
    tool.setWorkingDirectory(QFileInfo(confFile).absolutePath());
    tool.start(QStringLiteral("named-checkconf"), {QStringLiteral("-z"), confFile});
    if (!tool.waitForFinished(60000))
        return QStringLiteral("named-checkconf did not end");
    return tool.exitCode() == 0 ? QString()
                                : QString::fromLocal8Bit(tool.readAllStandardOutput() + tool.readAllStandardError());
}

// The lines of `before` that `after` lacks, when `after` is `before` with one run of lines taken out; none when
// it is not.
std::optional<QStringList> removedRun(const QByteArray& before, const QByteArray& after)
{
    const QList<QByteArray> old = before.split('\n');
    const QList<QByteArray> now = after.split('\n');
    qsizetype head = 0;
    while (head < now.size() && head < old.size() && old.at(head) == now.at(head))
        ++head;
    const qsizetype removed = old.size() - now.size();
    if (removed <= 0)
        return std::nullopt;
    for (qsizetype i = head; i < now.size(); ++i) {
        if (now.at(i) != old.at(i + removed))
            return std::nullopt;
    }
    QStringList lines;
    for (qsizetype i = head; i < head + removed; ++i)
        lines << QString::fromLatin1(old.at(i));
    return lines;
}

} // namespace

class TstConfServers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void zonesAreThoseBindReads_data();
    void zonesAreThoseBindReads();
    void changesTouchOnlyTheirStatement_data();
    void changesTouchOnlyTheirStatement();
    void obsoleteOptionsAreOfferedForRemoval();
    void aFaultInAnIncludedFileIsNamedWhereItIs();
    void nothingIsWrittenWhileBindRefusesTheConfiguration();
    void aZoneAddedToViewsNeedsItsView();
    void serverSettingsAreTheServersOwn();

private:
    QString conf() const { return m_dir->filePath(QStringLiteral("conf/named.conf")); }
    // Copies the fixture into the test's folder, its placeholders for Debian's folders made the copy's own.
    void copyFixture(const QString& name);
    CliRun cli(const QStringList& arguments, const QString& answers = QString()) const;
    // Every file of the copied configuration but the zone data the test changes and the program's backup folder.
    QMap<QString, QByteArray> configurationFiles() const;
    QStringList listedZones() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstConfServers::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstConfServers::copyFixture(const QString& name)
{
    const QString source = testDataPath(QStringLiteral("namedconf/") + name);
    const QString target = m_dir->filePath(QStringLiteral("conf"));
    QDir().mkpath(m_dir->filePath(QStringLiteral("cache")));
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = QDir(target).filePath(QDir(source).relativeFilePath(file));
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QByteArray bytes = readBytes(file);
        bytes.replace("@ETC@", target.toUtf8()).replace("@CACHE@", m_dir->filePath(QStringLiteral("cache")).toUtf8());
        QVERIFY(writeBytes(copy, bytes));
    }
}

CliRun TstConfServers::cli(const QStringList& arguments, const QString& answers) const
{
    QStringList all;
    if (!answers.isEmpty())
        all << QStringLiteral("--answers") << answers;
    return runCli(all + arguments, m_dir->path());
}

QMap<QString, QByteArray> TstConfServers::configurationFiles() const
{
    QMap<QString, QByteArray> files;
    const QDir root(m_dir->filePath(QStringLiteral("conf")));
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = root.relativeFilePath(it.next());
        if (!file.contains(QLatin1String("dnsbackup/")) && !file.endsWith(QLatin1String(".db")) &&
            !file.endsWith(QLatin1String(".DNS")) && !file.startsWith(QLatin1String("db.")) &&
            !file.contains(QLatin1String(".lock")))
            files.insert(file, readBytes(root.filePath(file)));
    }
    return files;
}

QStringList TstConfServers::listedZones() const
{
    const CliRun run = cli({QStringLiteral("server"), QStringLiteral("zones"), QStringLiteral("ns1")});
    if (run.status != 0)
        return {QStringLiteral("server zones failed: ") + QString::fromLocal8Bit(run.err)};
    QStringList zones;
    for (const QString& line : QString::fromLocal8Bit(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        const QString type =
            fields.value(2).startsWith(QLatin1String("in-view")) ? QStringLiteral("in-view") : fields.value(2);
        zones << fields.value(0) + QLatin1Char('/') + fields.value(1) + QLatin1Char(' ') + type;
    }
    zones.sort();
    return zones;
}

void TstConfServers::zonesAreThoseBindReads_data()
{
    QTest::addColumn<QString>("fixture");
    for (const char* name :
         {"debian", "nested", "views", "spellings", "inview", "keys", "comments", "dynamic", "catalog"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TstConfServers::zonesAreThoseBindReads()
{
    QFETCH(QString, fixture);
    copyFixture(fixture);
    const QMap<QString, QByteArray> before = configurationFiles();
    const CliRun taken = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()});
    QVERIFY2(taken.status == 0, taken.err.constData());
    const QStringList bind = zonesBindReads(conf());
    QVERIFY(!bind.isEmpty());
    QCOMPARE(listedZones(), bind);
    // Taking it over changed nothing.
    QCOMPARE(configurationFiles(), before);
}

void TstConfServers::changesTouchOnlyTheirStatement_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("zone");       // a primary zone whose records change
    QTest::addColumn<QString>("view");       // its view, and the view a new zone goes into
    QTest::addColumn<int>("others");         // its records of other kinds before (the host editor's checks want a
                                             // known top-level domain, which localhost has not)
    QTest::addColumn<QString>("deleted");    // a zone of the administrator's to delete
    QTest::addColumn<QString>("includedIn"); // the file that gets the include line
    QTest::newRow("debian") << "debian"
                            << "localhost"
                            << "" << 1 << "255.in-addr.arpa"
                            << "named.conf";
    QTest::newRow("nested") << "nested"
                            << "example.com"
                            << "" << 0 << "example.org"
                            << "named.conf";
    QTest::newRow("views") << "views"
                           << "example.com"
                           << "external" << 0 << "intranet.example.com"
                           << "named.conf";
    QTest::newRow("spellings") << "spellings"
                               << "old.example"
                               << "" << 0 << "copy-old.example"
                               << "named.conf";
    QTest::newRow("keys") << "keys"
                          << "example.com"
                          << "" << 0 << ""
                          << "named.conf";
    QTest::newRow("comments") << "comments"
                              << "example.com"
                              << "" << 0 << "braces.example"
                              << "named.conf";
    QTest::newRow("catalog") << "catalog"
                             << "example.com"
                             << "" << 0 << ""
                             << "named.conf";
}

void TstConfServers::changesTouchOnlyTheirStatement()
{
    QFETCH(QString, fixture);
    QFETCH(QString, zone);
    QFETCH(QString, view);
    QFETCH(int, others);
    QFETCH(QString, deleted);
    QFETCH(QString, includedIn);
    copyFixture(fixture);
    QVERIFY(cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()}).status == 0);
    const QStringList viewOption = view.isEmpty() ? QStringList() : QStringList{QStringLiteral("--view"), view};
    const QMap<QString, QByteArray> taken = configurationFiles();

    // A record added, changed and deleted: the zone's file changes, the configuration not at all.
    const QString index = QString::number(others + 1);
    for (const QStringList& step :
         {QStringList{"record", "add", "ns1", zone, "other", "probe", "-", "A", "192.0.2.99"},
          QStringList{"record", "change", "ns1", zone, "other", index, "probe2", "-", "A", "192.0.2.98"},
          QStringList{"record", "delete", "ns1", zone, "other", index}}) {
        const CliRun run = cli(step + viewOption, QStringLiteral("ok,ok,ok"));
        QVERIFY2(run.status == 0, qPrintable(step.join(' ') + ": " + QString::fromLocal8Bit(run.err)));
        QCOMPARE(configurationFiles(), taken);
        QCOMPARE(bindRefusal(conf()), QString());
    }

    // A zone added: the include line, once, after the question that names the file and line; the program's file.
    const CliRun added =
        cli(QStringList{"zone", "fastadd", "ns1", "added.example.com"} + viewOption, QStringLiteral("yes,ok,ok"));
    QVERIFY2(added.status == 0, added.err.constData());
    QVERIFY2(added.err.contains("Add the line include"), added.err.constData());
    QCOMPARE(bindRefusal(conf()), QString());
    QVERIFY(listedZones().contains((view.isEmpty() ? QStringLiteral("-") : view) +
                                   QStringLiteral("/added.example.com primary")));
    QMap<QString, QByteArray> withZone = configurationFiles();
    const QString zonesFile =
        view.isEmpty() ? QStringLiteral("quorvane-zones.conf") : QStringLiteral("quorvane-zones-%1.conf").arg(view);
    QVERIFY(withZone.contains(zonesFile));
    QVERIFY(withZone.value(zonesFile).contains("zone \"added.example.com\""));
    const std::optional<QStringList> includeLine = removedRun(withZone.value(includedIn), taken.value(includedIn));
    QVERIFY2(includeLine && includeLine->size() == 1 && includeLine->first().trimmed().startsWith("include \""),
             withZone.value(includedIn).constData());
    QMap<QString, QByteArray> untouched = withZone;
    untouched.remove(zonesFile);
    untouched[includedIn] = taken.value(includedIn);
    QCOMPARE(untouched, taken);

    // The zone deleted again: its statement leaves the program's file, nothing else changes.
    const CliRun gone =
        cli(QStringList{"zone", "delete", "ns1", "added.example.com"} + viewOption, QStringLiteral("ok"));
    QVERIFY2(gone.status == 0, gone.err.constData());
    QCOMPARE(bindRefusal(conf()), QString());
    QMap<QString, QByteArray> now = configurationFiles();
    QVERIFY(!now.value(zonesFile).contains("added.example.com"));
    now[zonesFile] = withZone.value(zonesFile);
    QCOMPARE(now, withZone);

    if (deleted.isEmpty())
        return;
    // A zone of the administrator's: only after the question naming file and line, and only its statement goes.
    const QMap<QString, QByteArray> before = configurationFiles();
    const bool secondary =
        listedZones().filter(QStringLiteral("/") + deleted + QLatin1Char(' ')).value(0).contains(QLatin1String(" s"));
    const QStringList command =
        secondary ? QStringList{"secondary", "delete", "ns1", deleted} : QStringList{"zone", "delete", "ns1", deleted};
    const CliRun refused = cli(command + viewOption, QStringLiteral("ok,no"));
    QCOMPARE(configurationFiles(), before);
    const CliRun removed = cli(command + viewOption, QStringLiteral("ok,yes"));
    QVERIFY2(removed.status == 0, removed.err.constData());
    QVERIFY2(removed.err.contains(" line "), removed.err.constData());
    QCOMPARE(bindRefusal(conf()), QString());
    QVERIFY(!listedZones().join(' ').contains(QLatin1Char('/') + deleted + QLatin1Char(' ')));
    const QMap<QString, QByteArray> after = configurationFiles();
    int changedFiles = 0;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (after.value(it.key()) == it.value())
            continue;
        ++changedFiles;
        const std::optional<QStringList> lines = removedRun(it.value(), after.value(it.key()));
        QVERIFY2(lines && lines->first().contains(QStringLiteral("zone \"%1\"").arg(deleted)) &&
                     lines->last().trimmed() == QLatin1String("};"),
                 qPrintable(it.key()));
    }
    QCOMPARE(changedFiles, 1);
    Q_UNUSED(refused);
}

void TstConfServers::obsoleteOptionsAreOfferedForRemoval()
{
    copyFixture(QStringLiteral("obsolete"));
    const QByteArray original = readBytes(conf());
    QVERIFY(!bindRefusal(conf()).isEmpty());
    const CliRun taken = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()},
                             QStringLiteral("yes,yes"));
    QVERIFY2(taken.status == 0, taken.err.constData());
    const QString err = QString::fromLocal8Bit(taken.err);
    // BIND's own words first, then one question per line.
    QVERIFY2(err.contains(QLatin1String("option 'dnssec-enable' no longer exists")), qPrintable(err));
    QVERIFY2(err.contains(conf() + QStringLiteral(" line 6 holds the option \"dnssec-enable\"")), qPrintable(err));
    QVERIFY2(err.contains(conf() + QStringLiteral(" line 7 holds the option \"dnssec-lookaside\"")), qPrintable(err));
    QCOMPARE(bindRefusal(conf()), QString());
    QByteArray expected = original;
    expected.replace("\tdnssec-enable yes;\n\tdnssec-lookaside auto;\n", "");
    QCOMPARE(readBytes(conf()), expected);
    QCOMPARE(listedZones(), QStringList{QStringLiteral("-/example.com primary")});
}

void TstConfServers::aFaultInAnIncludedFileIsNamedWhereItIs()
{
    copyFixture(QStringLiteral("nested"));
    // The last statement of the innermost file without its ";": BIND names the line that includes it.
    const QString inner = m_dir->filePath(QStringLiteral("conf/conf/more/zones2.conf"));
    QByteArray bytes = readBytes(inner);
    bytes.chop(bytes.size() - bytes.lastIndexOf(';'));
    QVERIFY(writeBytes(inner, bytes + "\n"));
    const QMap<QString, QByteArray> before = configurationFiles();
    const CliRun taken = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()});
    QCOMPARE(taken.status, 1);
    const QString err = QString::fromLocal8Bit(taken.err);
    QVERIFY2(err.contains(QStringLiteral("BIND says: ")), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("The fault is in %1 line 5: a statement is not ended by \";\"").arg(inner)),
             qPrintable(err));
    QCOMPARE(configurationFiles(), before);
    // Mended, it is taken over by the same name: the failed attempt left nothing in the list.
    QVERIFY(writeBytes(inner, bytes + ";\n"));
    const CliRun again = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()});
    QVERIFY2(again.status == 0, again.err.constData());
}

void TstConfServers::nothingIsWrittenWhileBindRefusesTheConfiguration()
{
    copyFixture(QStringLiteral("obsolete"));
    const QMap<QString, QByteArray> before = configurationFiles();
    // The options are kept: BIND goes on refusing, the zones are still listed, and no zone can be added.
    const CliRun taken = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()},
                             QStringLiteral("no,no"));
    QCOMPARE(taken.status, 0);
    QCOMPARE(listedZones(), QStringList{QStringLiteral("-/example.com primary")});
    const CliRun added = cli(
        {QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("ns1"), QStringLiteral("added.example.com")},
        QStringLiteral("yes,ok,ok"));
    QCOMPARE(added.status, 1);
    QVERIFY2(added.err.contains("so no zone can be added until it is mended"), added.err.constData());
    QCOMPARE(configurationFiles(), before);
}

void TstConfServers::aZoneAddedToViewsNeedsItsView()
{
    copyFixture(QStringLiteral("views"));
    QVERIFY(cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()}).status == 0);
    const QMap<QString, QByteArray> before = configurationFiles();
    for (const QStringList& viewOption :
         {QStringList(), QStringList{QStringLiteral("--view"), QStringLiteral("dmz")}}) {
        const CliRun added = cli(QStringList{QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("ns1"),
                                             QStringLiteral("added.example.com")} +
                                     viewOption,
                                 QStringLiteral("yes,ok,ok"));
        QCOMPARE(added.status, 1);
        QVERIFY2(added.err.contains(viewOption.isEmpty() ? "keeps its zones in views (internal, external)"
                                                         : "The configuration has no view dmz."),
                 added.err.constData());
        QCOMPARE(configurationFiles(), before);
    }
    QVERIFY(!listedZones().join(' ').contains(QLatin1String("added.example.com")));
}

void TstConfServers::serverSettingsAreTheServersOwn()
{
    copyFixture(QStringLiteral("keys"));
    QVERIFY(cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf()}).status == 0);
    QVERIFY(cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns2"), conf()}).status == 0);
    const CliRun set = cli({QStringLiteral("server"), QStringLiteral("settings"), QStringLiteral("ns1"),
                            QStringLiteral("Extra Options=recursion no; notify no;"), QStringLiteral("Port=5353")});
    QVERIFY2(set.status == 0, set.err.constData());
    const CliRun shown = cli({QStringLiteral("server"), QStringLiteral("settings"), QStringLiteral("ns1")});
    QVERIFY(shown.out.contains("Extra Options=recursion no; notify no;\n"));
    QVERIFY(shown.out.contains("Port=5353\n"));
    QVERIFY(shown.out.contains("Control Port=953\t(default)\n"));
    // The other server keeps the defaults.
    const CliRun other = cli({QStringLiteral("server"), QStringLiteral("settings"), QStringLiteral("ns2")});
    QVERIFY(other.out.contains("Port=53\t(default)\n"));
    QVERIFY(other.out.contains("Extra Options=\t(default)\n"));
    // A word is no port, and an unknown setting is said to be one.
    QCOMPARE(
        cli({QStringLiteral("server"), QStringLiteral("settings"), QStringLiteral("ns1"), QStringLiteral("Port=fifty")})
            .status,
        1);
    const CliRun unknown = cli(
        {QStringLiteral("server"), QStringLiteral("settings"), QStringLiteral("ns1"), QStringLiteral("Colour=blue")});
    QCOMPARE(unknown.status, 1);
    QVERIFY(unknown.err.contains("There is no setting \"Colour\""));
}

QTEST_GUILESS_MAIN(TstConfServers)
#include "tst_confservers.moc"
