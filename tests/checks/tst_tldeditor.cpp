#include "checks/namechecks.h"
#include "checks/tldeditor.h"
#include "checks/tldlist.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"

#include <QTemporaryDir>
#include <QTest>

using Button = Prompter::Button;

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kIncorrect = QStringLiteral("You have entered the TLD/Country Extension incorrectly. Enter ONLY the "
                                          "extension. (i.e., \"com\" or \"edu\")");
const QString kDuplicate = QStringLiteral("This TLD / Country Extension has already been entered.");
const QString kLimit =
    QStringLiteral("Quorvane can support a maximum of 40 new TLDs/Extensions. You have reached the limit.");
const QString kNothingSelected = QStringLiteral("You must first select a TLD or country extension to delete.");
const QString kBuiltIn = QStringLiteral("You can only delete TLDs and country extensions which you have created.");

QString confirmation(const QString& entry)
{
    return QStringLiteral("Are you sure you want to delete extension/country ") + entry + QStringLiteral("? ");
}

} // namespace

// The TLD editor's add and delete logic with its refusals, and the user's extensions kept in the settings.
class TstTldEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addRefuses_data();
    void addRefuses();
    void addKeepsTextAsTyped();
    void capitalisedBuiltInIsNewEntry();
    void fortiethAcceptedFortyFirstRefused();
    void deleteWithoutSelectionRefused();
    void deleteBuiltInRefused_data();
    void deleteBuiltInRefused();
    void deleteConfirmed();
    void deleteCancelled();
    void deleteDuplicateFromStoredValue();
    void userEntriesSurviveSettingsRoundTrip();
    void deletedEntryLeavesStoredValue();

private:
    static void expectNoProblems(const ScriptedPrompter& prompter);
};

void TstTldEditor::expectNoProblems(const ScriptedPrompter& prompter)
{
    QVERIFY2(prompter.problems().isEmpty(), qPrintable(prompter.problems().join(QLatin1Char('\n'))));
    QCOMPARE(prompter.pending(), 0);
}

void TstTldEditor::addRefuses_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << QString() << kIncorrect;
    QTest::newRow("single blank") << QString() << QStringLiteral(" ") << kIncorrect;
    QTest::newRow("blank inside") << QString() << QStringLiteral("my tld") << kIncorrect;
    QTest::newRow("colon would split the stored value") << QString() << QStringLiteral("a:b") << kIncorrect;
    QTest::newRow("built in") << QString() << QStringLiteral("com") << kDuplicate;
    QTest::newRow("added before") << QStringLiteral("local") << QStringLiteral("local") << kDuplicate;
}

void TstTldEditor::addRefuses()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TldList tlds;
    tlds.load(stored);
    const QStringList before = tlds.entries();
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, message);
    QVERIFY(!addTld(tlds, text, prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.entries(), before);
    QCOMPARE(tlds.storedValue(), stored);
}

void TstTldEditor::addKeepsTextAsTyped()
{
    TldList tlds;
    ScriptedPrompter prompter;
    QVERIFY(addTld(tlds, QStringLiteral("Local"), prompter));
    QVERIFY(addTld(tlds, QStringLiteral("lan"), prompter));
    expectNoProblems(prompter);
    QVERIFY(prompter.prompts().isEmpty());
    QCOMPARE(tlds.userEntries(), QStringList({QStringLiteral("Local"), QStringLiteral("lan")}));
    QCOMPARE(tlds.entries().size(), 249);
    QVERIFY(endsWithKnownTld(QStringLiteral("host.example.local"), tlds));
    QVERIFY(endsWithKnownTld(QStringLiteral("printer.LAN."), tlds));
}

