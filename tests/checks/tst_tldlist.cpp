#include "checks/namechecks.h"
#include "checks/tldlist.h"

#include <QTest>

class TstTldList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void builtInListIsComplete();
    void loadsUserEntriesFromStoredValue_data();
    void loadsUserEntriesFromStoredValue();
    void userEntriesJoinSortedListAndLookup();
    void removesOnlyFirstUserCopy();
    void illegalCharacters_data();
    void illegalCharacters();
};

void TstTldList::builtInListIsComplete()
{
    const QStringList& builtIn = TldList::builtIn();
    QCOMPARE(builtIn.size(), 247);
    QCOMPARE(builtIn.first(), QStringLiteral("ad"));
    QCOMPARE(builtIn.last(), QStringLiteral("zw"));
    QVERIFY(!builtIn.contains(QStringLiteral("arpa")));
    for (const char* generic : {"com", "edu", "gov", "int", "mil", "net", "org"})
        QVERIFY2(builtIn.contains(QLatin1String(generic)), generic);
    QCOMPARE(builtIn.indexOf(QStringLiteral("com")), builtIn.indexOf(QStringLiteral("co")) + 1);
}

void TstTldList::loadsUserEntriesFromStoredValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one") << QStringLiteral("local") << QStringList{QStringLiteral("local")};
    QTest::newRow("two") << QStringLiteral("local:lan") << QStringList{QStringLiteral("local"), QStringLiteral("lan")};
    QTest::newRow("three") << QStringLiteral("a:b:c")
                           << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
}

void TstTldList::loadsUserEntriesFromStoredValue()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, entries);
    TldList list;
    list.load(stored);
    QCOMPARE(list.userEntries(), entries);
    QCOMPARE(list.entries().size(), 247 + entries.size());
    QCOMPARE(list.storedValue(), stored);
}

void TstTldList::userEntriesJoinSortedListAndLookup()
{
    TldList list;
    QVERIFY(!list.knowsLowerCase(QStringLiteral("local")));
    list.addUserEntry(QStringLiteral("LOCAL"));
    QVERIFY(list.containsExactly(QStringLiteral("LOCAL")));
    QVERIFY(!list.containsExactly(QStringLiteral("local")));
    QVERIFY(list.knowsLowerCase(QStringLiteral("local")));
    const QStringList& entries = list.entries();
    const qsizetype at = entries.indexOf(QStringLiteral("LOCAL"));
    QVERIFY(at > 0);
    QVERIFY(QString::compare(entries.at(at - 1), QStringLiteral("local"), Qt::CaseInsensitive) < 0);
    QVERIFY(QString::compare(entries.at(at + 1), QStringLiteral("local"), Qt::CaseInsensitive) > 0);
}

void TstTldList::removesOnlyFirstUserCopy()
{
    TldList list;
    list.load(QStringLiteral("lan:lan:home"));
    list.removeUserEntry(QStringLiteral("lan"));
    QCOMPARE(list.storedValue(), QStringLiteral("lan:home"));
    QCOMPARE(list.entries().count(QStringLiteral("lan")), 1);
}

void TstTldList::illegalCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("illegal");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("at alone") << QStringLiteral("@") << false;
    QTest::newRow("at inside") << QStringLiteral("a@b") << true;
    QTest::newRow("plain name") << QStringLiteral("web.example.com") << false;
    QTest::newRow("underscore and apostrophe") << QStringLiteral("my_host'") << false;
    QTest::newRow("non-ascii") << QStringLiteral("h\u00e9te") << false;
    const QString forbidden = QStringLiteral(" !\"#$%&()*+,/:;<=>?@[\\]^`{|}~");
    QCOMPARE(forbidden.size(), 29);
    for (const QChar c : forbidden)
        QTest::newRow(qPrintable(QStringLiteral("forbidden %1").arg(c.unicode()))) << (QStringLiteral("a") + c) << true;
}

void TstTldList::illegalCharacters()
{
    QFETCH(QString, text);
    QFETCH(bool, illegal);
    QCOMPARE(hasIllegalCharacters(text), illegal);
}

QTEST_GUILESS_MAIN(TstTldList)
#include "tst_tldlist.moc"
