#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs of its own, mounted over a temporary folder for the life of the object, so that a test can fill
// a real file system to the last byte. Mounting needs root; without it (or where the system refuses the mount)
// isMounted() is false and why() says why, for the test to skip with.
class SmallTmpfs
{
public:
    explicit SmallTmpfs(qint64 sizeBytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Takes all free space but `pages` pages with a filler file; false when the space could not be set so.
    bool leaveFree(int pages);
    // The pages that are free now.
    qint64 freePages() const;
    // Gives the filler's space back.
    void release();

    static qint64 pageSize();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
