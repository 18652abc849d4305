// Whether a folder is asked about as lying on a networked computer: drive letters other than C, and folders on a
// network file system as the kernel reports it; the letter a mounted share is given; the new boot file of a
// server on such a share.

#include "bootfile/drivemapping.h"
#include "platform/networkfolder.h"
#include "sandbox.h"
#include "server/bootcreator.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

constexpr quint64 kExt4 = 0xEF53;
constexpr quint64 kTmpfs = 0x01021994;
constexpr quint64 kNfs = 0x6969;
constexpr quint64 kCifs = 0xFF534D42;
constexpr quint64 kSmb2 = 0xFE534D42;
constexpr quint64 kSmb = 0x517B;

// A kernel that reports one file system type for the folders below `mount` and ext4 everywhere else.
FileSystemProbe probeWith(const QString& mount, quint64 type)
{
    return [mount, type](const QString& folder) -> std::optional<FileSystemInfo> {
        if (folder == mount || folder.startsWith(mount + QLatin1Char('/')))
            return FileSystemInfo{type, mount};
        return FileSystemInfo{kExt4, QStringLiteral("/")};
    };
}

} // namespace

class TstNetworkFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void networkTypes_data();
    void networkTypes();
    void theTemporaryFolderIsLocal();
    void aMissingFolderIsAskedAboutThroughItsParent();
    void unknownFileSystemIsLocal();
    void question_data();
    void question();
    void aMountGetsTheFirstFreeLetter();
    void everyLetterTaken();
    void singleLetters_data();
    void singleLetters();
    void newBootFileOnAMountedShare();
    void newBootFileOnALocalMount();
    void staleMappingIsCleared();
};

void TstNetworkFolder::networkTypes_data()
{
    QTest::addColumn<quint64>("type");
    QTest::addColumn<bool>("network");
    QTest::newRow("nfs") << kNfs << true;
    QTest::newRow("cifs") << kCifs << true;
    QTest::newRow("smb2") << kSmb2 << true;
    QTest::newRow("smb") << kSmb << true;
    QTest::newRow("ext4") << kExt4 << false;
    QTest::newRow("tmpfs") << kTmpfs << false;
    QTest::newRow("overlay") << quint64(0x794C7630) << false;
}

void TstNetworkFolder::networkTypes()
{
    QFETCH(quint64, type);
    QFETCH(bool, network);
    QCOMPARE(isNetworkFileSystemType(type), network);
    QCOMPARE(folderLocation(QStringLiteral("/srv/x"), probeWith(QStringLiteral("/srv"), type)),
             network ? FolderLocation::Network : FolderLocation::Local);
}

void TstNetworkFolder::theTemporaryFolderIsLocal()
{
    QTemporaryDir dir;
    QCOMPARE(folderLocation(dir.path()), FolderLocation::Local);
    const std::optional<FileSystemInfo> info = fileSystemOf(dir.path());
    QVERIFY(info);
    QVERIFY(!isNetworkFileSystemType(info->type));
    QVERIFY2(dir.path() == info->mountPoint || info->mountPoint == QLatin1String("/") ||
                 dir.path().startsWith(info->mountPoint + QLatin1Char('/')),
             qPrintable(info->mountPoint));
    // The root folder is the mount point of its own file system.
    QCOMPARE(fileSystemOf(QStringLiteral("/"))->mountPoint, QStringLiteral("/"));
}

void TstNetworkFolder::aMissingFolderIsAskedAboutThroughItsParent()
{
    QTemporaryDir dir;
    const std::optional<FileSystemInfo> parent = fileSystemOf(dir.path());
    const std::optional<FileSystemInfo> missing = fileSystemOf(dir.path() + QStringLiteral("/not/yet/there"));
    QVERIFY(parent && missing);
    QCOMPARE(missing->type, parent->type);
    QCOMPARE(missing->mountPoint, parent->mountPoint);
}

void TstNetworkFolder::unknownFileSystemIsLocal()
{
    const FileSystemProbe silent = [](const QString&) { return std::optional<FileSystemInfo>(); };
    QCOMPARE(folderLocation(QStringLiteral("/srv"), silent), FolderLocation::Local);
    QCOMPARE(folderLocation(QStringLiteral("/srv"), FileSystemProbe()), FolderLocation::Local);
}

