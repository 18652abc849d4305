#include "checks/ipv4address.h"
#include "checks/ipv6address.h"
#include "secondary/secondaryzones.h"
#include "serverfixture.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTest>
#include <memory>

namespace {

const QByteArray kBoot = "directory C:\\\\ns\\\\data\r\n"
                         "cache . cache.dns\r\n"
                         "primary example.com example.com.dns\r\n"
                         "secondary alpha.org 10.0.0.1 alpha.bak\r\n";

const QString kError = QStringLiteral("Error.");

QByteArray expected(const QString& name)
{
    return readBytes(testDataPath(QStringLiteral("creating/") + name));
}

} // namespace

// Secondary zones: the checks of both dialogs, and the boot file after creating, modifying and deleting one.
class TstSecondaryZones : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newNameRefusals_data();
    void newNameRefusals();
    void masterRefusals_data();
    void masterRefusals();
    void dottedAddresses_data();
    void dottedAddresses();
    void createModifyDelete();
    void modifyKeepsOldMastersWhenListIsEmpty();
    void modifyListRefusals();
    void modifyWithoutSelection();
    void masterTextHasOneTrailingBlankEach();
    void deleteAsksAndCancelKeepsEverything();
    void deleteWithoutSelection();

private:
    SecondaryContext context();

    std::unique_ptr<ServerFixture> m_server;
    int m_reloads = 0;
    int m_treeBuilds = 0;
};

void TstSecondaryZones::init()
{
    m_server = std::make_unique<ServerFixture>(kBoot);
    writeBytes(m_server->dataPath(QStringLiteral("example.com.dns")), QByteArray());
    QVERIFY(m_server->readBoot());
    m_reloads = 0;
    m_treeBuilds = 0;
}

void TstSecondaryZones::cleanup()
{
    QVERIFY2(m_server->prompter.problems().isEmpty(), qPrintable(m_server->prompter.problems().join('\n')));
    QCOMPARE(m_server->prompter.pending(), 0);
}

SecondaryContext TstSecondaryZones::context()
{
    SecondaryContext result{m_server->state, m_server->prompter, m_server->progress, {}, {}, {}};
    result.reloadBootFile = [this] {
        ++m_reloads;
        QVERIFY(m_server->readBoot());
    };
    result.rebuildSecondaryTree = [this] { ++m_treeBuilds; };
    return result;
}

void TstSecondaryZones::newNameRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const QString exists = QStringLiteral("A Zone by that name already exists.");
    QTest::newRow("primary") << "example.com"
                             << "Attention!" << exists;
    QTest::newRow("secondary") << "alpha.org"
                               << "Attention!" << exists;
    QTest::newRow("secondary in capitals") << "ALPHA.org"
                                           << "Attention!" << exists;
    QTest::newRow("primary in capitals") << "Example.Com"
                                         << "Attention!" << exists;
    QTest::newRow("bad characters") << "bad name.org" << kError
                                    << "You have entered bad characters in the name field. Re-Enter.";
    QTest::newRow("single blank") << " " << kError << "You have entered bad characters in the name field. Re-Enter.";
    QTest::newRow("empty") << "" << kError << "You must first enter a Zone Name.";
}

void TstSecondaryZones::newNameRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    m_server->prompter.expectMessage(caption, text);
    QVERIFY(!checkNewSecondaryName(m_server->state, name, m_server->prompter));
}

void TstSecondaryZones::masterRefusals_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("text");
    const QString bad = QStringLiteral("You have entered bad characters in the name field. Re-Enter.");
    const QString invalid = QStringLiteral("You have entered an invalid IP address. Re-Enter. An IP address is four "
                                           "numbers from 0 to 255 separated by dots, such as 192.168.1.10.");
    QTest::newRow("bad characters") << "10.0.0.1;" << bad;
    QTest::newRow("single blank") << " " << bad;
    QTest::newRow("shape") << "1.2.3." << invalid;
    QTest::newRow("letters") << "a.b.c.d" << invalid;
    QTest::newRow("out of range") << "10.0.0.256" << invalid;
    QTest::newRow("empty") << "" << invalid;
    QTest::newRow("IPv6 misread") << "2001:db8:::1"
                                  << "You have entered an invalid IP address. Re-Enter. " + ipv6AddressForm();
    QTest::newRow("IPv6 with a zone index") << "fe80::1%eth0" << bad;
}

