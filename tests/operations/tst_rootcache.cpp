#include "cutoffftpserver.h"
#include "ftppeer.h"
#include "operations/rootcache.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kBoxText =
    QStringLiteral("Error loading Winsock or connecting to InterNIC. Please check your configuration.");
const QByteArray kOldDownload = "; an older download\r\n.  3600000  NS  A.ROOT-SERVERS.NET.\r\n";

} // namespace

class TstRootCache : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void downloadFromTheRegistryServer();
    void passwordIsTheAddressAsEntered();
    void unreachableServerKeepsTheOldDownload();
    void transferCutOffKeepsTheOldDownload();
    void oversizedDownloadIsRefused();
    void oversizedDownloadFileIsNotInstalled();
    void installWritesCrLfLines();
    void installWithoutDataDirectoryOnlyReads();
    void installWithoutDownloadFails();

private:
    bool fetch(int port, const QString& password = QStringLiteral("john.doe@example.com"));
    RootCacheFetch fetchOutcome(int port, const QString& password = QStringLiteral("john.doe@example.com"));
    QString programDir() const { return m_dir->filePath(QStringLiteral("program")); }
    QString dataDir() const { return m_dir->filePath(QStringLiteral("dns")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    QStringList m_lines;
    int m_clears = 0;
};

void TstRootCache::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(programDir());
    QDir().mkpath(dataDir());
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_lines = {QStringLiteral("FTP Connection..."), QString()};
    m_clears = 0;
}

void TstRootCache::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
}

bool TstRootCache::fetch(int port, const QString& password)
{
    return fetchOutcome(port, password) == RootCacheFetch::Fetched;
}

RootCacheFetch TstRootCache::fetchOutcome(int port, const QString& password)
{
    return fetchRootCache(
        RootCacheSource{QStringLiteral("127.0.0.1"), port, password}, programDir(),
        [this](const QString& line) { m_lines << line; },
        [this] {
            m_lines.clear();
            ++m_clears;
        },
        *m_prompter);
}

void TstRootCache::downloadFromTheRegistryServer()
{
    const QByteArray hints = readBytes(testDataPath(QStringLiteral("operations/named.root")));
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), hints}}, &error), qPrintable(error));
    QVERIFY(writeBytes(rootCacheDownload(programDir()), kOldDownload));

    QVERIFY(fetch(peer.port()));
    QCOMPARE(m_clears, 1);
    QCOMPARE(m_lines.value(0), QStringLiteral("Loading Winsock"));
    QVERIFY(m_lines.value(1).startsWith(QStringLiteral("libcurl ")));
    QVERIFY(m_lines.value(1).endsWith(QStringLiteral(": Ready.")));
    for (const QString& expected :
         {QStringLiteral("SERVER: 220 (vsFTPd 3.0.3)"), QStringLiteral("CLIENT: USER anonymous"),
          QStringLiteral("CLIENT: PASS john.doe@example.com"), QStringLiteral("SERVER: 230 Login successful."),
          QStringLiteral("CLIENT: CWD domain"), QStringLiteral("CLIENT: TYPE A"),
          QStringLiteral("CLIENT: RETR named.root"), QStringLiteral("SERVER: 226 Transfer complete.")})
        QVERIFY2(m_lines.contains(expected), qPrintable(expected));
    QVERIFY(!m_lines.filter(QRegularExpression(QStringLiteral("^INFO: "))).isEmpty());
    const qsizetype begin = m_lines.indexOf(QStringLiteral("TRANSFER BEGIN."));
    const qsizetype end = m_lines.indexOf(QStringLiteral("TRANSFER END."));
    QVERIFY(begin > 0 && end > begin);
    const QStringList counts = m_lines.filter(QRegularExpression(QStringLiteral("^TRANSFER: \\d+ Bytes$")));
    QVERIFY(!counts.isEmpty());
    QVERIFY(m_lines.indexOf(counts.first()) > begin && m_lines.indexOf(counts.last()) < end);
    QCOMPARE(counts.last(), QStringLiteral("TRANSFER: ") + QString::number(hints.size()) + QStringLiteral(" Bytes"));
    QVERIFY(m_lines.filter(QStringLiteral("ERR Event: ")).isEmpty());
    QCOMPARE(readBytes(rootCacheDownload(programDir())), hints);
    QCOMPARE(QDir(programDir()).entryList(QDir::Files), QStringList{QStringLiteral("cache.tmp")});
}

void TstRootCache::passwordIsTheAddressAsEntered()
{
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), QByteArray(".  3600000  NS  A.ROOT-SERVERS.NET.\n")}},
                        &error),
             qPrintable(error));
    QVERIFY(fetch(peer.port(), QStringLiteral("john.doe@example.com")));
    QTRY_VERIFY2(peer.log().contains(QStringLiteral("anon password \"john.doe@example.com\"")), qPrintable(peer.log()));
    QVERIFY(!peer.log().contains(QStringLiteral("john@doe")));
}

