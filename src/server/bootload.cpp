#include "server/bootload.h"

#include "bootfile/bootlines.h"
#include "bootfile/bootwriter.h"
#include "bootfile/filenameindex.h"
#include "bootfile/rootcache.h"
#include "platform/latin1lines.h"
#include "platform/osdetect.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "server/bootsave.h"
#include "server/confload.h"
#include "server/datadirectory.h"
#include "server/serverchange.h"
#include "server/serverfiles.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kFive = QStringLiteral("     ");
const QString kInformation = QStringLiteral("Information");
const QString kAttention = QStringLiteral("Attention!");

const QLatin1String kParameterKeywords[] = {QLatin1String("options "), QLatin1String("limit "),
                                            QLatin1String("xfrnets "), QLatin1String("bogusns "),
                                            QLatin1String("forwarders ")};

// A comment counts as a directory line only when it is one commented out: its first word is "directory".
bool isCommentedDirectoryLine(const QString& blanked)
{
    return blanked.mid(1).trimmed().startsWith(QLatin1String("directory "));
}

QString withoutTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == QLatin1Char(' ') || text.at(end - 1) == QLatin1Char('\t')))
        --end;
    return text.left(end);
}

enum class Outcome
{
    Done,
    Aborted,
    Cancelled
};

// One reading of a boot file, line by line, in the order of its tests.
class BootReading
{
public:
    BootReading(BootContext& context, bool skipZoneFileCheck, bool inspectOnly = false)
        : m_context(context), m_state(context.state), m_boot(context.state.boot),
          m_skip(skipZoneFileCheck || inspectOnly), m_inspectOnly(inspectOnly),
          m_data(context, DriveTable::load(context.store))
    {
    }

    BootReadResult run();

private:
    void start();
    QString bootDirectoryOf() const;
    QString mappedLetter() const;
    void rememberMapping();
    Outcome readLines(const QStringList& lines);
    Outcome directoryLine(const QStringList& lines, qsizetype index, const QString& blanked);
    void cacheLine(const QString& blanked);
    void osLine(const QString& blanked);
    Outcome primaryLine(const QString& line, const QString& blanked);
    void secondaryLine(const QString& line, const QString& blanked);
    void reportIncorrect(const QString& line);
    bool liesInside(const QString& file) const;
    void reportOutside();
    void refreshIndex();
    BootReadResult finish();

    BootContext& m_context;
    AppState& m_state;
    BootConfig& m_boot;
    const bool m_skip;
    const bool m_inspectOnly;
    DataDirectoryProcessor m_data;
    FileNameIndex m_files;
    FolderConfinement m_inside;
    QStringList m_outside; // the entries whose files lie outside the data directory, as "LINE KIND ZONE: FILE"
    bool m_directorySeen = false;
    bool m_cacheSeen = false;
    bool m_mapped = false;
    QString m_letter;
    qsizetype m_mappingLine = -1;
};

void BootReading::start()
{
    m_state.debugLog.logLine(QStringLiteral("--Entered Bootfile Loading"));
    m_state.serverLoaded = true;

    m_boot.clear();
    m_state.conf = ConfServer();
    ServerZoneLists& lists = m_state.zoneLists;
    for (QStringList* list :
         {&lists.primdns, &lists.primfiles, &lists.primviews, &lists.primdnssort, &lists.primfilesort, &lists.secdns,
          &lists.secfiles, &lists.secviews, &lists.secdnssort, &lists.secfilesort})
        list->clear();
    // A file without a directory line must not leave the previous server's data directory in place.
    lists.datapath.clear();
    m_state.selection = ZoneSelection();

    const QString bootDirectory = bootDirectoryOf();
    m_boot.bootDirectory = bootDirectory;
    m_state.path = bootDirectory;
    m_state.servername = displayNameOf(m_state.pendingServerId);
    m_boot.bootFileName = BootConfig::fileName();
    m_state.bootFileName = m_boot.bootFileName;

    // Until a directory line names the data directory, zone files are looked for beside the boot file.
    m_files = FileNameIndex(bootDirectory.isEmpty() ? QString() : QDir::cleanPath(bootDirectory));
    m_inside = FolderConfinement({m_files.folder()});
    m_letter = mappedLetter();
    m_mapped = !m_letter.isEmpty();
}

QString BootReading::bootDirectoryOf() const
{
    // A boot file that cannot be placed here has no directory: nothing is read from or written to a guess.
    QString bootDirectory;
    if (const std::optional<QString> bootFile = localBootFilePath(m_state.pendingBootFilePath, m_data.drives())) {
        bootDirectory = QFileInfo(*bootFile).absolutePath();
        if (!bootDirectory.endsWith(QLatin1Char('/')))
            bootDirectory += QLatin1Char('/');
    }
    return bootDirectory;
}

