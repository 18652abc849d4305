#include "server/datadirectory.h"

#include "bootfile/bootlines.h"
#include "platform/prompter.h"
#include "platform/systemfolders.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>

DataDirectoryProcessor::DataDirectoryProcessor(BootContext& context, DriveTable drives)
    : m_context(context), m_drives(std::move(drives))
{
}

std::optional<QString> DataDirectoryProcessor::localFolder(const QString& form) const
{
    return m_drives.toLocal(form, m_context.state.boot.bootDirectory);
}

QString DataDirectoryProcessor::formOfChosenFolder(const QString& folder, QChar localLetter) const
{
    // A server whose file names its folders by drive letter keeps doing so; one written here with plain paths
    // keeps plain paths.
    if (m_keptFileForm && DriveTable::hasDriveLetter(*m_keptFileForm)) {
        if (const std::optional<QString> drivePath = m_drives.toDrivePath(folder, localLetter))
            return *drivePath;
    }
    return folder;
}

bool DataDirectoryProcessor::processDataDirectory(bool mapped, const QString& driveLetter, const QString& directoryLine)
{
    AppState& state = m_context.state;
    BootConfig& boot = state.boot;
    state.debugLog.logLine(QStringLiteral("--Begin Process Data Dir"));

    QString form = textAfterFirstField(blanksForTabs(directoryLine));
    if (!m_keptFileForm)
        m_keptFileForm = form;
    form = singleBackslashes(form);

    const QString letter = driveLetter.trimmed();
    const bool letterUsable = mapped && !letter.isEmpty();
    if (letterUsable) {
        if (DriveTable::hasDriveLetter(form))
            form[0] = letter.at(0);
        boot.mapdrive = letter;
    }
    form = form.trimmed();

    std::optional<QString> local = localFolder(form);
    // A system folder is refused before anything is read from or written into it, like a folder that is missing.
    while (!local || !QFileInfo(*local).isDir() ||
           !isAllowedDataDirectory(*local, state.bind9.permittedDataFolders())) {
        const QString shown = local ? *local : form;
        if (local && QFileInfo(*local).isDir())
            m_context.prompter.message(QStringLiteral("Attention!"), systemFolderRefusal(shown));
        else
            m_context.prompter.message(QStringLiteral("Information"),
                                       shown + QStringLiteral(" could not be found. Please press OK to update your "
                                                              "data directory."),
                                       Prompter::Button::Ok, Prompter::Icon::Information);
        const std::optional<QString> chosen = m_context.prompter.browseFolder(
            QStringLiteral("The data directory of the active server must be updated."), boot.bootDirectory);
        if (!chosen)
            return false;
        if (chosen->isEmpty()) {
            local.reset();
            continue;
        }
        local = QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath());
        form = formOfChosenFolder(*local, letterUsable ? letter.at(0) : QChar());
    }

    state.zoneLists.datapath = *local;
    boot.holdpath = doubledBackslashes(form);
    boot.realpath = boot.holdpath;
    // The file keeps the server's own drive letter, not the one this machine reaches it by.
    if (letterUsable && DriveTable::hasDriveLetter(boot.realpath) && DriveTable::hasDriveLetter(*m_keptFileForm))
        boot.realpath[0] = m_keptFileForm->at(0);

    m_writeRequested = true;
    state.debugLog.logLine(QStringLiteral("--End Process Data Dir"));
    return true;
}

std::optional<QString> dataDirectoryOfBootLines(const QStringList& lines, const QString& bootDirectory,
                                                const QString& settingsLetter, const DriveTable& drives)
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QString blanked = blanksForTabs(lines.at(i));
        if (!blanked.contains(QLatin1String("directory ")))
            continue;
        QString letter = settingsLetter;
        if (i + 1 < lines.size() && lines.at(i + 1).contains(QLatin1String("MAPPING:")))
            letter = textAfterFirstBlank(blanksForTabs(lines.at(i + 1)));
        letter = letter.trimmed();
        QString form = singleBackslashes(textAfterFirstField(blanked)).trimmed();
        if (!letter.isEmpty() && DriveTable::hasDriveLetter(form))
            form[0] = letter.at(0);
        return drives.toLocal(form, bootDirectory);
    }
    return std::nullopt;
}