void TstSecondaryZones::masterRefusals()
{
    QFETCH(QString, address);
    QFETCH(QString, text);
    m_server->prompter.expectMessage(kError, text);
    QVERIFY(!checkSecondaryMaster(address, m_server->prompter));
}

void TstSecondaryZones::dottedAddresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "10.0.0.1" << true;
    QTest::newRow("largest") << "255.255.255.255" << true;
    QTest::newRow("five parts") << "1.2.3.4.5" << false;
    QTest::newRow("part too large") << "1.2.3.300" << false;
    QTest::newRow("empty part") << "1..3.4" << false;
    QTest::newRow("letters") << "abc.de.f.g" << false;
}

void TstSecondaryZones::dottedAddresses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isIpv4Address(text), valid);
}

void TstSecondaryZones::createModifyDelete()
{
    ServerFixture& server = *m_server;
    QVERIFY(checkNewSecondaryName(server.state, QStringLiteral("Sec.Example.NET"), server.prompter));
    QVERIFY(checkSecondaryMaster(QStringLiteral("10.1.1.1"), server.prompter));
    SecondaryContext ops = context();
    QVERIFY(createSecondaryZone(ops, QStringLiteral("Sec.Example.NET"), QStringLiteral("10.1.1.1")));
    QCOMPARE(readBytes(server.bootPath()), expected(QStringLiteral("secondary_created.boot")));
    QCOMPARE(m_reloads, 1);
    QCOMPARE(m_treeBuilds, 1);
    QCOMPARE(server.state.selection.secdnsname, QStringLiteral("sec.example.net"));
    QCOMPARE(server.state.selection.secipaddr, QStringLiteral("10.1.1.1"));
    QCOMPARE(server.state.zoneLists.secdns, QStringList({"alpha.org", "sec.example.net"}));

    std::optional<SecondaryEdit> edit =
        openSecondaryEdit(server.state, QStringLiteral("SEC.example.net"), server.prompter);
    QVERIFY(edit);
    QCOMPARE(edit->name, QStringLiteral("sec.example.net"));
    QCOMPARE(edit->masters, QStringList{"10.1.1.1"});
    QVERIFY(addSecondaryMaster(edit->masters, QStringLiteral("10.1.1.2"), server.prompter));
    QVERIFY(addSecondaryMaster(edit->masters, QStringLiteral("10.1.1.3"), server.prompter));
    QVERIFY(saveSecondaryZone(ops, *edit));
    QCOMPARE(readBytes(server.bootPath()), expected(QStringLiteral("secondary_modified.boot")));
    const QString entry = QStringLiteral("sec.example.net     10.1.1.1 10.1.1.2 10.1.1.3      sec.example.net.DNS");
    QVERIFY(server.state.boot.secondaryEntries.contains(entry));

    // The backup file a name server kept for the zone outlives the zone.
    writeBytes(server.dataPath(QStringLiteral("sec.example.net.DNS")), "backup\r\n");
    server.state.debugLog.setPath(server.path(QStringLiteral("dns.log")));
    QVERIFY(server.state.debugLog.switchOn(QStringLiteral("now")));
    server.state.zoneLists.skipNextDeleteQuestion = true;
    server.progress.steps.clear();
    QCOMPARE(deleteSecondaryZone(ops), SecondaryDeletion::Deleted);
    QVERIFY(!server.state.zoneLists.skipNextDeleteQuestion);
    QCOMPARE(readBytes(server.bootPath()), expected(QStringLiteral("secondary_deleted.boot")));
    QCOMPARE(server.state.zoneLists.secdns, QStringList{"alpha.org"});
    QVERIFY(server.state.selection.secdnsname.isEmpty());
    QVERIFY(server.state.selection.secipaddr.isEmpty());
    QVERIFY(QFile::exists(server.dataPath(QStringLiteral("sec.example.net.DNS"))));
    QCOMPARE(server.progress.steps, QStringList({"show", "50", "75", "100", "hide"}));
    QList<QByteArray> log = readBytes(server.path(QStringLiteral("dns.log"))).split('\n');
    for (QByteArray& line : log)
        line = line.trimmed();
    const qsizetype begin = log.indexOf("--Begin Deleting Secondary: sec.example.net");
    const qsizetype end = log.indexOf("--End Deleting Secondary: sec.example.net");
    QVERIFY(begin > 0);
    QVERIFY(end > begin);
}

