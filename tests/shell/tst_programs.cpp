#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The two programs as a user starts them from a shell.
class TstPrograms : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printsVersion_data();
    void printsVersion();
    void helpListsOptions();
    void cliRefusesMissingOrUnknownCommand_data();
    void cliRefusesMissingOrUnknownCommand();

private:
    struct Run
    {
        int status;
        QString out;
        QString err;
    };
    Run run(const QString& program, const QStringList& arguments);
    QTemporaryDir m_home;
};

TstPrograms::Run TstPrograms::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, {}};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

void TstPrograms::printsVersion_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("desktop program") << QStringLiteral(QUORVANE_GUI_EXE);
    QTest::newRow("command line") << QStringLiteral(QUORVANE_CLI);
}

void TstPrograms::printsVersion()
{
    // No display is needed to ask for the version.
    QFETCH(QString, program);
    const Run result = run(program, {QStringLiteral("--version")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QStringLiteral("Quorvane 2.0\n"));
}

void TstPrograms::helpListsOptions()
{
    const Run gui = run(QStringLiteral(QUORVANE_GUI_EXE), {QStringLiteral("--help")});
    QCOMPARE(gui.status, 0);
    QVERIFY(gui.out.contains(QStringLiteral("--version")));
    const Run cli = run(QStringLiteral(QUORVANE_CLI), {QStringLiteral("--help")});
    QCOMPARE(cli.status, 0);
    for (const char* option : {"--answers", "--serial", "--identity", "--email"})
        QVERIFY2(cli.out.contains(QLatin1String(option)), option);
}

void TstPrograms::cliRefusesMissingOrUnknownCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown") << QStringList{QStringLiteral("frobnicate")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus"), QStringLiteral("servers")};
}

void TstPrograms::cliRefusesMissingOrUnknownCommand()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(run(QStringLiteral(QUORVANE_CLI), arguments).status, 2);
}

QTEST_GUILESS_MAIN(TstPrograms)
#include "tst_programs.moc"