void TstTldEditor::capitalisedBuiltInIsNewEntry()
{
    TldList tlds;
    ScriptedPrompter prompter;
    QVERIFY(addTld(tlds, QStringLiteral("COM"), prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.userEntries(), QStringList{QStringLiteral("COM")});
    QCOMPARE(tlds.entries().count(QStringLiteral("COM")), 1);
    QCOMPARE(tlds.entries().count(QStringLiteral("com")), 1);
}

void TstTldEditor::fortiethAcceptedFortyFirstRefused()
{
    TldList tlds;
    ScriptedPrompter prompter;
    for (int i = 1; i <= 40; ++i)
        QVERIFY2(addTld(tlds, QStringLiteral("ext%1").arg(i), prompter), qPrintable(QString::number(i)));
    expectNoProblems(prompter);
    QCOMPARE(tlds.userEntries().size(), 40);

    prompter.expectMessage(kAttention, kLimit);
    QVERIFY(!addTld(tlds, QStringLiteral("ext41"), prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.userEntries().size(), 40);
    QVERIFY(!tlds.containsExactly(QStringLiteral("ext41")));

    // The duplicate test comes before the limit.
    prompter.expectMessage(kAttention, kDuplicate);
    QVERIFY(!addTld(tlds, QStringLiteral("ext40"), prompter));
    expectNoProblems(prompter);
}

void TstTldEditor::deleteWithoutSelectionRefused()
{
    TldList tlds;
    tlds.load(QStringLiteral("local"));
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, kNothingSelected);
    QVERIFY(!deleteTld(tlds, std::nullopt, prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.storedValue(), QStringLiteral("local"));
}

void TstTldEditor::deleteBuiltInRefused_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entry");
    QTest::newRow("com") << QString() << QStringLiteral("com");
    QTest::newRow("country code") << QString() << QStringLiteral("uk");
    QTest::newRow("built-in also stored by the user") << QStringLiteral("com") << QStringLiteral("com");
}

void TstTldEditor::deleteBuiltInRefused()
{
    QFETCH(QString, stored);
    QFETCH(QString, entry);
    TldList tlds;
    tlds.load(stored);
    const QStringList before = tlds.entries();
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, kBuiltIn);
    QVERIFY(!deleteTld(tlds, entry, prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.entries(), before);
    QCOMPARE(tlds.storedValue(), stored);
}

void TstTldEditor::deleteConfirmed()
{
    TldList tlds;
    tlds.load(QStringLiteral("local:COM:lan"));
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, confirmation(QStringLiteral("COM")), Button::Ok);
    QVERIFY(deleteTld(tlds, QStringLiteral("COM"), prompter));
    expectNoProblems(prompter);
    QCOMPARE(prompter.prompts().first().buttons, Prompter::Buttons(Button::Ok | Button::Cancel));
    QCOMPARE(tlds.storedValue(), QStringLiteral("local:lan"));
    QVERIFY(!tlds.containsExactly(QStringLiteral("COM")));
    QVERIFY(tlds.containsExactly(QStringLiteral("com")));
    QCOMPARE(tlds.entries().size(), 249);
}

void TstTldEditor::deleteCancelled()
{
    TldList tlds;
    tlds.load(QStringLiteral("local"));
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, confirmation(QStringLiteral("local")), Button::Cancel);
    QVERIFY(!deleteTld(tlds, QStringLiteral("local"), prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.storedValue(), QStringLiteral("local"));
    QVERIFY(endsWithKnownTld(QStringLiteral("host.example.local"), tlds));
}

void TstTldEditor::deleteDuplicateFromStoredValue()
{
    TldList tlds;
    tlds.load(QStringLiteral("lan:home:lan"));
    QCOMPARE(tlds.entries().count(QStringLiteral("lan")), 2);
    ScriptedPrompter prompter;
    prompter.expectMessage(kAttention, confirmation(QStringLiteral("lan")), Button::Ok);
    QVERIFY(deleteTld(tlds, QStringLiteral("lan"), prompter));
    expectNoProblems(prompter);
    QCOMPARE(tlds.storedValue(), QStringLiteral("home:lan"));
    QCOMPARE(tlds.entries().count(QStringLiteral("lan")), 1);
}

void TstTldEditor::userEntriesSurviveSettingsRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Quorvane.conf"));
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    {
        AppState state;
        ScriptedPrompter prompter;
        for (const char* entry : {"local", "Lan", "corp"})
            QVERIFY(addTld(state.tlds, QLatin1String(entry), prompter));
        SettingsStore store(ini);
        QString error;
        QVERIFY2(saveSettings(state, store, &error), qPrintable(error));
    }
    {
        const SettingsStore store(ini);
        QCOMPARE(store.text(QStringLiteral("Initialization"), QStringLiteral("TLD")), QStringLiteral("local:Lan:corp"));
    }
    AppState state;
    ScriptedPrompter prompter;
    const SettingsStore store(ini);
    loadSettings(state, store, prompter, platform);
    expectNoProblems(prompter);
    QCOMPARE(state.tlds.userEntries(),
             QStringList({QStringLiteral("local"), QStringLiteral("Lan"), QStringLiteral("corp")}));
    QCOMPARE(state.tlds.entries().size(), 250);
    QVERIFY(endsWithKnownTld(QStringLiteral("host.example.local"), state.tlds));
    QVERIFY(endsWithKnownTld(QStringLiteral("host.lan."), state.tlds));
    QVERIFY(!endsWithKnownTld(QStringLiteral("host.example.home"), state.tlds));
}

void TstTldEditor::deletedEntryLeavesStoredValue()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Quorvane.conf"));
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    {
        SettingsStore store(ini);
        store.setText(QStringLiteral("Initialization"), QStringLiteral("TLD"), QStringLiteral("a:b:c"));
        QVERIFY(store.sync());
    }
    AppState state;
    ScriptedPrompter prompter;
    {
        const SettingsStore store(ini);
        loadSettings(state, store, prompter, platform);
    }
    QCOMPARE(state.tlds.userEntries(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    prompter.expectMessage(kAttention, confirmation(QStringLiteral("b")), Button::Ok);
    QVERIFY(deleteTld(state.tlds, QStringLiteral("b"), prompter));
    expectNoProblems(prompter);
    {
        SettingsStore store(ini);
        QVERIFY(saveSettings(state, store));
    }
    const SettingsStore store(ini);
    QCOMPARE(store.text(QStringLiteral("Initialization"), QStringLiteral("TLD")), QStringLiteral("a:c"));
}

QTEST_GUILESS_MAIN(TstTldEditor)
#include "tst_tldeditor.moc"
