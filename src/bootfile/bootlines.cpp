#include "bootfile/bootlines.h"

#include "platform/drivetable.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QString blanksForTabs(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return line;
    QString copy = line;
    copy.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return copy;
}

QStringList fieldsOf(const QString& line)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size) {
        while (i < size && isBlank(line.at(i)))
            ++i;
        const qsizetype start = i;
        while (i < size && !isBlank(line.at(i)))
            ++i;
        if (i > start)
            fields.append(line.mid(start, i - start));
    }
    return fields;
}

QString textFromField(const QString& line, int index)
{
    qsizetype i = 0;
    const qsizetype size = line.size();
    for (int field = 0;; ++field) {
        while (i < size && isBlank(line.at(i)))
            ++i;
        if (i >= size)
            return QString();
        if (field == index)
            return line.mid(i);
        while (i < size && !isBlank(line.at(i)))
            ++i;
    }
}

QString textAfterFirstField(const QString& line)
{
    return textFromField(line, 1);
}

QString textAfterFirstBlank(const QString& line)
{
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size && !isBlank(line.at(i)))
        ++i;
    while (i < size && isBlank(line.at(i)))
        ++i;
    return line.mid(i);
}

QString singleBackslashes(QString text)
{
    return text.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
}

QString doubledBackslashes(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString displayNameOf(const QString& identifier)
{
    return identifier.section(QLatin1Char('@'), 0, 0);
}

std::optional<QString> localBootFilePath(const QString& bootFilePath, const DriveTable& drives)
{
    if (bootFilePath.trimmed().isEmpty())
        return std::nullopt;
    return drives.toLocal(bootFilePath);
}

QString windowsDirectory(const QString& bootFilePath)
{
    const qsizetype cut =
        std::max(bootFilePath.lastIndexOf(QLatin1Char('\\')), bootFilePath.lastIndexOf(QLatin1Char('/')));
    return bootFilePath.left(cut + 1);
}
