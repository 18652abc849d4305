#include "serverfixture.h"

#include "server/bootload.h"
#include "support/testfiles.h"

#include <QDir>

ServerFixture::ServerFixture(const QByteArray& bootText)
{
    store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
    store->setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(bootPath(), bootText);
    state.servername = QStringLiteral("ns");
    state.emailaddr = QStringLiteral("admin@example.com");
    state.defaultos = QStringLiteral("Windows NT 4.X");
    state.setup.runningSerial = QStringLiteral("2026120701");
    state.pendingBootFilePath = bootPath();
    state.pendingServerId = QStringLiteral("ns@ns.example.com.");
    state.zoneLists.firstzone = QStringLiteral("ns.example.com.");
}

QString ServerFixture::path(const QString& relative) const
{
    return QDir(dir.path()).filePath(relative);
}

QString ServerFixture::dataPath(const QString& file) const
{
    return path(QStringLiteral("ns/data/") + file);
}

bool ServerFixture::readBoot()
{
    BootContext context = bootContext();
    return readBootFile(context, false).ok();
}
