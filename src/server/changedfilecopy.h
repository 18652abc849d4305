#pragma once

#include "platform/filereading.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <future>
#include <utility>

// Copies files over their copies in another folder (into the backup folder, or back out of it), leaving alone
// every copy that already holds the same bytes: a copy of the same size and modification time is taken as the
// same without reading it, one of the same size but another time is compared byte for byte. A copy takes its
// file's permissions and, where this process may give them, its owner. Copies into the backup folder are not
// forced onto the disk one by one, which costs most of the time of copying many small files: flushed() forces
// them all at once, on a thread of its own. The copying goes in steps, so that a window can go on between them.
class ChangedFileCopy
{
public:
    enum class Times
    {
        // Copies take their file's modification time, so that the next pass knows them at a glance: for the
        // backup folder, which nothing serves.
        OfSource,
        // Copies are new files: a name server reloads a zone file only when its time is after its last load.
        Fresh,
    };

    struct File
    {
        QString source;
        QString target;
        QString shownName; // how a failure names the file
        // A source in a folder the name server may write is resolved by the caller and never followed as a link.
        FinalLinks sourceLinks = FinalLinks::Follow;
    };

    ChangedFileCopy(QList<File> files, Times times);
    ~ChangedFileCopy();
    ChangedFileCopy(const ChangedFileCopy&) = delete;
    ChangedFileCopy& operator=(const ChangedFileCopy&) = delete;

    // Goes through the next files for about the given time, at least one file; false once every file is done.
    bool step(std::chrono::milliseconds budget);
    // Forces every copy written onto the disk: the first call starts it, each call waits for it at most the
    // given time. True once it is done (at once when nothing was left to force).
    bool flushed(std::chrono::milliseconds wait);

    qsizetype count() const { return m_files.size(); }
    qsizetype done() const { return m_next; }
    qsizetype copied() const { return m_copied; }
    // "name: reason" for each file that could not be copied, and for a folder whose copies could not be forced
    // onto the disk.
    const QStringList& failures() const { return m_failures; }

private:
    void bringUpToDate(const File& file);
    void watchFolder(const QString& folder);

    QList<File> m_files;
    Times m_times;
    qsizetype m_next = 0;
    qsizetype m_copied = 0;
    QList<std::pair<QString, int>> m_folders; // the folders copies went into, with a descriptor open on each
    QStringList m_unflushed;                  // the copies not yet forced onto the disk
    QStringList m_failures;
    std::future<QStringList> m_flush;
    bool m_flushed = false;
};
