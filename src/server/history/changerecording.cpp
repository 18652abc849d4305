#include "server/history/changerecording.h"

#include "platform/filechangenotice.h"
#include "platform/filereading.h"
#include "platform/folderconfinement.h"
#include "platform/notices.h"
#include "server/history/changesummary.h"
#include "server/history/serverhistory.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <chrono>
#include <future>
#include <map>
#include <optional>

namespace {

struct Journal
{
    QString bootDirectory;
    QString dataDirectory;
    // The server's two folders: a file reached through a link that leads out of them is not recorded.
    FolderConfinement inside;
    QStringList fileNames;
    // Each file replaced or removed, by its full path, with what it held before the first change.
    QMap<QString, std::optional<QByteArray>> before;
    QStringList notes;
};

std::map<QString, Journal>& journals()
{
    static std::map<QString, Journal> open;
    return open;
}

QList<const QString*>& activeNotes()
{
    static QList<const QString*> notes;
    return notes;
}

QMap<QString, QString>& seenHeads()
{
    static QMap<QString, QString> heads;
    return heads;
}

std::function<void(const QString&)>& failureHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

std::function<void()>& keepAlive()
{
    static std::function<void()> alive;
    return alive;
}

QStringList& pendingFailures()
{
    static QStringList failures;
    return failures;
}

std::function<void(const QString&)>& packer()
{
    static std::function<void(const QString&)> pack;
    return pack;
}

// What a file holds before the process changes it. While the data directory is not known yet, only the boot
// directory's files are followed through a link; any other is read as it stands, without following one.
std::optional<QByteArray> heldBefore(const Journal& journal, const QString& path)
{
    if (!journal.dataDirectory.isEmpty() || journal.inside.contains(path))
        return serverFileBytes(journal.inside, path);
    return readWholeFile(path, ReadLimit::kZoneFile, FinalLinks::Refuse).bytes;
}

QString canonicalFolder(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void noteChange(const QString& path)
{
    if (journals().empty())
        return;
    const QFileInfo file(path);
    const QString full = QDir(canonicalFolder(file.absolutePath())).filePath(file.fileName());
    for (auto& [key, journal] : journals()) {
        if (!journal.before.contains(full))
            journal.before.insert(full, heldBefore(journal, full));
    }
}

// How often a window that waits for a revision to be written gets a turn.
constexpr std::chrono::milliseconds kKeepAliveStep{25};

// What writing a revision came to: a failure to report, or the newest revision; and what the user should hear of.
struct Recorded
{
    QString dataDirectory;
    QString failure;
    std::optional<QString> head;
    QStringList notices;
    bool packDue = false;
};

// Changes the history did not record when they were made (a process ended between its write and its revision,
// or another program) become a revision of their own before the change that found them, so that undoing that
// change does not quietly take them away too.
bool recordUnrecorded(ServerHistory& history, const QList<FileChange>& changes, QString* failure)
{
    QList<HistoryFile> found;
    QStringList names;
    for (const FileChange& change : changes) {
        const std::optional<std::optional<QByteArray>> held = history.headBytes(change.name);
        if (!held) {
            *failure = history.errorText();
            return false;
        }
        if (*held != change.before) {
            found << HistoryFile{change.name, change.before};
            names << change.name;
        }
    }
    if (found.isEmpty())
        return true;
    const QString message =
        QStringLiteral("Changes the history did not record: %1\n\n%2")
            .arg(names.join(QStringLiteral(", ")), QLatin1String(ServerHistory::kUnrecordedTrailer));
    if (!history.record(message, found)) {
        *failure = history.errorText();
        return false;
    }
    return true;
}

void report(const QString& text)
{
    const QString message =
        QStringLiteral("The change was made, but the server's history could not record it: %1").arg(text);
    if (failureHandler())
        failureHandler()(message);
    else
        pendingFailures() << message;
}

// Touches nothing but the journal and the files, so that it may run on a thread of its own.
Recorded record(const Journal& journal)
{
    Recorded recorded;
    recorded.dataDirectory = journal.dataDirectory;
    if (journal.dataDirectory.isEmpty() || journal.before.isEmpty())
        return recorded;
    ServerHistory history(journal.bootDirectory, journal.dataDirectory);
    QList<FileChange> changes;
    for (auto it = journal.before.cbegin(); it != journal.before.cend(); ++it) {
        const QString name = history.nameOf(it.key());
        if (!name.isEmpty())
            changes << FileChange{name, it.value(), history.bytesOnDisk(it.key())};
    }
    if (changes.isEmpty())
        return recorded;
    const auto finished = [&recorded, &history] {
        recorded.notices << history.takeNotices();
        recorded.packDue = recorded.failure.isEmpty() && history.needsPacking();
        return recorded;
    };
    if (!history.exists()) {
        QList<HistoryFile> found;
        QStringList names = history.namesOnDisk(journal.fileNames);
        for (const FileChange& change : std::as_const(changes)) {
            if (!names.contains(change.name))
                names << change.name;
        }
        for (const QString& name : std::as_const(names)) {
            const auto changed = std::find_if(changes.cbegin(), changes.cend(),
                                              [&name](const FileChange& change) { return change.name == name; });
            const std::optional<QByteArray> bytes =
                changed != changes.cend() ? changed->before : history.bytesOnDisk(history.diskPath(name));
            if (bytes)
                found << HistoryFile{name, bytes};
        }
        if (!history.record(QStringLiteral("Files as found"), found)) {
            recorded.failure = history.errorText();
            return finished();
        }
    } else if (!recordUnrecorded(history, changes, &recorded.failure)) {
        return finished();
    }
    QList<HistoryFile> now;
    QList<FileChange> real;
    for (const FileChange& change : std::as_const(changes)) {
        now << HistoryFile{change.name, change.after};
        if (change.before != change.after)
            real << change;
    }
    const QString description = journal.notes.isEmpty() ? describeChange(real) : journal.notes.first();
    if (!history.record(description, now)) {
        recorded.failure = history.errorText();
        return finished();
    }
    recorded.head = history.head();
    return finished();
}

// Writes the revision. Where a window waits (the first revision of a server of thousands of zones takes a
// second), it is written on a thread of its own while the window keeps drawing; the server stays locked.
void recordAndReport(const Journal& journal)
{
    Recorded recorded;
    if (keepAlive()) {
        std::future<Recorded> writing = std::async(std::launch::async, [journal] { return record(journal); });
        while (writing.wait_for(kKeepAliveStep) != std::future_status::ready)
            keepAlive()();
        recorded = writing.get();
    } else {
        recorded = record(journal);
    }
    for (const QString& notice : std::as_const(recorded.notices))
        Notices::post(notice);
    if (!recorded.failure.isEmpty())
        report(recorded.failure);
    else if (recorded.head)
        ChangeRecording::setSeenHead(recorded.dataDirectory, *recorded.head);
    if (recorded.packDue && packer())
        packer()(recorded.dataDirectory);
}

} // namespace

namespace ChangeRecording {

void begin(const QString& key, const QString& bootDirectory)
{
    static const bool listening = [] {
        setFileChangeListener(noteChange);
        return true;
    }();
    Q_UNUSED(listening);
    Journal journal;
    journal.bootDirectory = canonicalFolder(bootDirectory);
    journal.inside = FolderConfinement({journal.bootDirectory});
    for (const QString* note : std::as_const(activeNotes()))
        journal.notes << *note;
    journals()[key] = std::move(journal);
}

void describeServer(const QString& key, const QString& dataDirectory, const std::function<QStringList()>& fileNames)
{
    const auto found = journals().find(key);
    if (found == journals().end() || dataDirectory.isEmpty())
        return;
    Journal& journal = found->second;
    journal.dataDirectory = canonicalFolder(dataDirectory);
    journal.inside = FolderConfinement({journal.bootDirectory, journal.dataDirectory});
    if (seenHeads().contains(journal.dataDirectory))
        return;
    ServerHistory history(journal.bootDirectory, journal.dataDirectory);
    if (!history.exists()) {
        // Listing thousands of zones is worth it only for the first revision.
        journal.fileNames = fileNames();
        return;
    }
    if (const std::optional<QString> head = history.head())
        setSeenHead(journal.dataDirectory, *head);
}

void finish(const QString& key)
{
    const auto found = journals().find(key);
    if (found == journals().end())
        return;
    const Journal journal = std::move(found->second);
    journals().erase(found);
    recordAndReport(journal);
}

void checkpoint(const QString& key)
{
    const auto found = journals().find(key);
    if (found == journals().end())
        return;
    Journal& journal = found->second;
    recordAndReport(journal);
    journal.before.clear();
    journal.notes.clear();
    for (const QString* note : std::as_const(activeNotes()))
        journal.notes << *note;
}

void setKeepAlive(std::function<void()> turn)
{
    keepAlive() = std::move(turn);
}

void setFailureHandler(std::function<void(const QString&)> handler)
{
    failureHandler() = std::move(handler);
}

QStringList takeFailures()
{
    return std::exchange(pendingFailures(), QStringList());
}

bool hasFailures()
{
    return !pendingFailures().isEmpty();
}

void setPacker(std::function<void(const QString&)> pack)
{
    packer() = std::move(pack);
}

QString seenHead(const QString& dataDirectory)
{
    return seenHeads().value(canonicalFolder(dataDirectory));
}

void setSeenHead(const QString& dataDirectory, const QString& revision)
{
    seenHeads().insert(canonicalFolder(dataDirectory), revision);
}

} // namespace ChangeRecording

ChangeNote::ChangeNote(QString description) : m_description(std::move(description))
{
    // Without words the revision is described from the files.
    if (m_description.isEmpty())
        return;
    activeNotes() << &m_description;
    for (auto& [key, journal] : journals())
        journal.notes << m_description;
}

ChangeNote::~ChangeNote()
{
    activeNotes().removeOne(&m_description);
}

QString loadNote(const QString& serverIdentifier)
{
    return QStringLiteral("Load server %1").arg(serverIdentifier.section(QLatin1Char('@'), 0, 0));
}
