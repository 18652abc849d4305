#include "checks/delegatedtlds.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

// The real list is about a quarter of a megabyte; anything far larger is no such list.
constexpr qint64 kMaxListSize = 16 * 1024 * 1024;

QString asciiLabel(const QString& label)
{
    for (const QChar c : label) {
        if (c.unicode() >= 128)
            return QString::fromLatin1(QUrl::toAce(label)).toLower();
    }
    return label.toLower();
}

} // namespace

QString publicSuffixListPath()
{
    const QString configured = qEnvironmentVariable("QUORVANE_PUBLIC_SUFFIX_LIST");
    return configured.isEmpty() ? QStringLiteral("/usr/share/publicsuffix/public_suffix_list.dat") : configured;
}

std::optional<QSet<QString>> readPublicSuffixTlds(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxListSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QSet<QString> tlds;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("//")))
            continue;
        // A rule ends at the first blank; "!" marks an exception and "*" a wildcard label.
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const QStringView rule = blank < 0 ? line : line.first(blank);
        const QStringView label = rule.sliced(rule.lastIndexOf(QLatin1Char('.')) + 1);
        if (label.isEmpty() || label.startsWith(QLatin1Char('!')) || label == QLatin1String("*"))
            continue;
        tlds.insert(asciiLabel(label.toString()));
    }
    tlds.remove(QStringLiteral("arpa"));
    tlds.remove(QString());
    if (tlds.isEmpty())
        return std::nullopt;
    return tlds;
}

TldSet delegatedTlds(const QString& path)
{
    if (std::optional<QSet<QString>> read = readPublicSuffixTlds(path))
        return std::make_shared<const QSet<QString>>(std::move(*read));
    QSet<QString> builtIn;
    for (const char* name : builtInDelegatedTlds())
        builtIn.insert(QString::fromLatin1(name));
    return std::make_shared<const QSet<QString>>(std::move(builtIn));
}

TldSet defaultDelegatedTlds()
{
    static const TldSet tlds = delegatedTlds(publicSuffixListPath());
    return tlds;
}
