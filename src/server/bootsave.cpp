#include "server/bootsave.h"

#include "bootfile/bootconfig.h"
#include "bootfile/bootlines.h"
#include "bootfile/bootwriter.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"
#include "platform/progress.h"
#include "server/confzones.h"
#include "server/serverchange.h"
#include "session/appstate.h"

#include <QDir>

BootWriteResult writeBootFile(AppState& state, Progress* shownProgress)
{
    state.debugLog.logLine(QStringLiteral("--Begin Saving Bootfile"));
    BootConfig& boot = state.boot;
    if (boot.bootDirectory.isEmpty())
        return {false, QStringLiteral("No server is loaded, so there is no boot file to write.")};

    const QString path = QDir(boot.bootDirectory).filePath(BootConfig::fileName());
    // Writing what this program read over what another one has written since would lose that one's change.
    const ServerChange change(state);
    if (!change.isHeld())
        return {false, change.errorText()};
    if (state.conf.isLoaded()) {
        const BootWriteResult written = writeConfZones(state);
        if (shownProgress) {
            shownProgress->setProgress(100);
            shownProgress->hideProgress();
        }
        return written;
    }
    const QByteArray bytes = crlfLines(bootFileLines(boot, state.defaultos));
    const FileWriteResult written = replaceFile(path, bytes);
    if (shownProgress) {
        shownProgress->setProgress(100);
        shownProgress->hideProgress();
    }
    if (!written.ok)
        return {false, QStringLiteral("The boot file ") + written.errorText};
    boot.fileStamp = FileStamp::of(path, bytes);
    state.debugLog.logLine(QStringLiteral("--End Saving Bootfile"));
    return {};
}
