#include "utilities/utilityformat.h"

#include <QRegularExpression>

FingerTarget splitFingerInput(const QString& input)
{
    FingerTarget target;
    const qsizetype at = input.indexOf(QLatin1Char('@'));
    if (at < 0) {
        target.host = input;
    } else {
        target.user = input.left(at);
        target.host = input.mid(at + 1);
    }
    target.host.truncate(255);
    return target;
}

QString recordTypeOf(const QString& typeText)
{
    const qsizetype blank = typeText.indexOf(QLatin1Char(' '));
    return blank < 0 ? typeText : typeText.left(blank);
}

std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toInt();
}

QString pingLine(int n, int status, const QString& host, int milliseconds)
{
    if (status == 0)
        return QStringLiteral("(") + QString::number(n) + QStringLiteral(")") + QStringLiteral("Ping ") + host +
               QStringLiteral("  ---> ") + QString::number(milliseconds) + QStringLiteral(" milliseconds");
    return QStringLiteral("Ping ") + QString::number(n) + QStringLiteral("  ---> was not successful.");
}

QString traceLine(int hop, int milliseconds, const QString& dotted, const QString& name)
{
    const QString head =
        QString::number(hop) + QStringLiteral(":   ") + QString::number(milliseconds) + QStringLiteral(" milliseconds");
    if (name != dotted)
        return head + QLatin1Char(' ') + name + QStringLiteral(" (") + dotted + QLatin1Char(')');
    return head + QStringLiteral("    ") + dotted;
}
