#pragma once

#include "platform/folderconfinement.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

struct git_repository;
struct git_oid;
struct git_tree;

// A server file's bytes as they are on the disk: none when it is not there, or is no file the program would read as
// one of a server's (no regular file, or one reached through a link that leads out of the folders given).
std::optional<QByteArray> serverFileBytes(const FolderConfinement& folders, const QString& path);

// One file of a server as a revision holds it: its name (the boot file's name, or a data file's name in the data
// directory) and its bytes; no bytes when the file is gone.
struct HistoryFile
{
    QString name;
    std::optional<QByteArray> bytes;
};

struct Revision
{
    QString id; // the full commit id
    QString summary;
    QString message;
    QDateTime when;
    QString author;    // user@host
    QStringList files; // the names the revision changed, added or removed
    QString undoes;    // for an undo, the id of the revision it undid
};

// The history of one server's files: a bare Git repository of its own inside the server's backup folder, apart
// from any repository the user keeps, so that the ordinary Git tools read it as well. Each revision holds the
// whole set of the server's files; a data file lies in a subfolder named after its name's hash, so that a change
// to one zone of thousands writes two small trees rather than one listing every file.
class ServerHistory
{
public:
    ServerHistory(QString bootDirectory, QString dataDirectory);
    ~ServerHistory();
    ServerHistory(const ServerHistory&) = delete;
    ServerHistory& operator=(const ServerHistory&) = delete;

    static QString gitDirectory(const QString& dataDirectory);
    // The revision from which the name server last loaded the files, set whenever the program has it reload them.
    static constexpr const char* kLoadedMarker = "refs/quorvane/loaded";
    static constexpr const char* kUndoTrailer = "Undoes: ";
    // Marks a revision of changes the history did not record when they were made (a process ended between its
    // write and its revision, or another program), recorded before the change that found them.
    static constexpr const char* kUnrecordedTrailer = "Unrecorded: yes";
    // The history is packed once its loose objects pass either.
    static constexpr qint64 kPackObjects = 1000;
    static constexpr qint64 kPackBytes = 50 * 1024 * 1024;

    bool exists() const;
    // Opens the repository, making it first when asked to; false with errorText() when that fails.
    bool open(bool create);
    const QString& errorText() const { return m_error; }

    // The files on top of the newest revision as a new revision; an empty id when nothing differs, none on failure.
    std::optional<QString> record(const QString& message, const QList<HistoryFile>& files);
    // The newest revision's id; empty while there is none, none on failure.
    std::optional<QString> head();
    // Newest first; with a file name, only the revisions that changed that file.
    std::optional<QList<Revision>> revisions(const QString& fileName = QString());
    // A revision named by its id, an abbreviation of it or a Git revision expression.
    std::optional<Revision> revision(const QString& name);
    // What the revision changed, as a patch; file names are the program's own.
    std::optional<QString> diff(const QString& revisionId);
    // Every file a revision holds.
    std::optional<QMap<QString, QByteArray>> files(const QString& revisionId);
    // The patch from a revision's files to the files on the disk now, over the names of both.
    std::optional<QString> diffToDisk(const QString& revisionId, const QStringList& names);
    // Whether the file on the disk holds what the newest revision holds of it.
    std::optional<bool> diskMatchesHead(const QString& name);
    // Of the names, those whose file on the disk differs from what the newest revision holds (or that it lacks).
    std::optional<QStringList> namesChangedSinceHead(const QStringList& names);
    // What the newest revision holds of a file; none when it holds no such file.
    std::optional<std::optional<QByteArray>> headBytes(const QString& name);

    // Whether the history is kept from other users, as it is once it holds a file they may not read.
    bool isPrivate() const;
    // Whether its loose objects have grown past the thresholds above (estimated from one of their folders).
    bool needsPacking() const;
    // Gathers the loose objects into one pack file and removes them; safe beside a process that records meanwhile.
    bool packLooseObjects();
    // What was cleared while the history was opened for writing (lock files and temporaries a process that was
    // ended left behind), for the user to hear of.
    QStringList takeNotices() { return std::exchange(m_notices, QStringList()); }

    bool setMarker(const char* reference, const QString& revisionId);
    // The revision a marker points to; empty when it was never set.
    std::optional<QString> marker(const char* reference);

    // A server file's bytes as they are on the disk; none when it is not there (or is no file the program would
    // read as one of a server's, or one reached through a link that leads out of the server's two folders).
    std::optional<QByteArray> bytesOnDisk(const QString& path) const;

    // Where a file of a revision lies on the disk.
    QString diskPath(const QString& name) const;
    // The names as the files are spelled on the disk: the server's lists hold them in lower case, and the program
    // finds them without regard to case.
    QStringList namesOnDisk(const QStringList& names) const;
    // The name under which a file on the disk is kept; empty when it belongs to neither folder.
    QString nameOf(const QString& path) const;

private:
    bool fail(const QString& what);
    bool failWith(const QString& what, const QString& why);
    void clearLeftovers();
    void makePrivate(const QList<HistoryFile>& files, git_tree* held);
    void keepPrivate(const QByteArray& file) const;
    bool writeHead(const git_oid& commit, const git_oid* parent);
    bool syncObjects(const QList<git_oid>& ids);
    bool verifyRevision(const QList<git_oid>& written, bool headToo);

    QString m_bootDirectory;
    QString m_dataDirectory;
    FolderConfinement m_inside;
    git_repository* m_repository = nullptr;
    QString m_error;
    QStringList m_notices;
};
