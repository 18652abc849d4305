#include "platform/drivetable.h"

#include "platform/settingsstore.h"

#include <QDir>

namespace {

const QChar kDriveC = QLatin1Char('C');

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// The part of `path` below `folder`, or none when `folder` does not hold it.
std::optional<QString> below(const QString& path, const QString& folder)
{
    if (folder == QLatin1String("/"))
        return path.mid(1);
    if (path == folder)
        return QString();
    if (path.startsWith(folder) && path.at(folder.size()) == QLatin1Char('/'))
        return path.mid(folder.size() + 1);
    return std::nullopt;
}

} // namespace

DriveTable DriveTable::load(const SettingsStore& store)
{
    DriveTable table;
    for (const QString& name : store.valueNames(sectionName())) {
        const QString folder = store.text(sectionName(), name).trimmed();
        if (name.size() == 1 && isAsciiLetter(name.at(0)) && !folder.isEmpty())
            table.setFolder(name.at(0), folder);
    }
    return table;
}

void DriveTable::setFolder(QChar letter, const QString& folder)
{
    m_folders.insert(letter.toUpper(), QDir::cleanPath(folder));
}

std::optional<QString> DriveTable::folder(QChar letter) const
{
    const QChar upper = letter.toUpper();
    const auto found = m_folders.constFind(upper);
    if (found != m_folders.constEnd())
        return *found;
    if (upper == kDriveC)
        return QStringLiteral("/");
    return std::nullopt;
}

bool DriveTable::hasDriveLetter(const QString& path)
{
    if (path.size() < 2 || !isAsciiLetter(path.at(0)) || path.at(1) != QLatin1Char(':'))
        return false;
    return path.size() == 2 || path.at(2) == QLatin1Char('\\') || path.at(2) == QLatin1Char('/');
}

QChar DriveTable::driveOf(const QString& path)
{
    return hasDriveLetter(path) ? path.at(0).toUpper() : kDriveC;
}

std::optional<QString> DriveTable::toLocal(const QString& path, const QString& base) const
{
    if (!hasDriveLetter(path)) {
        if (path.isEmpty())
            return std::nullopt;
        return QDir::cleanPath(base.isEmpty() ? path : QDir(base).absoluteFilePath(path));
    }
    const std::optional<QString> root = folder(path.at(0));
    if (!root)
        return std::nullopt;
    QString rest = path.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(*root + QLatin1Char('/') + rest);
}

std::optional<QString> DriveTable::toDrivePath(const QString& localPath, QChar preferred, bool withRootDrive) const
{
    const QString path = QDir::cleanPath(localPath);
    if (!path.startsWith(QLatin1Char('/')))
        return std::nullopt;
    QMap<QChar, QString> candidates = m_folders;
    if (withRootDrive && !candidates.contains(kDriveC))
        candidates.insert(kDriveC, QStringLiteral("/"));
    std::optional<std::pair<QChar, QString>> best;
    qsizetype bestDepth = -1;
    for (auto it = candidates.constBegin(); it != candidates.constEnd(); ++it) {
        const std::optional<QString> rest = below(path, it.value());
        if (!rest)
            continue;
        const qsizetype depth = it.value() == QLatin1String("/") ? 0 : it.value().size();
        if (it.key() == preferred.toUpper()) {
            best = {it.key(), *rest};
            break;
        }
        if (depth > bestDepth) {
            best = {it.key(), *rest};
            bestDepth = depth;
        }
    }
    if (!best)
        return std::nullopt;
    QString rest = best->second;
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QString(best->first) + QStringLiteral(":\\") + rest;
}
