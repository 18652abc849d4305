// The boot file reader over any bytes: read as loading a server reads it, with every question answered by the
// answer that asks no further one, then turned back into the writer's lines.
#include "bootfile/bootwriter.h"
#include "fuzzsupport.h"
#include "platform/settingsstore.h"
#include "server/bootload.h"
#include "session/appstate.h"

#include <QDir>

namespace {

// A directory line decides where the reading creates the root cache file. A line that could lead out of the
// fuzz folder (an absolute path, a drive, a way up) names the fuzz folder's "data" instead: the fuzzer must not
// write into the machine, and the rest of the file is still read.
QByteArray keptInItsFolder(const QByteArray& input)
{
    QList<QByteArray> lines = input.split('\n');
    for (QByteArray& line : lines) {
        const QByteArray blanked = QByteArray(line).replace('\t', ' ');
        if (blanked.contains("directory ") &&
            (line.contains('/') || line.contains('\\') || line.contains(':') || line.contains("..")))
            line = "directory data";
    }
    return lines.join('\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = keptInItsFolder(fuzzInput(data, size));
    // A data folder "data" beside the boot file, with the files a boot file of the tests names.
    for (const char* name : {"cache.dns", "example.com.dns", "kept.dns", "zone.bak"})
        writeFuzzFile(QStringLiteral("win/data/") + QLatin1String(name), "; a file\r\n");
    AppState state;
    state.pendingBootFilePath = writeFuzzFile(QStringLiteral("win/named.boot"), input);
    state.pendingServerId = QStringLiteral("ns1@ns1.example.com.");
    SettingsStore store(QDir(fuzzFolder()).filePath(QStringLiteral("settings.ini")));
    FuzzPrompter prompter;
    BootContext context{state, store, prompter};
    readBootFile(context, false);
    bootFileLines(state.boot, state.defaultos);
    return 0;
}
