#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
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
    void desktopProgramWithoutADisplaySaysSo_data();
    void desktopProgramWithoutADisplaySaysSo();
    void screenshotsOfTheSampleServer();

private:
    struct Run
    {
        int status;
        QString out;
        QString err;
    };
    Run run(const QString& program, const QStringList& arguments, const QStringList& environment = {});
    QTemporaryDir m_home;
};

TstPrograms::Run TstPrograms::run(const QString& program, const QStringList& arguments, const QStringList& environment)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString& setting : environment)
        env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
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

void TstPrograms::desktopProgramWithoutADisplaySaysSo_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::newRow("no display at all") << QStringList();
    // A display that is named but has no server behind it.
    QTest::newRow("a display nobody serves") << QStringList{QStringLiteral("DISPLAY=:9713")};
}

void TstPrograms::desktopProgramWithoutADisplaySaysSo()
{
    QFETCH(QStringList, environment);
    const Run result = run(QStringLiteral(QUORVANE_GUI_EXE), {QStringLiteral("--sample")}, environment);
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(result.err.contains(QStringLiteral("no display")) && result.err.contains(QStringLiteral("quorvane-cli")),
             qPrintable(result.err));
}

void TstPrograms::screenshotsOfTheSampleServer()
{
    // The address is stored, so that the start asks nothing; the pictures come from the program's own drawing.
    {
        QSettings settings(m_home.filePath(QStringLiteral("config/Mervale/Quorvane.conf")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Initialization/E-Mail Address"), QStringLiteral("admin@example.com"));
    }
    const QString folder = m_home.filePath(QStringLiteral("pictures"));
    const Run result =
        run(QStringLiteral(QUORVANE_GUI_EXE), {QStringLiteral("--screenshots"), folder},
            {QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("QT_LOGGING_RULES=qt.qpa.*=false")});
    QVERIFY2(result.status == 0, qPrintable(result.err));
    QVERIFY(QFile::exists(m_home.filePath(QStringLiteral("data/Mervale/Quorvane/sample/named.boot"))));
    const QStringList pictures = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const char* expected :
         {"page-serverinfo", "page-domainedit", "page-addlproperties", "page-internic", "page-utilities", "page-setup",
          "dialog-HostEditor", "dialog-SoaEditor", "dialog-NewServerWizard", "dialog-PrimaryZoneWizard",
          "dialog-HelpWindow", "dialog-ZoneFileViewer", "dialog-DeleteServerDialog"}) {
        const QStringList found = pictures.filter(QLatin1String(expected));
        QVERIFY2(found.size() == 1, expected);
        QFile picture(QDir(folder).filePath(found.first()));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray bytes = picture.readAll();
        QVERIFY2(bytes.startsWith("\x89PNG\r\n") && bytes.size() > 2000, expected);
    }
    // The tour leaves the sample as it found it: the wizard's zone went again.
    QVERIFY(!QFile::exists(
        m_home.filePath(QStringLiteral("data/Mervale/Quorvane/sample/quorvane/zones/shop.example.com.DNS"))));
}

QTEST_GUILESS_MAIN(TstPrograms)
#include "tst_programs.moc"
