#pragma once

#include "platform/filereading.h"
#include "platform/filewriteresult.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Replaces one file as a whole. The new content goes into a temporary file beside it, which takes the old
// file's place only once every byte has been written (and, for a durable file, has reached the disk): a full
// disk, a size limit or a crash leaves the old file as it was. A short write is caught by the byte count and
// by the flush, not only by the final rename, which would otherwise put a torn file in place.
//
// The temporary has a fixed name per file and is locked while it is written, so a temporary that a crashed
// process left behind is recognised and removed the next time the same file is replaced.
class FileReplacement
{
public:
    enum class Durability
    {
        Synced,   // the content is on the disk before the file is put in place
        Unsynced, // derived files that are made anew by every run: a forced write each would cost minutes
    };

    explicit FileReplacement(QString path, Durability durability = Durability::Synced);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary; false when it cannot be made (commit() then says why).
    bool open();
    // False once anything has failed; the bytes are then dropped.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // The permission bits and owner the file gets: by default those of the file it replaces, or for a new file
    // the usual ones of the process.
    void setMode(unsigned mode, std::optional<unsigned> owner = {}, std::optional<unsigned> group = {});
    // Puts the new file in place of the old one, or reports why not; the temporary is gone either way.
    FileWriteResult commit();
    // Leaves the old file as it was.
    void cancel();
    // Why the replacement failed, once it has.
    QString errorText() const;

    // The temporary a replacement of the file writes into.
    static QString temporaryPath(const QString& path);

private:
    void fail(const QString& reason);
    void removeTemporary();

    QString m_path;
    QString m_temporary;
    Durability m_durability;
    int m_fd = -1;
    std::optional<unsigned> m_mode;
    std::optional<unsigned> m_owner;
    std::optional<unsigned> m_group;
    QString m_error;
};

// The file replaced by the bytes.
FileWriteResult replaceFile(const QString& path, const QByteArray& bytes,
                            FileReplacement::Durability durability = FileReplacement::Durability::Synced);

// The source copied over the target, piece by piece; the target gets the source's permissions (and, when the
// process may give it, its owner). A source in a folder another user may write is copied without following a link
// in its place.
FileWriteResult copyFileReplacing(const QString& source, const QString& target,
                                  FileReplacement::Durability durability = FileReplacement::Durability::Synced,
                                  FinalLinks sourceLinks = FinalLinks::Follow);