QString BootReading::mappedLetter() const
{
    if (m_state.servername.isEmpty())
        return QString();
    return m_context.store.text(QStringLiteral("MAPPING"), m_state.servername);
}

void BootReading::rememberMapping()
{
    // The writer does not carry the "MAPPING:" line over; without the letter in the settings the next reading
    // would look for the data directory on this machine's own drive and then write that drive into the file.
    const QString letter = m_letter.trimmed();
    if (m_inspectOnly || m_state.servername.isEmpty() || letter.isEmpty() || !mappedLetter().isEmpty())
        return;
    m_context.store.setText(QStringLiteral("MAPPING"), m_state.servername, letter);
    QString error;
    if (!m_context.store.sync(&error))
        reportGeneralError(m_context.prompter, error);
}

void BootReading::refreshIndex()
{
    m_files = FileNameIndex(m_state.zoneLists.datapath);
    m_inside = serverDataFolders(m_state);
}

bool BootReading::liesInside(const QString& file) const
{
    // A plain name of the folder's listing stays inside unless it is a link: thousands of zone files cost nothing.
    if (!file.contains(QLatin1Char('/'))) {
        const std::optional<QString> onDisk = m_files.find(file);
        if (!onDisk || !m_files.isLink(*onDisk))
            return true;
        return m_inside.contains(QDir(m_files.folder()).filePath(*onDisk));
    }
    return m_inside.contains(QDir(m_files.folder()).filePath(file));
}

void BootReading::reportOutside()
{
    if (m_outside.isEmpty())
        return;
    m_context.prompter.message(
        kAttention, QStringLiteral("These files named by the boot file lie outside the data directory %1. Their "
                                   "entries stay in the boot file as they stand; Quorvane does not read, write, "
                                   "delete or export them:\n%2")
                        .arg(QDir::toNativeSeparators(m_files.folder()), m_outside.join(QLatin1Char('\n'))));
}

void BootReading::reportIncorrect(const QString& line)
{
    m_context.prompter.message(kInformation,
                               QStringLiteral("An error has been found in your boot file :") + line +
                                   QStringLiteral(" is entered incorrectly."),
                               Prompter::Button::Ok, Prompter::Icon::Information);
}

Outcome BootReading::directoryLine(const QStringList& lines, qsizetype index, const QString& blanked)
{
    m_directorySeen = true;
    if (index + 1 < lines.size() && lines.at(index + 1).contains(QLatin1String("MAPPING:"))) {
        m_mapped = true;
        m_letter = textAfterFirstBlank(blanksForTabs(lines.at(index + 1)));
        m_mappingLine = index + 1;
        rememberMapping();
    } else {
        m_letter = mappedLetter();
        m_mapped = !m_letter.isEmpty();
    }
    if (!m_data.processDataDirectory(m_mapped, m_letter, blanked))
        return Outcome::Cancelled;
    refreshIndex();
    return Outcome::Done;
}

void BootReading::cacheLine(const QString& blanked)
{
    m_cacheSeen = true;
    m_boot.cacheFile = textFromField(blanked, 2).trimmed();
}

void BootReading::osLine(const QString& blanked)
{
    const QString named = textAfterFirstBlank(blanked);
    if (operatingSystemChoices().contains(named))
        m_state.defaultos = named;
}

