#include "server/bindaccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// What keeps the distribution's name server (user bind, under its AppArmor profile) from a server's folder, judged
// on real folders with real owners and modes.
class TstBindAccess : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void problemsOfAFolder_data();
    void problemsOfAFolder();
};

namespace {

const QString kEnforced = QStringLiteral("/usr/sbin/named (enforce)\nnvidia_modprobe (enforce)\n");
const QString kComplaining = QStringLiteral("/usr/sbin/named (complain)\n");

} // namespace

void TstBindAccess::problemsOfAFolder_data()
{
    QTest::addColumn<bool>("groupBind"); // the folder's group is bind
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("secondaries");
    QTest::addColumn<QString>("profiles");
    QTest::addColumn<QStringList>("expected"); // the start of each problem told

    const QString unreadable = QStringLiteral("The name server (user bind) cannot read the folder");
    const QString unwritable = QStringLiteral("The name server (user bind) cannot keep the secondary zones' copies");
    const QString apparmor = QStringLiteral("AppArmor lets the name server read only");
    QTest::newRow("readable by all") << false << 0755 << false << QString() << QStringList();
    QTest::newRow("root's alone") << false << 0700 << false << QString() << QStringList{unreadable};
    QTest::newRow("group bind may read") << true << 0750 << false << QString() << QStringList();
    QTest::newRow("secondaries, nobody else may write")
        << false << 0755 << true << QString() << QStringList{unwritable};
    QTest::newRow("secondaries, group bind may write") << true << 0770 << true << QString() << QStringList();
    QTest::newRow("profile enforced, folder outside it")
        << false << 0755 << false << kEnforced << QStringList{apparmor};
    QTest::newRow("profile complaining only") << false << 0755 << false << kComplaining << QStringList();
    QTest::newRow("both at once") << false << 0700 << false << kEnforced << QStringList{unreadable, apparmor};
}

void TstBindAccess::problemsOfAFolder()
{
    QFETCH(bool, groupBind);
    QFETCH(int, mode);
    QFETCH(bool, secondaries);
    QFETCH(QString, profiles);
    QFETCH(QStringList, expected);
    const struct group* bind = ::getgrnam("bind");
    if (::geteuid() != 0 || !bind)
        QSKIP("needs root and the user bind of the bind9 package");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("zones"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chown(QFile::encodeName(folder).constData(), 0, groupBind ? bind->gr_gid : 0) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), mode_t(mode)) == 0);

    const QStringList problems = folderAccessProblems(folder, secondaries, profiles);
    QCOMPARE(problems.size(), expected.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        QVERIFY2(problems.at(i).startsWith(expected.at(i)), qPrintable(problems.at(i)));
        // Every problem names the folder and says how to mend it.
        QVERIFY2(problems.at(i).contains(folder), qPrintable(problems.at(i)));
        QVERIFY2(problems.at(i).contains(QLatin1String("chmod")) ||
                     problems.at(i).contains(QLatin1String("/etc/apparmor.d/local/usr.sbin.named")),
                 qPrintable(problems.at(i)));
    }
}

QTEST_GUILESS_MAIN(TstBindAccess)
#include "tst_bindaccess.moc"
