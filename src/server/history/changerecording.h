#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Records each changing operation of this process in the history of the server it changes. The server's lock
// tells when an operation begins and ends (its outermost hold); in between, every file the process replaces or
// removes in the server's folders is noted with what it held before, and when the hold ends the files that
// changed become one revision, still under the lock. A server without a history gets a first revision of its
// files as they were found.
namespace ChangeRecording {

// The lock's outermost hold of the server whose boot file lies in the folder begins or ends.
void begin(const QString& key, const QString& bootDirectory);
void finish(const QString& key);
// Records what the hold has changed so far as a revision of its own and goes on with a fresh one.
void checkpoint(const QString& key);
// What the operation knows of the server: its data directory and the files the program keeps for it, which are
// only listed when the server has no history yet.
void describeServer(const QString& key, const QString& dataDirectory, const std::function<QStringList()>& fileNames);

// What a window does to keep going while a revision is written (without it, the revision is written on the
// caller's thread): it must not take user input, since the operation that made the change is still ending.
void setKeepAlive(std::function<void()> turn);

// Where a failure to record goes; without a handler it waits for takeFailures().
void setFailureHandler(std::function<void(const QString& text)> handler);
QStringList takeFailures();
// Whether a failure waits for takeFailures().
bool hasFailures();

// What packs a history whose loose objects have grown past the thresholds, given its data directory; it should
// not keep the operation waiting. Without one the history is not packed.
void setPacker(std::function<void(const QString& dataDirectory)> pack);

// The newest revision of the server's history this process has made or read: a newer one was made by someone
// else. Empty when it knows none.
QString seenHead(const QString& dataDirectory);
void setSeenHead(const QString& dataDirectory, const QString& revision);

} // namespace ChangeRecording

// Names the operation that runs while it lives, in the program's words ("Undo: Add host ..."); the outermost
// name wins. Without one (or with an empty one) the revision is described from the files it changed.
class ChangeNote
{
public:
    explicit ChangeNote(QString description);
    ~ChangeNote();
    ChangeNote(const ChangeNote&) = delete;
    ChangeNote& operator=(const ChangeNote&) = delete;

private:
    QString m_description;
};

// The note of loading a server, which writes its boot file back in the program's layout.
QString loadNote(const QString& serverIdentifier);