Outcome BootReading::primaryLine(const QString& line, const QString& blanked)
{
    const QStringList fields = fieldsOf(blanked);
    if (fields.size() < 3) {
        reportIncorrect(line);
        return Outcome::Done;
    }
    const QString zone = fields.at(1);
    const QString file = textFromField(blanked, 2).trimmed();
    // An IPv6 reverse zone is reverse generation's own when it has the file generation writes; one of another
    // file was made by hand and is kept as any primary zone.
    const bool generatedIpv6 = zone.endsWith(QLatin1String("IP6.ARPA"), Qt::CaseInsensitive) &&
                               file.endsWith(QLatin1String(".reverse.DNS"), Qt::CaseInsensitive);
    if (blanked.toUpper().contains(QLatin1String("IN-ADDR.ARPA")) || generatedIpv6) {
        if (!liesInside(file))
            m_outside << QStringLiteral("primary %1: %2").arg(zone, file);
        m_boot.reversePrimaryLines << line;
        return Outcome::Done;
    }
    if (!liesInside(file)) {
        m_outside << QStringLiteral("primary %1: %2").arg(zone, file);
        m_boot.primaryEntries << zone + kFive + file;
        return Outcome::Done;
    }
    const auto keep = [&] {
        m_boot.primaryEntries << zone + kFive + file;
        m_state.zoneLists.primdns << zone.toLower();
        m_state.zoneLists.primfiles << file.toLower();
        return Outcome::Done;
    };
    for (;;) {
        if (m_skip || m_files.contains(file))
            return keep();
        const Prompter::Button answer = m_context.prompter.message(
            kInformation,
            file + QStringLiteral(" corresponding to ") + zone +
                QStringLiteral(" cannot be found. This entry will be removed from your boot file.") +
                QStringLiteral("Would you like to move to another data directory where this file may be located?"),
            Prompter::Button::Yes | Prompter::Button::No | Prompter::Button::Abort, Prompter::Icon::Information);
        if (answer == Prompter::Button::Abort)
            return Outcome::Aborted;
        // Only a person at the window drops the entry. A command from a script reads the server on its way to
        // something else: a "no" there must not cost the boot file a zone, whether the command succeeds or not.
        if (answer != Prompter::Button::Yes && m_context.prompter.isInteractive())
            return Outcome::Done;
        if (answer != Prompter::Button::Yes) {
            m_context.prompter.message(kInformation,
                                       zone + QStringLiteral(" stays in the boot file: only the window "
                                                             "removes an entry whose file is missing."),
                                       Prompter::Button::Ok, Prompter::Icon::Information);
            return keep();
        }
        if (!m_data.processDataDirectory(m_mapped, m_letter, QStringLiteral("directory NOTTHERE")))
            return Outcome::Cancelled;
        refreshIndex();
    }
}

void BootReading::secondaryLine(const QString& line, const QString& blanked)
{
    if (blanked.toUpper().contains(QLatin1String("IN-ADDR.ARPA"))) {
        const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
        if (semicolon >= 0) {
            // The writer puts " ;" before the comment; without trimming, each write would add a blank.
            m_boot.secondaryReverseLines << withoutTrailingBlanks(line.left(semicolon));
            m_boot.secondaryReverseComments << line.mid(semicolon + 1);
        } else {
            m_context.prompter.message(QStringLiteral("Error!"),
                                       QStringLiteral("You have removed commenting for a secondary reverse mapping "
                                                      "file. Some dialogs may not display correctly."));
            m_boot.secondaryReverseLines << line;
            m_boot.secondaryReverseComments << line;
        }
        const QStringList fields = fieldsOf(blanksForTabs(m_boot.secondaryReverseLines.last()));
        if (fields.size() >= 4 && !liesInside(fields.last()))
            m_outside << QStringLiteral("secondary %1: %2").arg(fields.at(1), fields.last());
        return;
    }
    const QStringList fields = fieldsOf(blanked);
    if (fields.size() < 4) {
        reportIncorrect(line);
        return;
    }
    const QString zone = fields.at(1);
    const QString file = fields.last();
    const QString masters = fields.mid(2, fields.size() - 3).join(QLatin1Char(' '));
    m_boot.secondaryEntries << zone + kFive + masters + kFive + file;
    if (!liesInside(file)) {
        m_outside << QStringLiteral("secondary %1: %2").arg(zone, file);
        return;
    }
    m_state.zoneLists.secdns << zone.toLower();
    m_state.zoneLists.secfiles << file.toLower();
}

Outcome BootReading::readLines(const QStringList& lines)
{
    // The comment lines the program writes itself are its layout; those of a file written elsewhere, and those
    // the program carried over under ";[OTHER ENTRIES]", are kept.
    const bool own = !lines.isEmpty() && (lines.first().startsWith(QLatin1String(";DNS File Name:")) ||
                                          lines.first() == QLatin1String(";[*-Quorvane-*]"));
    bool keepComments = !own;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        const QString blanked = blanksForTabs(line);
        const bool comment = line.startsWith(QLatin1Char(';'));
        bool recognised = i == m_mappingLine;
        if (own && line == otherEntriesHeading()) {
            keepComments = true;
            continue;
        }

        if (comment ? isCommentedDirectoryLine(blanked) : blanked.contains(QLatin1String("directory "))) {
            recognised = true;
            if (const Outcome outcome = directoryLine(lines, i, blanked); outcome != Outcome::Done)
                return outcome;
        }
        if (blanked.contains(QLatin1String("cache "))) {
            recognised = true;
            cacheLine(blanked);
        }
        if (blanked.contains(QLatin1String("OS:"))) {
            recognised = true;
            osLine(blanked);
        }
        if (!comment && blanked.contains(QLatin1String("primary "))) {
            recognised = true;
            if (const Outcome outcome = primaryLine(line, blanked); outcome != Outcome::Done)
                return outcome;
        }
        if (!comment && blanked.contains(QLatin1String("secondary "))) {
            recognised = true;
            secondaryLine(line, blanked);
        }
        // A line with two option keywords is still one line of the file: it is kept once. A commented-out option
        // is no option.
        for (const QLatin1String keyword : kParameterKeywords) {
            if (!comment && blanked.contains(keyword)) {
                recognised = true;
                m_boot.parameterLines << line;
                break;
            }
        }
        const QString trimmed = blanked.trimmed();
        if (!recognised && !trimmed.isEmpty() && trimmed != QLatin1String(";") && (!comment || keepComments))
            m_boot.otherLines << line;
    }
    return Outcome::Done;
}

