#include "namedconf/conffiles.h"

#include "namedconf/namedconfig.h"
#include "platform/filereading.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString cleanAbsolute(const QString& path, const QString& base)
{
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}

ConfPlace placeOf(const QString& path, const ConfStatement& statement)
{
    return ConfPlace{path, statement.begin, statement.end, statement.line};
}

} // namespace

int lineAt(const QString& text, qsizetype at)
{
    return 1 + int(QStringView(text).first(std::min(at, text.size())).count(QLatin1Char('\n')));
}

bool ConfFileSet::read(const QString& topFile, QString* errorText)
{
    m_top = cleanAbsolute(topFile, QDir::currentPath());
    m_files.clear();
    m_includes.clear();
    m_zones.clear();
    m_views.clear();
    m_options = ConfPlace();
    m_base = QFileInfo(m_top).absolutePath();
    if (!readFile(m_top, errorText))
        return false;
    // A copy: the list of files grows while the statements are walked.
    const QList<ConfStatement> top = m_files.first().parse.statements;
    note(m_top, top, QString());
    if (m_files.size() > kMaxFiles) {
        if (errorText)
            *errorText = QStringLiteral("%1 includes more than %2 files.").arg(m_top).arg(kMaxFiles);
        return false;
    }
    for (const ConfFile& file : std::as_const(m_files)) {
        if (!file.parse.ok) {
            if (errorText)
                *errorText =
                    QStringLiteral("%1 line %2: %3").arg(file.path).arg(file.parse.errorLine).arg(file.parse.errorText);
            return false;
        }
    }
    return true;
}

bool ConfFileSet::readFile(const QString& path, QString* errorText)
{
    const FileReadResult read = readWholeFile(path, ReadLimit::kBootFile);
    if (!read.ok()) {
        if (errorText)
            *errorText = QStringLiteral("%1 cannot be read: %2").arg(path, read.errorText);
        return false;
    }
    ConfFile file;
    file.path = path;
    file.text = QString::fromLatin1(*read.bytes);
    file.parse = parseConf(file.text);
    m_files << std::move(file);
    return true;
}

void ConfFileSet::note(const QString& path, const QList<ConfStatement>& statements, const QString& view)
{
    for (const ConfStatement& statement : statements) {
        const QString keyword = statement.keyword();
        if (keyword == QLatin1String("zone")) {
            m_zones.insert(ConfZone::keyOf(view, statement.word(1)), placeOf(path, statement));
        } else if (keyword == QLatin1String("view") && statement.block()) {
            m_views.insert(statement.word(1), placeOf(path, statement));
            note(path, *statement.block(), statement.word(1));
        } else if (keyword == QLatin1String("options") && view.isEmpty() && m_options.file.isEmpty()) {
            m_options = placeOf(path, statement);
            // BIND moves into the directory as soon as it has read it: later relative includes start there.
            if (const ConfStatement* directory = statement.child(QStringLiteral("directory")))
                m_base = cleanAbsolute(directory->word(1), m_base);
        } else if (keyword == QLatin1String("include")) {
            const QString target = cleanAbsolute(statement.word(1), m_base);
            m_includes << ConfInclude{placeOf(path, statement), statement.word(1), target};
            // A file met again (an include circle, or one file included twice) is read once.
            if (file(target) || m_files.size() > kMaxFiles)
                continue;
            if (!readFile(target, nullptr))
                continue;
            const QList<ConfStatement> included = m_files.last().parse.statements;
            note(target, included, view);
        }
    }
}

const ConfFile* ConfFileSet::file(const QString& path) const
{
    for (const ConfFile& file : m_files) {
        if (file.path == path)
            return &file;
    }
    return nullptr;
}

const ConfPlace* ConfFileSet::zonePlace(const QString& key) const
{
    const auto found = m_zones.constFind(key);
    return found == m_zones.constEnd() ? nullptr : &found.value();
}

const ConfPlace* ConfFileSet::viewPlace(const QString& view) const
{
    const auto found = m_views.constFind(view);
    return found == m_views.constEnd() ? nullptr : &found.value();
}

QString ConfFileSet::includeTarget(const QString& file, const QString& written) const
{
    for (const ConfInclude& include : m_includes) {
        if ((file.isEmpty() || include.place.file == file) && include.written == written)
            return include.target;
    }
    return cleanAbsolute(written, QFileInfo(m_top).absolutePath());
}

bool ConfFileSet::includes(const QString& path) const
{
    const QString wanted = QDir::cleanPath(path);
    for (const ConfInclude& include : m_includes) {
        if (include.target == wanted)
            return true;
    }
    return false;
}

QString ConfFileSet::commentedInclude(const QString& path) const
{
    const QString name = QFileInfo(path).fileName();
    for (const ConfFile& file : m_files) {
        qsizetype at = 0;
        while ((at = file.text.indexOf(name, at)) >= 0) {
            const qsizetype lineStart = file.text.lastIndexOf(QLatin1Char('\n'), at) + 1;
            const QString line = file.text.sliced(lineStart, endOfLine(file.text, at) - lineStart).trimmed();
            if (line.contains(QLatin1String("include")) &&
                (line.startsWith(QLatin1String("//")) || line.startsWith(QLatin1Char('#')) ||
                 line.startsWith(QLatin1String("/*"))))
                return QStringLiteral("%1 line %2").arg(file.path).arg(lineAt(file.text, at));
            at += name.size();
        }
    }
    return QString();
}
