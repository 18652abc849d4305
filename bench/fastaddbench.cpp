// Fast add of many zones in one "GO" on a loaded server: every zone file written, the boot file saved twice
// per zone and each zone read once, as the dialog does it.
// Usage: fastaddbench [ZONES] (500 by default; the target is under 5 seconds)

#include "editors/fastadd.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "server/bootload.h"
#include "session/appstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// The one prompt expected is the closing count; anything else ends the run.
class CountingPrompter : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons, Icon) override
    {
        if (!text.endsWith(QLatin1String(" zones have been added to your server."))) {
            std::fprintf(stderr, "unexpected prompt: %s: %s\n", qPrintable(caption), qPrintable(text));
            std::exit(1);
        }
        closing = text;
        return Button::Ok;
    }
    Button askQuestion(const QString&, bool) override { return Button::Cancel; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> pick(const QString&, const QStringList&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }

    QString closing;
};

bool writeText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int zones = argc > 1 ? std::atoi(argv[1]) : 500;
    QTemporaryDir dir;
    const QString data = QDir(dir.path()).filePath(QStringLiteral("ns/data"));
    QDir().mkpath(data);
    writeText(QDir(data).filePath(QStringLiteral("cache.dns")), QByteArray());
    const QString boot = QDir(dir.path()).filePath(QStringLiteral("ns/named.boot"));
    writeText(boot, "directory C:\\\\ns\\\\data\r\ncache . cache.dns\r\n");

    SettingsStore store(QDir(dir.path()).filePath(QStringLiteral("settings.ini")));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
    CountingPrompter prompter;
    NullProgress progress;
    AppState state;
    state.servername = QStringLiteral("ns");
    state.emailaddr = QStringLiteral("hostmaster@example.com");
    state.defaultos = QStringLiteral("Windows NT 4.X");
    state.setup.runningSerial = QStringLiteral("2026120701");
    state.pendingBootFilePath = boot;
    BootContext bootContext{state, store, prompter};
    if (!readBootFile(bootContext, false).ok()) {
        std::fprintf(stderr, "the boot file could not be read\n");
        return 1;
    }

    QStringList names;
    for (int i = 0; i < zones; ++i)
        names << QStringLiteral("zone%1.example.com").arg(i);
    ZoneContext context{state, prompter, progress, {}, {}};
    QElapsedTimer timer;
    timer.start();
    const int created = runFastAdd(context, names);
    const qint64 elapsed = timer.elapsed();
    std::printf("fast add of %d zones: %lld ms (%s)\n", created, static_cast<long long>(elapsed),
                qPrintable(prompter.closing));
    return created == zones && elapsed < 5000 ? 0 : 1;
}
