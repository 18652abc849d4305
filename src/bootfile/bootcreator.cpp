#include "bootfile/bootcreator.h"

#include "bootfile/bootconfig.h"
#include "bootfile/bootlines.h"
#include "bootfile/bootwriter.h"
#include "bootfile/drivetable.h"
#include "checks/namechecks.h"
#include "platform/prompter.h"
#include "shell/appstate.h"
#include "shell/osdetect.h"
#include "shell/settingsstore.h"

#include <QDir>

#include <optional>

namespace {

const QString kFive = QStringLiteral("     ");

bool isSingleLetter(const QString& text)
{
    if (text.size() != 1 || hasIllegalCharacters(text))
        return false;
    const char16_t c = text.at(0).toUpper().unicode();
    return c >= u'A' && c <= u'Z';
}

// The server's own drive letter for a data directory this machine reaches on `localLetter`, none when the
// directory is not on a networked computer.
std::optional<QChar> askServerDrive(Prompter& prompter, QChar localLetter)
{
    if (localLetter == QLatin1Char('C'))
        return std::nullopt;
    const Prompter::Button networked =
        prompter.message(QStringLiteral("Information"),
                         QStringLiteral("Is ") + localLetter + QStringLiteral(" located on a networked computer? "),
                         Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Information);
    if (networked != Prompter::Button::Yes)
        return std::nullopt;
    const QString question =
        QStringLiteral("Quorvane needs to know the remote drive letter for the following mapped drive: ") +
        localLetter +
        QStringLiteral("\nQuorvane needs to know what drive the DNS server is installed on.  Enter the real drive, "
                       "not a network mapped drive letter.  Example: If it is installed on the 'C' drive of a "
                       "networked computer, select 'C'.");
    for (;;) {
        const std::optional<QString> answer = prompter.input(QStringLiteral("Network Drive Mapping"), question);
        // Closing the dialog without a letter leaves the directory unmapped rather than asking for ever.
        if (!answer)
            return std::nullopt;
        if (isSingleLetter(*answer))
            return answer->at(0).toUpper();
        prompter.message(QStringLiteral("Error!"), QStringLiteral("You must enter a SINGLE LETTER - Reenter."));
    }
}

} // namespace

QStringList newBootFileLines(const NewBootFile& input, const QString& directory)
{
    QStringList lines;
    lines << QStringLiteral(";[*-Quorvane-*]") << QStringLiteral(";QUORVANE BOOTFILE")
          << QStringLiteral(";QUORVANE File Name :") + BootConfig::fileName() + QLatin1Char(' ')
          << QStringLiteral(";This file holds info on primary servers, secondary, etc.") << generatedByLine()
          << QStringLiteral(";") << QStringLiteral(";[DIRECTORY]")
          << QStringLiteral("directory") + kFive + directory + QLatin1Char(' ')
          << QStringLiteral(";OS: ") +
                 (input.operatingSystem.isEmpty() ? noOperatingSystemChosen() : input.operatingSystem)
          << QStringLiteral(";") << QStringLiteral(";[PRIMARY SERVERS]") << QStringLiteral(";")
          << QStringLiteral(";[SECONDARY SERVERS]") << QStringLiteral(";") << QStringLiteral(";[COMMON ENTRIES]")
          << QStringLiteral("cache       .     cache.dns ")
          << QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ") + input.computerName +
                 QStringLiteral(".local.DNS ");
    for (qsizetype i = 0; i < input.reverseZones.size(); ++i)
        lines << QStringLiteral("primary     ") + input.reverseZones.at(i) + kFive + input.computerName +
                     QString::number(i) + QStringLiteral(".reverse.DNS ");
    lines << QStringLiteral(";") << QStringLiteral(";[PARAMETERS]") << QStringLiteral(";");
    return lines;
}

BootReadResult createBootFile(BootContext& context, const NewBootFile& input)
{
    const DriveTable drives = DriveTable::load(context.store);
    // A folder under a drive of the table is named by its letter, as the server's own machine sees it; any
    // other folder keeps its plain path.
    QString form = singleBackslashes(input.dataDirectory);
    if (!DriveTable::hasDriveLetter(form))
        form = drives.toDrivePath(form, QChar(), false).value_or(QDir::cleanPath(form));
    const QChar localLetter = DriveTable::driveOf(form);

    const std::optional<QChar> serverLetter = askServerDrive(context.prompter, localLetter);
    if (serverLetter)
        form[0] = *serverLetter;
    const QStringList lines = newBootFileLines(input, doubledBackslashes(form));

    if (serverLetter) {
        context.store.setText(QStringLiteral("MAPPING"), input.computerName, QString(localLetter));
        QString error;
        if (!context.store.sync(&error))
            reportGeneralError(context.prompter, error);
    }

    const QString path = QDir(input.windowsDirectory).filePath(BootConfig::fileName());
    QString reason;
    if (!saveWholeFile(path, crlfLines(lines), &reason)) {
        const QString error = QStringLiteral("The boot file %1 could not be written: %2").arg(path, reason);
        reportGeneralError(context.prompter, error);
        return {BootReadStatus::NotWritten, error};
    }
    context.state.tobeloaded = path;
    return readBootFile(context, false);
}
