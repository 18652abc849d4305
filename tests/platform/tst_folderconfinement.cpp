// Where a name given for a server's file really leads, links and ".." followed as the kernel follows them, and
// which folders may be a server's data directory.
#include "platform/folderconfinement.h"
#include "platform/systemfolders.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TstFolderConfinement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void names_data();
    void names();
    void linksAreKeptForDeletion();
    void aFolderSwappedForALinkIsSeenByTheNextOperation();
    void dataDirectories_data();
    void dataDirectories();
    void permittedFoldersOpenTheirTreesOnly();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    void link(const QString& target, const QString& relative) const
    {
        QVERIFY(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path(relative)).constData()) == 0);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstFolderConfinement::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(path(QStringLiteral("data/sub"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("decoy/deeper"))));
    QVERIFY(writeBytes(path(QStringLiteral("data/zone.dns")), "zone"));
    QVERIFY(writeBytes(path(QStringLiteral("data/sub/inner.dns")), "inner"));
    QVERIFY(writeBytes(path(QStringLiteral("decoy/precious.conf")), "precious"));
    link(path(QStringLiteral("data/zone.dns")), QStringLiteral("data/alias.dns"));
    link(QStringLiteral("sub/inner.dns"), QStringLiteral("data/relative.dns"));
    link(path(QStringLiteral("decoy/precious.conf")), QStringLiteral("data/planted.dns"));
    link(path(QStringLiteral("decoy/gone.conf")), QStringLiteral("data/dangling.dns"));
    link(path(QStringLiteral("decoy/deeper")), QStringLiteral("data/away"));
    link(QStringLiteral("planted.dns"), QStringLiteral("data/chain.dns"));
    link(QStringLiteral("sub/notyet.dns"), QStringLiteral("data/copy.dns"));
}

void TstFolderConfinement::names_data()
{
    QTest::addColumn<QString>("name");    // as a boot file gives it, relative to the data directory
    QTest::addColumn<QString>("leadsTo"); // relative to the test folder; empty: outside
    QTest::newRow("plain name") << "zone.dns"
                                << "data/zone.dns";
    QTest::newRow("not there yet") << "new.dns"
                                   << "data/new.dns";
    QTest::newRow("subfolder") << "sub/inner.dns"
                               << "data/sub/inner.dns";
    QTest::newRow("subfolder not made yet") << "later/x.dns"
                                            << "data/later/x.dns";
    QTest::newRow("link inside") << "alias.dns"
                                 << "data/zone.dns";
    QTest::newRow("relative link inside") << "relative.dns"
                                          << "data/sub/inner.dns";
    QTest::newRow("dot dot") << "../decoy/precious.conf" << QString();
    QTest::newRow("dot dot back in") << "sub/../zone.dns"
                                     << "data/zone.dns";
    QTest::newRow("dot dot in a folder not made") << "later/../../decoy/precious.conf" << QString();
    QTest::newRow("link to a file outside") << "planted.dns" << QString();
    QTest::newRow("link that leads nowhere outside") << "dangling.dns" << QString();
    // A secondary zone's copy before its first transfer.
    QTest::newRow("link to a file inside not made yet") << "copy.dns"
                                                        << "data/sub/notyet.dns";
    QTest::newRow("chain of links leading out") << "chain.dns" << QString();
    QTest::newRow("folder link leading out") << "away/file.dns" << QString();
    // After a link, ".." is the parent of where the link leads, not the folder the name shows.
    QTest::newRow("dot dot after a folder link") << "away/../precious.conf" << QString();
    QTest::newRow("a folder's name") << ".." << QString();
}

