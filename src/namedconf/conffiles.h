#pragma once

#include "namedconf/confparser.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The files of an administrator's configuration as they stand on the disk: the top file and every file it
// includes, each read as bytes (one to one as Latin-1 characters, so that any byte comes back unchanged) and taken
// apart, with where each zone statement, include and options block stands. Changes are made to these texts, one
// statement at a time; every other byte stays as the administrator wrote it.

struct ConfFile
{
    QString path; // clean and absolute
    QString text; // the bytes as Latin-1 characters
    ConfParse parse;
};

// Where a statement stands: the file, its span (from its first character to after its ";") and its line.
struct ConfPlace
{
    QString file;
    qsizetype begin = 0;
    qsizetype end = 0;
    int line = 0;
};

struct ConfInclude
{
    ConfPlace place;
    QString written; // the path as the statement writes it
    QString target;  // the included file, clean and absolute
};

class ConfFileSet
{
public:
    // The most files an include tree may have: a configuration that includes itself in a circle, or fans out, is
    // refused rather than read for ever.
    static constexpr int kMaxFiles = 1000;

    // Reads the top file and, following each include statement, every file it brings in. Relative include paths
    // are taken as BIND takes them: against the top file's folder (where the program runs BIND's tools) until the
    // options name a directory, against that directory afterwards. False with the reason (file and line) when a
    // file cannot be read or taken apart.
    bool read(const QString& topFile, QString* errorText);

    const QString& topFile() const { return m_top; }
    const QList<ConfFile>& files() const { return m_files; }
    const ConfFile* file(const QString& path) const;
    const QList<ConfInclude>& includes() const { return m_includes; }

    // Where the zone of the key (ConfZone::keyOf) is declared; null when no file declares it.
    const ConfPlace* zonePlace(const QString& key) const;
    // Where the options block is; null when there is none.
    const ConfPlace* optionsPlace() const { return m_options.file.isEmpty() ? nullptr : &m_options; }
    // Where the view of that name is declared; null when there is none.
    const ConfPlace* viewPlace(const QString& view) const;

    // The file an include statement of the file, writing the path so, brings in; the path taken against the top
    // file's folder when the set knows no such statement.
    QString includeTarget(const QString& file, const QString& written) const;

    // Whether a file of the tree includes the path.
    bool includes(const QString& path) const;
    // A comment line that names the path in an include (one commented out), as "FILE line N"; empty when none.
    QString commentedInclude(const QString& path) const;

private:
    bool readFile(const QString& path, QString* errorText);
    void note(const QString& path, const QList<ConfStatement>& statements, const QString& view);

    QString m_top;
    QString m_base; // what relative include paths are taken against at the point of reading
    QList<ConfFile> m_files;
    QList<ConfInclude> m_includes;
    QHash<QString, ConfPlace> m_zones;
    QHash<QString, ConfPlace> m_views;
    ConfPlace m_options;
};

// The line of a text position, from 1.
int lineAt(const QString& text, qsizetype at);
