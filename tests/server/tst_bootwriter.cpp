#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "server/bootcreator.h"
#include "server/bootsave.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>

namespace {

class RecordingProgress : public Progress
{
public:
    void showProgress() override { steps << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { steps << caption; }
    void setProgress(int percent) override { steps << QString::number(percent); }
    void hideProgress() override { steps << QStringLiteral("hide"); }
    QStringList steps;
};

void fillServer(BootConfig& boot)
{
    boot.bootFileName = QStringLiteral("named.boot");
    boot.realpath = QStringLiteral("D:\\\\named\\\\zones");
    boot.primaryEntries = {QStringLiteral("cherry.com     cherry.com.DNS"),
                           QStringLiteral("apple.com     apple.com.DNS"),
                           QStringLiteral("Banana.com     Banana.com.DNS")};
    boot.secondaryEntries = {QStringLiteral("Beta.net     10.0.0.3     beta.net.DNS"),
                             QStringLiteral("alpha.net     10.0.0.1 10.0.0.2     alpha.net.DNS")};
    boot.reversePrimaryLines = {QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS "),
                                QStringLiteral("primary     30.117.206.IN-ADDR.ARPA     ns10.reverse.DNS ")};
    boot.secondaryReverseLines = {
        QStringLiteral("secondary     1.10.IN-ADDR.ARPA     10.0.0.1     1.10.IN-ADDR.ARPA.secondary.reverse.DNS")};
    boot.secondaryReverseComments = {QStringLiteral("10.1.0.0 <--> 10.1.255.255 on server: 10.0.0.1")};
    boot.parameterLines = {QStringLiteral("forwarders      10.1.1.1 10.1.1.2     "),
                           QStringLiteral("options forward-only"),
                           QStringLiteral("options no-recursion"),
                           QStringLiteral("options query-log"),
                           QStringLiteral("limit transfers-in     10 "),
                           QStringLiteral("limit transfers-per-ns     2 "),
                           QStringLiteral("xfrnets      10.0.0.0&255.0.0.0     "),
                           QStringLiteral("bogusns      10.9.9.9     ")};
    boot.otherLines = {QStringLiteral("include\t/etc/named.extra"), QStringLiteral("Primary capital.com capital.dns")};
}

// A file size limit makes every write past it fail, even for root, whom permissions do not stop.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

struct NewServer
{
    NewServer()
    {
        state.pendingServerId = QStringLiteral("dnshost@dnshost.example.com.");
        state.defaultos = QStringLiteral("Windows NT 4.X");
        input.windowsDirectory = dir.path();
        input.operatingSystem = QStringLiteral("Windows 95");
        input.computerName = QStringLiteral("dnshost");
        input.reverseZones = {QStringLiteral("30.117.206.IN-ADDR.ARPA"), QStringLiteral("1.10.IN-ADDR.ARPA")};
    }
    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    BootReadResult create()
    {
        QDir().mkpath(input.dataDirectory);
        BootContext context{state, store, prompter};
        return createBootFile(context, input);
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
    NewBootFile input;
};

const QString kNetworked = QStringLiteral("Is G located on a networked computer? ");

} // namespace

class TstBootWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheProgramLayout();
    void writesAnEmptyServer();
    void progressIsFinishedBeforeTheClosingLine();
    void refusesWithoutALoadedServer();
    void failedWriteLeavesTheOldFileWhole();
    void newBootFileLayout();
    void createBootFileOnThisMachine();
    void createBootFileOnANetworkedDrive();
    void createBootFileOnALocalOtherDrive();
    void createBootFileWithAPlainPath();
};

void TstBootWriter::writesTheProgramLayout()
{
    QTemporaryDir dir;
    AppState state;
    fillServer(state.boot);
    state.boot.bootDirectory = dir.path() + QLatin1Char('/');
    state.defaultos = QStringLiteral("Windows NT 3.X with Shell");
    const QStringList order = state.boot.primaryEntries;
    QVERIFY(writeBootFile(state).ok);
    QCOMPARE(readBytes(QDir(dir.path()).filePath(QStringLiteral("named.boot"))),
             readBytes(testDataPath(QStringLiteral("bootfile/writer/layout.boot"))));
    QCOMPARE(state.boot.primaryEntries, order);
}

void TstBootWriter::writesAnEmptyServer()
{
    QTemporaryDir dir;
    AppState state;
    state.boot.bootDirectory = dir.path();
    state.boot.bootFileName = QStringLiteral("named.boot");
    state.boot.realpath = QStringLiteral("/srv/dns/data");
    QVERIFY(writeBootFile(state).ok);
    QCOMPARE(readBytes(QDir(dir.path()).filePath(QStringLiteral("named.boot"))),
             readBytes(testDataPath(QStringLiteral("bootfile/writer/empty.boot"))));
}

void TstBootWriter::progressIsFinishedBeforeTheClosingLine()
{
    QTemporaryDir dir;
    AppState state;
    state.boot.bootDirectory = dir.path();
    RecordingProgress progress;
    QVERIFY(writeBootFile(state, &progress).ok);
    QCOMPARE(progress.steps, (QStringList{QStringLiteral("100"), QStringLiteral("hide")}));
    QVERIFY(readBytes(QDir(dir.path()).filePath(QStringLiteral("named.boot"))).endsWith("\r\n;\r\n"));
}

void TstBootWriter::refusesWithoutALoadedServer()
{
    AppState state;
    const BootWriteResult result = writeBootFile(state);
    QVERIFY(!result.ok);
    QCOMPARE(result.errorText, QStringLiteral("No server is loaded, so there is no boot file to write."));
}

void TstBootWriter::failedWriteLeavesTheOldFileWhole()
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("named.boot"));
    const QByteArray old = "directory C:\\\\old\r\n";
    QVERIFY(writeBytes(path, old));
    AppState state;
    fillServer(state.boot);
    state.boot.bootDirectory = dir.path();
    BootWriteResult result;
    {
        FileSizeLimit limit(200);
        result = writeBootFile(state);
    }
    QVERIFY(!result.ok);
    QVERIFY2(
        result.errorText.startsWith(QStringLiteral("The boot file ") + path + QStringLiteral(" could not be written")),
        qPrintable(result.errorText));
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("named.boot")});
}