void TstFolderConfinement::names()
{
    QFETCH(QString, name);
    QFETCH(QString, leadsTo);
    const FolderConfinement inside({path(QStringLiteral("data"))});
    const std::optional<QString> resolved = inside.resolve(QDir(path(QStringLiteral("data"))).filePath(name));
    if (leadsTo.isEmpty()) {
        QVERIFY2(!resolved, qPrintable(resolved.value_or(QString())));
        return;
    }
    QVERIFY(resolved);
    const QString canonicalRoot = QFileInfo(m_dir->path()).canonicalFilePath();
    QCOMPARE(*resolved, QDir(canonicalRoot).filePath(leadsTo));
}

void TstFolderConfinement::linksAreKeptForDeletion()
{
    const FolderConfinement inside({path(QStringLiteral("data"))});
    const QString planted = path(QStringLiteral("data/planted.dns"));
    QVERIFY(!inside.contains(planted));
    // The link itself lies inside: removing it removes nothing outside.
    const std::optional<QString> entry = inside.resolve(planted, FolderConfinement::FinalLink::Keep);
    QVERIFY(entry);
    QVERIFY(entry->endsWith(QStringLiteral("/data/planted.dns")));
    QVERIFY(!inside.contains(path(QStringLiteral("data/away/x")), FolderConfinement::FinalLink::Keep));
    QVERIFY(!inside.contains(path(QStringLiteral("decoy/precious.conf")), FolderConfinement::FinalLink::Keep));
}

void TstFolderConfinement::aFolderSwappedForALinkIsSeenByTheNextOperation()
{
    // Each operation resolves the folders anew: a folder swapped for a link since is seen for what it is.
    const FolderConfinement inside({path(QStringLiteral("data"))});
    QVERIFY(inside.contains(path(QStringLiteral("data/sub/inner.dns"))));
    QVERIFY(QDir(path(QStringLiteral("data/sub"))).removeRecursively());
    link(path(QStringLiteral("decoy")), QStringLiteral("data/sub"));
    QVERIFY(
        !FolderConfinement({path(QStringLiteral("data"))}).contains(path(QStringLiteral("data/sub/precious.conf"))));
}

void TstFolderConfinement::dataDirectories_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("allowed");
    for (const char* folder :
         {"/", "/etc", "/etc/bind", "/etc/some/where", "/usr/local/dns", "/var/named", "/var/lib/bind", "/var/tmp/dns",
          "/boot/x", "/run/named", "/proc/1", "/tmp", "/srv", "/home", "/root", "/home/alice", "/opt", "/mnt"})
        QTest::newRow(folder) << QString::fromLatin1(folder) << false;
    for (const char* folder : {"/srv/dns", "/home/alice/dns", "/opt/dns", "/mnt/ns2/dns", "/root/dns"})
        QTest::newRow(folder) << QString::fromLatin1(folder) << true;
}

void TstFolderConfinement::dataDirectories()
{
    QFETCH(QString, folder);
    QFETCH(bool, allowed);
    QCOMPARE(isAllowedDataDirectory(folder), allowed);
    // The test's own folder is one a user chose; a link to a system folder is that system folder.
    QVERIFY(isAllowedDataDirectory(path(QStringLiteral("data"))));
    link(QStringLiteral("/usr/share"), QStringLiteral("system"));
    QVERIFY(!isAllowedDataDirectory(path(QStringLiteral("system"))));
}

void TstFolderConfinement::permittedFoldersOpenTheirTreesOnly()
{
    const QStringList distribution{QStringLiteral("/etc/bind"), QStringLiteral("/var/lib/bind")};
    QVERIFY(isAllowedDataDirectory(QStringLiteral("/etc/bind"), distribution));
    QVERIFY(isAllowedDataDirectory(QStringLiteral("/var/lib/bind/zones"), distribution));
    QVERIFY(!isAllowedDataDirectory(QStringLiteral("/etc/bindings"), distribution));
    QVERIFY(!isAllowedDataDirectory(QStringLiteral("/etc"), distribution));
    QVERIFY(!isAllowedDataDirectory(QStringLiteral("/var/cache/bind"), distribution));
}

QTEST_GUILESS_MAIN(TstFolderConfinement)
#include "tst_folderconfinement.moc"
