#include "sandbox.h"

#include "support/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

Sandbox::Sandbox()
    : store(QDir(dir.path()).filePath(QStringLiteral("settings.ini"))),
      platform(QDir(dir.path()).filePath(QStringLiteral("appdata")))
{
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
    state.version = QStringLiteral("1.50");
    state.defaultos = QStringLiteral("Windows NT 4.X");
    state.emailaddr = QStringLiteral("hostmaster@example.com");
    state.setup.runningSerial = QStringLiteral("2026120701");
    state.autoBackup = false;
    state.rootCacheText = QStringLiteral(".   3600000  IN  NS  A.ROOT-SERVERS.NET.\nA.ROOT-SERVERS.NET.  3600000  A  "
                                         "198.41.0.4\n");
}

QString Sandbox::path(const QString& relative) const
{
    return QDir(dir.path()).filePath(relative);
}

void Sandbox::file(const QString& relative, const QByteArray& bytes) const
{
    QVERIFY(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
    QVERIFY(writeBytes(path(relative), bytes));
}

QByteArray Sandbox::bytes(const QString& relative) const
{
    return readBytes(path(relative));
}

ServerContext Sandbox::context()
{
    ServerHooks serverHooks;
    serverHooks.buildPrimaryTree = [this] { events << QStringLiteral("primary tree"); };
    serverHooks.buildSecondaryTree = [this] { events << QStringLiteral("secondary tree"); };
    return ServerContext{state, store, prompter, platform, progress, serverHooks};
}

WizardHooks Sandbox::hooks()
{
    WizardHooks wizardHooks;
    wizardHooks.hideWizard = [this] { events << QStringLiteral("hide wizard"); };
    wizardHooks.setServerBoxText = [this](const QString& text) { events << QStringLiteral("box ") + text; };
    return wizardHooks;
}

QStringList Sandbox::stageEvents() const
{
    QStringList steps;
    for (const QString& event : events) {
        if (event.startsWith(QLatin1String("show ")) || event.startsWith(QLatin1String("stage ")) ||
            event.startsWith(QLatin1String("item ")) || event.startsWith(QLatin1String("bar ")) ||
            event == QLatin1String("hide"))
            steps << event;
    }
    return steps;
}

QMap<QString, QByteArray> treeChecksums(const QString& folder)
{
    QMap<QString, QByteArray> sums;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(folder).relativeFilePath(file);
        // A server's history grows with every loading and change; its files are what must stay.
        if (relative.startsWith(QLatin1String("dnsbackup/history.git/")) ||
            relative.contains(QLatin1String("/dnsbackup/history.git/")))
            continue;
        sums.insert(relative, QCryptographicHash::hash(readBytes(file), QCryptographicHash::Sha256));
    }
    return sums;
}

void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(file));
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
        QVERIFY(writeBytes(target, readBytes(file)));
    }
}

ImportBox::ImportBox()
{
    copyTree(testDataPath(QStringLiteral("newserver/source")), path(QStringLiteral("src")));
    QDir().mkpath(path(QStringLiteral("dest")));
    fields = initialWizardFields(state);
    fields.name = QStringLiteral("ns2");
    fields.firstzone = QStringLiteral("example.com");
}

bool ImportBox::run(ImportMode mode, const ImportRequest& request)
{
    ServerContext serverContext = context();
    return takeControlOrImport(serverContext, stage, fields, mode, hooks(), request);
}

ImportRequest ImportBox::byName() const
{
    ImportRequest request;
    request.sourceWindowsDirectory = path(QStringLiteral("src/winnt"));
    request.destinationWindowsDirectory = path(QStringLiteral("dest"));
    return request;
}