void TstNetworkFolder::question_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<quint64>("type");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("form");
    // The table: G is /net/g; /srv/share is where the probe mounts its file system.
    QTest::newRow("local plain path") << QStringLiteral("/home/dns/win") << kNfs << false << QStringLiteral("C")
                                      << QStringLiteral("/home/dns/win");
    QTest::newRow("plain path on nfs") << QStringLiteral("/srv/share/win") << kNfs << true
                                       << QStringLiteral("/srv/share") << QStringLiteral("/srv/share/win");
    QTest::newRow("plain path on cifs") << QStringLiteral("/srv/share/win") << kCifs << true
                                        << QStringLiteral("/srv/share") << QStringLiteral("/srv/share/win");
    QTest::newRow("plain path on a local disk") << QStringLiteral("/srv/share/win") << kExt4 << false
                                                << QStringLiteral("C") << QStringLiteral("/srv/share/win");
    QTest::newRow("folder under drive G")
        << QStringLiteral("/net/g/winnt") << kExt4 << true << QStringLiteral("G") << QStringLiteral("G:\\winnt");
    QTest::newRow("letter G as written") << QStringLiteral("G:\\winnt") << kExt4 << true << QStringLiteral("G")
                                         << QStringLiteral("G:\\winnt");
    QTest::newRow("letter C as written") << QStringLiteral("C:\\winnt") << kExt4 << false << QStringLiteral("C")
                                         << QStringLiteral("C:\\winnt");
    QTest::newRow("lower-case c") << QStringLiteral("c:\\winnt") << kExt4 << false << QStringLiteral("C")
                                  << QStringLiteral("c:\\winnt");
}

void TstNetworkFolder::question()
{
    QFETCH(QString, folder);
    QFETCH(quint64, type);
    QFETCH(bool, asked);
    QFETCH(QString, shown);
    QFETCH(QString, form);
    DriveTable drives;
    drives.setFolder(QLatin1Char('G'), QStringLiteral("/net/g"));
    const FolderDrive drive = folderDrive(folder, drives, probeWith(QStringLiteral("/srv/share"), type));
    QCOMPARE(asksIfNetworked(drive), asked);
    QCOMPARE(drive.shownDrive(), shown);
    QCOMPARE(drive.form, form);
}

void TstNetworkFolder::aMountGetsTheFirstFreeLetter()
{
    Sandbox box;
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("D"), QStringLiteral("/net/d"));
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("E"), QStringLiteral("/net/e"));
    const FolderDrive drive = folderDrive(QStringLiteral("/srv/share/win"), DriveTable::load(box.store),
                                          probeWith(QStringLiteral("/srv/share"), kNfs));
    QVERIFY(drive.needsLetter());
    QCOMPARE(localLetterOf(drive, box.store, box.prompter), QChar(QLatin1Char('F')));
    QCOMPARE(box.store.text(QStringLiteral("Drive Table"), QStringLiteral("F")), QStringLiteral("/srv/share"));
    QCOMPARE(DriveTable::load(box.store).toDrivePath(QStringLiteral("/srv/share/win"), QLatin1Char('F')),
             QStringLiteral("F:\\win"));

    // A folder with a letter keeps it; nothing is recorded.
    const FolderDrive lettered = folderDrive(QStringLiteral("/net/e/win"), DriveTable::load(box.store),
                                             probeWith(QStringLiteral("/net/e"), kNfs));
    QVERIFY(!lettered.needsLetter());
    QCOMPARE(localLetterOf(lettered, box.store, box.prompter), QChar(QLatin1Char('E')));
    QCOMPARE(box.prompter.prompts().size(), 0);
}

void TstNetworkFolder::everyLetterTaken()
{
    Sandbox box;
    for (char16_t c = u'D'; c <= u'Z'; ++c)
        box.store.setText(QStringLiteral("Drive Table"), QString(QChar(c)), QStringLiteral("/net/") + QChar(c));
    const FolderDrive drive = folderDrive(QStringLiteral("/srv/share/win"), DriveTable::load(box.store),
                                          probeWith(QStringLiteral("/srv/share"), kCifs));
    box.prompter.expectMessage(QStringLiteral("Error"),
                               QStringLiteral("Every drive letter of the drive table is in use, so /srv/share cannot "
                                              "be given one. The server is treated as local."));
    QCOMPARE(localLetterOf(drive, box.store, box.prompter), std::nullopt);
}

void TstNetworkFolder::singleLetters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("letter");
    QTest::newRow("C") << QStringLiteral("C") << true;
    QTest::newRow("lower case") << QStringLiteral("d") << true;
    QTest::newRow("two letters") << QStringLiteral("CD") << false;
    QTest::newRow("digit") << QStringLiteral("1") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("colon") << QStringLiteral(":") << false;
    QTest::newRow("blank") << QStringLiteral(" ") << false;
}