void TstBootWriter::newBootFileLayout()
{
    NewServer server;
    const QStringList lines = newBootFileLines(server.input, QStringLiteral("C:\\\\quorvane\\\\zones"));
    QCOMPARE(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n",
             readBytes(testDataPath(QStringLiteral("bootfile/writer/new.boot"))));
}

void TstBootWriter::createBootFileOnThisMachine()
{
    NewServer server;
    server.store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), server.dir.path());
    server.input.dataDirectory = server.path(QStringLiteral("quorvane/zones"));
    server.state.rootCacheText = QStringLiteral(".  NS  A.ROOT.");
    QVERIFY(server.create().ok());
    QCOMPARE(server.prompter.prompts().size(), 0);
    QCOMPARE(server.state.pendingBootFilePath, server.path(QStringLiteral("named.boot")));
    QCOMPARE(server.state.zoneLists.datapath, server.input.dataDirectory);
    QCOMPARE(server.state.defaultos, QStringLiteral("Windows 95"));
    QCOMPARE(server.state.boot.reversePrimaryLines.size(), 3);
    QCOMPARE(readBytes(server.path(QStringLiteral("named.boot"))),
             readBytes(testDataPath(QStringLiteral("bootfile/writer/new-read.boot"))));
    QCOMPARE(readBytes(server.path(QStringLiteral("quorvane/zones/cache.dns"))), QByteArray(".  NS  A.ROOT.\r\n"));
    QVERIFY(!server.store.contains(QStringLiteral("MAPPING"), QStringLiteral("dnshost")));
}

void TstBootWriter::createBootFileOnANetworkedDrive()
{
    NewServer server;
    server.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), server.path(QStringLiteral("g")));
    server.input.dataDirectory = server.path(QStringLiteral("g/quorvane/zones"));
    const QString mapping = QStringLiteral("Network Drive Mapping");
    const QString letterError = QStringLiteral("You must enter a SINGLE LETTER - Reenter.");
    server.prompter.expectMessage(QStringLiteral("Information"), kNetworked, Prompter::Button::Yes);
    server.prompter.answerText(QStringLiteral("cd"));
    server.prompter.expectMessage(QStringLiteral("Error!"), letterError);
    server.prompter.answerText(QStringLiteral("1"));
    server.prompter.expectMessage(QStringLiteral("Error!"), letterError);
    server.prompter.answerText(QStringLiteral("c"));
    QVERIFY(server.create().ok());
    QCOMPARE(server.prompter.prompts().at(1).caption, mapping);
    QVERIFY(server.prompter.prompts().at(1).text.contains(QStringLiteral("mapped drive: G")));
    QCOMPARE(server.store.text(QStringLiteral("MAPPING"), QStringLiteral("dnshost")), QStringLiteral("G"));
    QCOMPARE(server.state.boot.mapdrive, QStringLiteral("G"));
    QCOMPARE(server.state.zoneLists.datapath, server.input.dataDirectory);
    QCOMPARE(readBytes(server.path(QStringLiteral("named.boot"))),
             readBytes(testDataPath(QStringLiteral("bootfile/writer/new-read.boot"))));
}

void TstBootWriter::createBootFileOnALocalOtherDrive()
{
    NewServer server;
    server.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), server.path(QStringLiteral("g")));
    server.input.dataDirectory = server.path(QStringLiteral("g/quorvane/zones"));
    server.prompter.expectMessage(QStringLiteral("Information"), kNetworked, Prompter::Button::No);
    QVERIFY(server.create().ok());
    QVERIFY(readBytes(server.path(QStringLiteral("named.boot")))
                .contains("\r\ndirectory     G:\\\\quorvane\\\\zones \r\n"));
    QVERIFY(!server.store.contains(QStringLiteral("MAPPING"), QStringLiteral("dnshost")));
    QCOMPARE(server.state.boot.mapdrive, QString());

    // Closing the drive dialog leaves the directory unmapped instead of asking for ever.
    NewServer closed;
    closed.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), closed.path(QStringLiteral("g")));
    closed.input.dataDirectory = closed.path(QStringLiteral("g/quorvane/zones"));
    closed.prompter.expectMessage(QStringLiteral("Information"), kNetworked, Prompter::Button::Yes);
    closed.prompter.answerText(std::nullopt);
    QVERIFY(closed.create().ok());
    QVERIFY(readBytes(closed.path(QStringLiteral("named.boot")))
                .contains("\r\ndirectory     G:\\\\quorvane\\\\zones \r\n"));
}

void TstBootWriter::createBootFileWithAPlainPath()
{
    NewServer server;
    server.input.dataDirectory = server.path(QStringLiteral("quorvane/zones"));
    server.input.reverseZones.clear();
    QVERIFY(server.create().ok());
    QCOMPARE(server.prompter.prompts().size(), 0);
    const QByteArray written = readBytes(server.path(QStringLiteral("named.boot")));
    QVERIFY(written.contains(QByteArray("\r\ndirectory     " + server.input.dataDirectory.toLatin1() + " \r\n")));
    QCOMPARE(server.state.boot.realpath, server.input.dataDirectory);
}

QTEST_GUILESS_MAIN(TstBootWriter)
#include "tst_bootwriter.moc"