BootReadResult BootReading::finish()
{
    m_state.debugLog.logLine(QStringLiteral("--Bootfile Loading: Completed Processing named.boot"));
    m_boot.fillGrids();

    if (!m_directorySeen) {
        m_context.prompter.message(kAttention, QStringLiteral("A directory entry could not be found in your boot "
                                                              "file. Please repair or restore your server."));
        return {BootReadStatus::NoDirectory, QString()};
    }
    if (m_cacheSeen && !liesInside(m_boot.cacheFile))
        m_outside << QStringLiteral("cache: %1").arg(m_boot.cacheFile);
    reportOutside();
    if (m_inspectOnly)
        return {};
    if (!m_cacheSeen) {
        m_context.prompter.message(kAttention, QStringLiteral("A cache entry could not be found in your boot file. "
                                                              "This will be updated for you."));
        m_boot.cacheFile = QStringLiteral("cache.dns");
    }
    QString error;
    // A cache file named outside the data directory is not read: the root hints are made as for one missing.
    const QString cacheSource = liesInside(m_boot.cacheFile) ? m_boot.cacheFile : QString();
    if (!ensureRootCache(m_files, cacheSource, m_state.rootCacheText, &error))
        reportGeneralError(m_context.prompter, error);

    const BootWriteResult written = writeBootFile(m_state);
    if (!written.ok) {
        reportGeneralError(m_context.prompter, written.errorText);
        return {BootReadStatus::NotWritten, written.errorText};
    }
    m_state.debugLog.logLine(QStringLiteral("--Bootfile Procedure Complete"));
    return {};
}

BootReadResult BootReading::run()
{
    // Taken before the state is emptied, so that a busy server leaves the loaded one as it was. A reading that
    // only looks writes nothing, and is what the control program does on behalf of a Quorvane holding the lock.
    std::optional<ServerChange> change;
    if (!m_inspectOnly) {
        change.emplace(bootDirectoryOf(), displayNameOf(m_state.pendingServerId));
        if (!change->isHeld()) {
            m_context.prompter.message(kAttention, change->errorText());
            return {BootReadStatus::Busy, change->errorText()};
        }
        // Reading the boot file again inside another operation is part of that operation.
        if (change->isOutermost())
            change->describe(loadNote(m_state.pendingServerId));
    }
    start();
    QString error;
    std::optional<QStringList> lines;
    const QString path = QDir(m_boot.bootDirectory).filePath(BootConfig::fileName());
    if (!m_boot.bootDirectory.isEmpty()) {
        // Stamped before it is read: a change made while it is read shows as a change when it is written.
        m_boot.fileStamp = FileStamp::of(path);
        lines = readLatin1Lines(path, ReadLimit::kBootFile, &error);
    }
    if (!lines) {
        // A file that is there but was refused (too large, or not readable) says why first.
        if (!m_boot.bootDirectory.isEmpty() && QFileInfo(path).isFile())
            reportGeneralError(m_context.prompter, error);
        m_context.prompter.message(kAttention, QStringLiteral("Fatal Error! Your boot file could not be found."));
        return {BootReadStatus::Unreadable, error};
    }
    m_state.debugLog.logLine(QStringLiteral("--Bootfile Loading: Processing named.boot"));
    switch (readLines(*lines)) {
    case Outcome::Aborted:
        return {BootReadStatus::Aborted, QString()};
    case Outcome::Cancelled:
        return {BootReadStatus::Cancelled, QStringLiteral("No data directory was chosen.")};
    case Outcome::Done:
        break;
    }
    return finish();
}

} // namespace

namespace {

// A server is described by a named.conf rather than a boot file when its registered path names one.
bool namesConfFile(const QString& path)
{
    return ManagedServer{QString(), path}.isNamedConf();
}

} // namespace

BootReadResult readBootFile(BootContext& context, bool skipZoneFileCheck)
{
    if (namesConfFile(context.state.pendingBootFilePath))
        return readConfServer(context, false);
    BootReading reading(context, skipZoneFileCheck);
    return reading.run();
}

BootReadResult inspectBootFile(BootContext& context)
{
    if (namesConfFile(context.state.pendingBootFilePath))
        return readConfServer(context, true);
    BootReading reading(context, true, true);
    return reading.run();
}