void TstNetworkFolder::singleLetters()
{
    QFETCH(QString, text);
    QFETCH(bool, letter);
    QCOMPARE(isSingleDriveLetter(text), letter);
}

void TstNetworkFolder::newBootFileOnAMountedShare()
{
    Sandbox box;
    const QString share = box.path(QStringLiteral("share"));
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("share/winnt/quorvane/zones"))));
    // The temporary folder is drive C of the table; a share mounted outside every lettered folder is the case.
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), box.path(QStringLiteral("c")));
    box.state.pendingServerId = QStringLiteral("ns2@ns2.example.com.");
    NewBootFile input{box.path(QStringLiteral("share/winnt")),
                      box.path(QStringLiteral("share/winnt/quorvane/zones")),
                      QStringLiteral("Windows NT 4.X"),
                      QStringLiteral("ns2"),
                      {}};
    DriveMapping mapping;
    mapping.probe = probeWith(share, kNfs);
    QStringList dialogs;
    mapping.dialog = [&dialogs](const QString& localDrive) -> std::optional<QString> {
        dialogs << localDrive;
        return dialogs.size() == 1 ? QStringLiteral("c:") : QStringLiteral("c");
    };
    box.prompter.expectMessage(QStringLiteral("Information"),
                               QStringLiteral("Is ") + share + QStringLiteral(" located on a networked computer? "),
                               Prompter::Button::Yes);
    box.prompter.expectMessage(QStringLiteral("Error!"), QStringLiteral("You must enter a SINGLE LETTER - Reenter."));
    BootContext context{box.state, box.store, box.prompter};
    QVERIFY(createBootFile(context, input, mapping).ok());

    QCOMPARE(dialogs, (QStringList{share, share}));
    QCOMPARE(box.store.text(QStringLiteral("Drive Table"), QStringLiteral("D")), share);
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns2")), QStringLiteral("D"));
    QCOMPARE(box.state.boot.mapdrive, QStringLiteral("D"));
    QCOMPARE(box.state.zoneLists.datapath, input.dataDirectory);
    QCOMPARE(box.state.boot.realpath, QStringLiteral("C:\\\\winnt\\\\quorvane\\\\zones"));
    QVERIFY(box.bytes(QStringLiteral("share/winnt/named.boot"))
                .contains("\r\ndirectory     C:\\\\winnt\\\\quorvane\\\\zones \r\n"));
    QCOMPARE(box.prompter.pending(), 0);
}

void TstNetworkFolder::newBootFileOnALocalMount()
{
    Sandbox box;
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("disk/winnt/quorvane/zones"))));
    box.state.pendingServerId = QStringLiteral("ns3@ns3.example.com.");
    NewBootFile input{box.path(QStringLiteral("disk/winnt")),
                      box.path(QStringLiteral("disk/winnt/quorvane/zones")),
                      QStringLiteral("Windows NT 4.X"),
                      QStringLiteral("ns3"),
                      {}};
    DriveMapping mapping;
    mapping.probe = probeWith(box.path(QStringLiteral("disk")), kExt4);
    BootContext context{box.state, box.store, box.prompter};
    QVERIFY(createBootFile(context, input, mapping).ok());
    QCOMPARE(box.prompter.prompts().size(), 0);
    QVERIFY(box.bytes(QStringLiteral("disk/winnt/named.boot"))
                .contains("\r\ndirectory     C:\\\\disk\\\\winnt\\\\quorvane\\\\zones \r\n"));
    QVERIFY(box.store.valueNames(QStringLiteral("MAPPING")).isEmpty());
}

void TstNetworkFolder::staleMappingIsCleared()
{
    Sandbox box;
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("win/quorvane/zones"))));
    // An earlier server of that name was reached through G; the new one is local.
    box.store.setText(QStringLiteral("MAPPING"), QStringLiteral("ns4"), QStringLiteral("G"));
    box.state.pendingServerId = QStringLiteral("ns4@ns4.example.com.");
    NewBootFile input{box.path(QStringLiteral("win")),
                      box.path(QStringLiteral("win/quorvane/zones")),
                      QStringLiteral("Windows NT 4.X"),
                      QStringLiteral("ns4"),
                      {}};
    BootContext context{box.state, box.store, box.prompter};
    QVERIFY(createBootFile(context, input).ok());
    QCOMPARE(box.prompter.prompts().size(), 0);
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns4")), QString());
    QCOMPARE(box.state.boot.mapdrive, QString());
    QCOMPARE(box.state.zoneLists.datapath, input.dataDirectory);
}

QTEST_GUILESS_MAIN(TstNetworkFolder)
#include "tst_networkfolder.moc"
