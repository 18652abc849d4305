#include "checks/namechecks.h"

#include "checks/tldlist.h"

bool hasIllegalCharacters(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("@"))
        return false;
    static const QString forbidden = QStringLiteral(" !\"#$%&()*+,/:;<=>?@[\\]^`{|}~");
    for (const QChar c : text) {
        if (forbidden.contains(c))
            return true;
    }
    return false;
}

QString stripToNameCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool keep = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
                          u == u'.' || u == u'@' || u == u'-';
        if (keep)
            out.append(c);
    }
    return out;
}

QString qualifyWithOrigin(const QString& name, const QString& origin)
{
    if (name.endsWith(QLatin1Char('.')))
        return name;
    if (name.endsWith(origin))
        return name + QLatin1Char('.');
    return name + QLatin1Char('.') + origin + QLatin1Char('.');
}

QString mailboxOf(const QString& email)
{
    QString mailbox = email.trimmed();
    mailbox.replace(QLatin1Char('@'), QLatin1Char('.'));
    return mailbox.endsWith(QLatin1Char('.')) ? mailbox : mailbox + QLatin1Char('.');
}

bool hasAtLeastThreeDots(const QString& name)
{
    return name.isEmpty() || name.count(QLatin1Char('.')) >= 3;
}

namespace {

// The general form, for lists whose entries hold dots of their own ("co.uk"): every text after a dot is a
// candidate, taken whole and, when the name ends in a dot, without that final dot.
bool endsWithDottedEntry(const QString& lower, const TldList& tlds)
{
    const bool finalDot = lower.endsWith(QLatin1Char('.'));
    for (qsizetype at = lower.indexOf(QLatin1Char('.')); at >= 0; at = lower.indexOf(QLatin1Char('.'), at + 1)) {
        const QStringView rest = QStringView(lower).mid(at + 1);
        if (tlds.knowsLowerCase(rest.toString()))
            return true;
        if (finalDot && !rest.isEmpty() && tlds.knowsLowerCase(rest.chopped(1).toString()))
            return true;
    }
    return false;
}

} // namespace

bool endsWithKnownTld(const QString& name, const TldList& tlds)
{
    const QString lower = name.toLower();
    if (tlds.hasDottedEntries())
        return endsWithDottedEntry(lower, tlds);
    // Entries hold no dot, so only the last label (or, before a final dot, the one before it) can match.
    const qsizetype last = lower.lastIndexOf(QLatin1Char('.'));
    if (last < 0)
        return false;
    if (tlds.knowsLowerCase(lower.mid(last + 1)))
        return true;
    if (last != lower.size() - 1 || last == 0)
        return false;
    const qsizetype before = lower.lastIndexOf(QLatin1Char('.'), last - 1);
    return before >= 0 && tlds.knowsLowerCase(lower.mid(before + 1, last - before - 1));
}