void TstRootCache::unreachableServerKeepsTheOldDownload()
{
    QVERIFY(writeBytes(rootCacheDownload(programDir()), kOldDownload));
    m_prompter->expectMessage(QStringLiteral("Attention!"), kBoxText);
    QVERIFY(!fetch(freeLoopbackPort()));
    QCOMPARE(m_lines.value(0), QStringLiteral("Loading Winsock"));
    const QStringList errors = m_lines.filter(QRegularExpression(QStringLiteral("^ERR Event: 7\\D")));
    QCOMPARE(errors.size(), 1);
    QVERIFY(!m_lines.contains(QStringLiteral("TRANSFER BEGIN.")));
    QCOMPARE(readBytes(rootCacheDownload(programDir())), kOldDownload);
}

void TstRootCache::transferCutOffKeepsTheOldDownload()
{
    const QByteArray hints = readBytes(testDataPath(QStringLiteral("operations/named.root")));
    CutOffFtpServer server(hints, hints.size() / 2);
    QVERIFY(server.listen());
    QVERIFY(writeBytes(rootCacheDownload(programDir()), kOldDownload));
    m_prompter->expectMessage(QStringLiteral("Attention!"), kBoxText);
    QVERIFY(!fetch(server.port()));
    QVERIFY(m_lines.contains(QStringLiteral("TRANSFER BEGIN.")));
    QVERIFY(!m_lines.contains(QStringLiteral("TRANSFER END.")));
    QCOMPARE(m_lines.filter(QStringLiteral("ERR Event: ")).size(), 1);
    QCOMPARE(readBytes(rootCacheDownload(programDir())), kOldDownload);
    QCOMPARE(QDir(programDir()).entryList(QDir::Files), QStringList{QStringLiteral("cache.tmp")});

    const RootCacheInstall install = installRootCache(programDir(), dataDir());
    QVERIFY(install.installed);
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")), kOldDownload);
}

void TstRootCache::oversizedDownloadIsRefused()
{
    // Root hints are a few kilobytes; a server that sends far more is stopped at the limit, and nothing of it
    // reaches the disk or stays in memory.
    VsftpdPeer peer;
    QString error;
    QByteArray huge;
    const QByteArray line = ".  3600000  NS  A.ROOT-SERVERS.NET.\n";
    while (huge.size() <= 5 * 1024 * 1024)
        huge += line;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), huge}}, &error), qPrintable(error));
    QVERIFY(writeBytes(rootCacheDownload(programDir()), kOldDownload));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("The root hints file on 127.0.0.1 is larger than 4 MB, so it was not "
                                             "installed."));
    QCOMPARE(fetchOutcome(peer.port()), RootCacheFetch::TooLarge);
    QVERIFY(!m_lines.contains(QStringLiteral("TRANSFER END.")));
    QCOMPARE(readBytes(rootCacheDownload(programDir())), kOldDownload);
    QCOMPARE(QDir(programDir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("cache.tmp")});
}

void TstRootCache::oversizedDownloadFileIsNotInstalled()
{
    // A "cache.tmp" put there by something else is held to the same limit when it is installed.
    QVERIFY(writeBytes(rootCacheDownload(programDir()), QByteArray(5 * 1024 * 1024, ';')));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), "the hints before\r\n"));
    const RootCacheInstall install = installRootCache(programDir(), dataDir());
    QVERIFY(!install.read);
    QVERIFY(!install.installed);
    QVERIFY2(install.errorText.endsWith(QStringLiteral("is larger than 4 MB, so it was not read.")),
             qPrintable(install.errorText));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")), QByteArray("the hints before\r\n"));
}

void TstRootCache::installWritesCrLfLines()
{
    QVERIFY(
        writeBytes(rootCacheDownload(programDir()), readBytes(testDataPath(QStringLiteral("operations/named.root")))));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), "the hints before\r\n"));
    const RootCacheInstall install = installRootCache(programDir(), dataDir());
    QVERIFY(install.read);
    QVERIFY(install.installed);
    QVERIFY(install.errorText.isEmpty());
    QCOMPARE(install.text, QString::fromLatin1(readBytes(testDataPath(QStringLiteral("operations/named.root")))));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")),
             readBytes(testDataPath(QStringLiteral("operations/cache.dns.expected"))));
}

void TstRootCache::installWithoutDataDirectoryOnlyReads()
{
    QVERIFY(writeBytes(rootCacheDownload(programDir()), kOldDownload));
    const RootCacheInstall install = installRootCache(programDir(), m_dir->filePath(QStringLiteral("gone")));
    QVERIFY(install.read);
    QVERIFY(!install.installed);
    QVERIFY(install.errorText.isEmpty());
    QCOMPARE(install.text, QString::fromLatin1(kOldDownload).remove(QLatin1Char('\r')));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("gone"))));
}

void TstRootCache::installWithoutDownloadFails()
{
    const RootCacheInstall install = installRootCache(programDir(), dataDir());
    QVERIFY(!install.read);
    QVERIFY(!install.installed);
    QVERIFY(install.errorText.startsWith(QStringLiteral("Cannot open file \"") + rootCacheDownload(programDir())));
    QVERIFY(!QFileInfo::exists(dataDir() + QStringLiteral("/cache.dns")));
}

QTEST_GUILESS_MAIN(TstRootCache)
#include "tst_rootcache.moc"
