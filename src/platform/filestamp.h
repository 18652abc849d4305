#pragma once

#include <QByteArray>
#include <QString>

// What a file looked like when this program read or wrote it: enough to tell that another program has changed
// it since. The identity (inode, size, time) tells quickly that nothing happened; when it differs, the content
// decides, since another Quorvane that rewrote the file with the same bytes has changed nothing.
struct FileStamp
{
    QString path; // empty: no stamp was taken
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    size_t contentHash = 0;

    // The file as it is on disk now.
    static FileStamp of(const QString& path);
    // The file just written with these bytes.
    static FileStamp of(const QString& path, const QByteArray& content);
    // The file's identity as it is on disk now, without its content: a reader takes it before it reads the file
    // and then gives it what it read (setContent). A change made while it reads still shows, and the file is
    // read once, not once more for its stamp.
    static FileStamp beforeReading(const QString& path);
    void setContent(const QByteArray& content);

    bool isTaken() const { return !path.isEmpty(); }
    // True when the file at the stamped path still holds what it held when stamped.
    bool isCurrent() const;
};
