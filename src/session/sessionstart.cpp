#include "session/sessionstart.h"

#include "checks/namechecks.h"
#include "platform/filereading.h"
#include "platform/osdetect.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "session/appstate.h"
#include "session/settings.h"

#include <QDir>

void prepareFirstShowing(AppState& state, const SettingsStore& store, Prompter& prompter, const Platform& platform)
{
    state.vertext = platform.platformName();
    state.defaultos = guessDefaultOs(state.defaultos, state.vertext, platform.versionText());
    loadSettings(state, store, prompter, platform);
    state.path = state.exepath;
    if (state.emailaddr.isEmpty())
        askAdministratorAddress(state, prompter);
}

void askAdministratorAddress(AppState& state, Prompter& prompter)
{
    for (;;) {
        state.emailaddr = prompter
                              .input(QStringLiteral("Enter E-Mail Address"),
                                     QStringLiteral("Enter the e-mail address of the DNS Administrator"))
                              .value_or(QString());
        QString tested = state.emailaddr;
        tested.replace(QLatin1Char('@'), QLatin1Char('.'));
        if (!hasIllegalCharacters(tested))
            return;
        prompter.message(QStringLiteral("Error!"),
                         QStringLiteral("You have entered an invalid character in your e-mail address."));
    }
}

std::optional<QString> readCacheDownload(const QString& folder)
{
    // Root hints are a few kilobytes; anything else in their place is not shown.
    const FileReadResult read =
        readWholeFile(QDir(folder).filePath(QStringLiteral("cache.tmp")), ReadLimit::kSmallFile);
    if (!read.ok())
        return std::nullopt;
    QString text = QString::fromLatin1(*read.bytes);
    text.remove(QLatin1Char('\r'));
    return text;
}

void toggleDebugLog(AppState& state, Prompter& prompter, const Platform& platform)
{
    const QString when = platform.shortDateLongTime(platform.now());
    if (!state.debugLog.isOn()) {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("Quorvane Debug Logging Activated."));
        state.debugLog.switchOn(when);
    } else {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("Quorvane Debug Logging Disabled."));
        state.debugLog.switchOff(when);
    }
}
