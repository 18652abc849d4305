#include "registration/profilefile.h"

#include "registration/registrationfiles.h"

namespace {

QString escapeProfileValue(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\')) {
            text += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('\r')) {
            text += QStringLiteral("\\n");
            if (i + 1 < value.size() && value.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            text += QStringLiteral("\\n");
        } else {
            text += c;
        }
    }
    return text;
}

// Only the two escapes the writer makes are undone; any other backslash, as in a hand-written "C:\temp", stays.
QString unescapeProfileValue(const QString& text)
{
    QString value;
    value.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('\\') && next == QLatin1Char('\\')) {
            value += QLatin1Char('\\');
            ++i;
        } else if (c == QLatin1Char('\\') && next == QLatin1Char('n')) {
            value += QLatin1Char('\n');
            ++i;
        } else {
            value += c;
        }
    }
    return value;
}

} // namespace

bool writeProfile(const QString& path, const QString& section, const FieldValues& values, QString* errorText)
{
    QStringList lines = {QLatin1Char('[') + section + QLatin1Char(']')};
    for (const auto& [key, value] : values)
        lines << key + QLatin1Char('=') + escapeProfileValue(value);
    return writeTextLines(path, lines, errorText);
}

std::optional<FieldValues> readProfile(const QString& path, const QString& section, QString* errorText)
{
    const std::optional<QStringList> lines = readTextLines(path, errorText);
    if (!lines)
        return std::nullopt;
    FieldValues values;
    bool inSection = false;
    for (const QString& line : *lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            inSection = trimmed.mid(1, trimmed.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0 || trimmed.startsWith(QLatin1Char(';')))
            continue;
        values.append({line.left(equals).trimmed(), unescapeProfileValue(line.mid(equals + 1))});
    }
    return values;
}