void TstSecondaryZones::modifyKeepsOldMastersWhenListIsEmpty()
{
    ServerFixture& server = *m_server;
    server.state.selection.secdnsname = QStringLiteral("alpha.org");
    std::optional<SecondaryEdit> edit = openSecondaryEdit(server.state, QStringLiteral("alpha.org"), server.prompter);
    QVERIFY(edit);
    QVERIFY(deleteSecondaryMaster(edit->masters, 0, server.prompter));
    const QByteArray before = readBytes(server.bootPath());
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("You must have at least one corresponding IP."));
    SecondaryContext ops = context();
    QVERIFY(!saveSecondaryZone(ops, *edit));
    QCOMPARE(readBytes(server.bootPath()), before);
    QVERIFY(server.state.boot.secondaryEntries.contains(QStringLiteral("alpha.org     10.0.0.1     alpha.bak")));
}

void TstSecondaryZones::modifyListRefusals()
{
    QStringList masters{QStringLiteral("10.0.0.1")};
    ScriptedPrompter& prompter = m_server->prompter;
    prompter.expectMessage(kError,
                           QStringLiteral("Your IP address is entered incorrectly. Re-Enter. An IP address is four "
                                          "numbers from 0 to 255 separated by dots, such as 192.168.1.10."));
    QVERIFY(!addSecondaryMaster(masters, QStringLiteral("10.0.0"), prompter));
    prompter.expectMessage(kError,
                           QStringLiteral("Your IP address is entered incorrectly. Re-Enter. An IP address is four "
                                          "numbers from 0 to 255 separated by dots, such as 192.168.1.10."));
    QVERIFY(!addSecondaryMaster(masters, QStringLiteral("10.0.0.1;"), prompter));
    QVERIFY(addSecondaryMaster(masters, QStringLiteral("10.0.0.1"), prompter));
    QCOMPARE(masters, QStringList({"10.0.0.1", "10.0.0.1"}));
    prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must first select an IP."));
    QVERIFY(!deleteSecondaryMaster(masters, -1, prompter));
    QCOMPARE(masters.size(), 2);
    // BIND takes a master of either family.
    QStringList ipv6{QStringLiteral("10.0.0.1")};
    QVERIFY(checkSecondaryMaster(QStringLiteral("2001:db8::53"), prompter));
    QVERIFY(addSecondaryMaster(ipv6, QStringLiteral("2001:db8::53"), prompter));
    QCOMPARE(ipv6, QStringList({"10.0.0.1", "2001:db8::53"}));
}

void TstSecondaryZones::modifyWithoutSelection()
{
    m_server->prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
    QVERIFY(!openSecondaryEdit(m_server->state, QStringLiteral(" "), m_server->prompter));
}

void TstSecondaryZones::masterTextHasOneTrailingBlankEach()
{
    QCOMPARE(secondaryMasterText({"10.0.0.1 ", "10.0.0.2", "10.0.0.3"}), QStringLiteral("10.0.0.1 10.0.0.2 10.0.0.3 "));
    QCOMPARE(secondaryMasterText({}), QString());
}

void TstSecondaryZones::deleteAsksAndCancelKeepsEverything()
{
    ServerFixture& server = *m_server;
    server.state.selection.secdnsname = QStringLiteral("alpha.org");
    const QByteArray before = readBytes(server.bootPath());
    server.prompter.expectMessage(QStringLiteral("Question!"),
                                  QStringLiteral("Are you sure you want to delete alpha.org?"),
                                  Prompter::Button::Cancel);
    SecondaryContext ops = context();
    QCOMPARE(deleteSecondaryZone(ops), SecondaryDeletion::Cancelled);
    QCOMPARE(readBytes(server.bootPath()), before);
    QCOMPARE(server.state.zoneLists.secdns, QStringList{"alpha.org"});

    server.prompter.expectMessage(QStringLiteral("Question!"),
                                  QStringLiteral("Are you sure you want to delete alpha.org?"), Prompter::Button::Ok);
    QCOMPARE(deleteSecondaryZone(ops), SecondaryDeletion::Deleted);
    QVERIFY(server.state.zoneLists.secdns.isEmpty());
    QVERIFY(server.state.boot.secondaryEntries.isEmpty());
    QCOMPARE(m_reloads, 1);
}

void TstSecondaryZones::deleteWithoutSelection()
{
    m_server->prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
    SecondaryContext ops = context();
    QCOMPARE(deleteSecondaryZone(ops), SecondaryDeletion::NothingSelected);
}

QTEST_GUILESS_MAIN(TstSecondaryZones)
#include "tst_secondaryzones.moc"
