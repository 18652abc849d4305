#include "checks/delegatedtlds.h"
#include "checks/namechecks.h"
#include "checks/tldlist.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kInstalledList = QStringLiteral("/usr/share/publicsuffix/public_suffix_list.dat");

QSet<QString> builtInSet()
{
    QSet<QString> set;
    for (const char* name : builtInDelegatedTlds())
        set.insert(QString::fromLatin1(name));
    return set;
}

} // namespace

// The top-level domains the name checks know beyond the user's list: read from the distribution's public suffix
// list, or from the built-in copy on a machine without it.
class TstDelegatedTlds : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTheTopLevelDomainsOfAList();
    void fallsBackToTheBuiltInCopy_data();
    void fallsBackToTheBuiltInCopy();
    void builtInCopyHoldsEveryDomainOfTheInstalledList();
    void newerDomainsAreKnown_data();
    void newerDomainsAreKnown();
    void userListStaysAsItWas();
    void environmentNamesAnotherList();
};

void TstDelegatedTlds::readsTheTopLevelDomainsOfAList()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.dat"));
    // Rules of every kind the real list holds: plain, below a domain, wildcards, exceptions, international names in
    // either form, comments after a blank, the reverse tree, and one made up so that the file is seen to be read.
    QVERIFY(writeBytes(path, QByteArray("// ===BEGIN ICANN DOMAINS===\n"
                                        "com\n"
                                        "co.uk\n"
                                        "*.ck\n"
                                        "!www.ck\n"
                                        "\xe4\xb8\xad\xe5\x9b\xbd\n"
                                        "xn--p1ai\n"
                                        "blogspot.com.br  // a private rule\n"
                                        "in-addr.arpa\n"
                                        "arpa\n"
                                        "\n"
                                        "  Zzquorvane\r\n")));
    const std::optional<QSet<QString>> tlds = readPublicSuffixTlds(path);
    QVERIFY(tlds);
    QCOMPARE(*tlds, QSet<QString>({"com", "uk", "ck", "xn--fiqs8s", "xn--p1ai", "br", "zzquorvane"}));
    TldList list;
    list.setDelegatedTlds(delegatedTlds(path));
    QVERIFY(endsWithKnownTld(QStringLiteral("ns.example.zzquorvane."), list));
    QVERIFY(!endsWithKnownTld(QStringLiteral("ns.example.dev."), list));
}

void TstDelegatedTlds::fallsBackToTheBuiltInCopy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // none: no file is made
    QTest::newRow("missing") << "missing.dat" << QByteArray();
    QTest::newRow("a folder") << "folder" << QByteArray();
    QTest::newRow("empty") << "empty.dat" << QByteArray("");
    QTest::newRow("comments only") << "comments.dat" << QByteArray("// nothing\n// here\n");
}

void TstDelegatedTlds::fallsBackToTheBuiltInCopy()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (name == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (!content.isNull())
        QVERIFY(writeBytes(path, content));
    QVERIFY(!readPublicSuffixTlds(path));
    const TldSet tlds = delegatedTlds(path);
    QCOMPARE(*tlds, builtInSet());
    QVERIFY(tlds->contains(QStringLiteral("dev")));
    QVERIFY(!tlds->contains(QStringLiteral("arpa")));
}

void TstDelegatedTlds::builtInCopyHoldsEveryDomainOfTheInstalledList()
{
    QVERIFY2(QFile::exists(kInstalledList), "the publicsuffix package (scripts/deps.sh test) must be installed");
    const std::optional<QSet<QString>> installed = readPublicSuffixTlds(kInstalledList);
    QVERIFY(installed);
    QVERIFY(installed->size() > 1000);
    const QSet<QString> missing = *installed - builtInSet();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("run scripts/update-tld-fallback; the built-in copy lacks ") +
                                           QStringList(missing.begin(), missing.end()).join(QLatin1Char(' '))));
}

void TstDelegatedTlds::newerDomainsAreKnown_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    for (const QString& list : {kInstalledList, QStringLiteral("/nonexistent/public_suffix_list.dat")}) {
        const QString tag = list == kInstalledList ? QStringLiteral("installed list: ") : QStringLiteral("no list: ");
        QTest::newRow(qPrintable(tag + "eu")) << list << "mx.provider.eu." << true;
        QTest::newRow(qPrintable(tag + "dev")) << list << "example.dev" << true;
        QTest::newRow(qPrintable(tag + "app")) << list << "Shop.APP" << true;
        QTest::newRow(qPrintable(tag + "info")) << list << "www.example.info." << true;
        QTest::newRow(qPrintable(tag + "international")) << list << "example.xn--p1ai" << true;
        QTest::newRow(qPrintable(tag + "built-in list")) << list << "example.com" << true;
        QTest::newRow(qPrintable(tag + "local")) << list << "host.example.local" << false;
        QTest::newRow(qPrintable(tag + "no dot")) << list << "intranet" << false;
        QTest::newRow(qPrintable(tag + "reverse tree")) << list << "1.0.10.in-addr.arpa" << false;
    }
}

void TstDelegatedTlds::newerDomainsAreKnown()
{
    QFETCH(QString, list);
    QFETCH(QString, name);
    QFETCH(bool, known);
    TldList tlds;
    tlds.setDelegatedTlds(delegatedTlds(list));
    QCOMPARE(endsWithKnownTld(name, tlds), known);
}

void TstDelegatedTlds::userListStaysAsItWas()
{
    TldList tlds;
    QCOMPARE(tlds.entries(), TldList::builtIn());
    QVERIFY(!tlds.containsExactly(QStringLiteral("dev")));
    QVERIFY(!tlds.isBuiltIn(QStringLiteral("dev")));
    // The user may still add a domain the checks know already; it is then shown and stored like any other.
    tlds.addUserEntry(QStringLiteral("dev"));
    QCOMPARE(tlds.storedValue(), QStringLiteral("dev"));
    QVERIFY(tlds.containsExactly(QStringLiteral("dev")));
}

void TstDelegatedTlds::environmentNamesAnotherList()
{
    QCOMPARE(publicSuffixListPath(), kInstalledList);
    qputenv("QUORVANE_PUBLIC_SUFFIX_LIST", "/srv/lists/suffixes.dat");
    QCOMPARE(publicSuffixListPath(), QStringLiteral("/srv/lists/suffixes.dat"));
    qunsetenv("QUORVANE_PUBLIC_SUFFIX_LIST");
}

QTEST_GUILESS_MAIN(TstDelegatedTlds)
#include "tst_delegatedtlds.moc"
