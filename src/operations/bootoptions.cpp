#include "operations/bootoptions.h"

#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "checks/ipv6address.h"
#include "checks/namechecks.h"
#include "platform/prompter.h"

#include <QRegularExpression>

namespace {

const QString kReEnter = QStringLiteral("Re-Enter.");
const QString kFiveBlanks = QStringLiteral("     ");
const QString kTransfersInProblem = QStringLiteral("Your transfers-in option is entered incorrectly.");
const QString kPerNsProblem = QStringLiteral("Your limit xfers per ns option is entered incorrectly.");

QStringList wordsOf(const QString& line)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    return line.split(blanks, Qt::SkipEmptyParts);
}

QStringList wordsAfterFirst(const QString& line)
{
    return wordsOf(line).mid(1);
}

// The rest of the line after its second word and the blanks that follow it, without surrounding blanks.
QString valueAfterSecondWord(const QString& line)
{
    static const QRegularExpression twoWords(QStringLiteral("^[ \\t]*[^ \\t]+[ \\t]+[^ \\t]+"));
    const QRegularExpressionMatch match = twoWords.match(line);
    return match.hasMatch() ? line.mid(match.capturedEnd()).trimmed() : QString();
}

// An "options" line may name several options; the page knows three of them.
bool namesOption(const QString& line, const QString& option)
{
    if (line.contains(QStringLiteral("options ") + option))
        return true;
    const QStringList words = wordsOf(line);
    return words.value(0) == QLatin1String("options") && words.mid(1).contains(option);
}

// Each entry after one blank, a trailing blank dropped. Empty entries give the name server nothing to read and
// would not come back from the file, so they are left out.
QString valueText(const QStringList& entries)
{
    QString text;
    for (QString entry : entries) {
        if (entry.endsWith(QLatin1Char(' ')))
            entry.chop(1);
        if (!entry.isEmpty())
            text += QLatin1Char(' ') + entry;
    }
    return text;
}

} // namespace

QString optionEntryKindName(OptionEntryKind kind)
{
    switch (kind) {
    case OptionEntryKind::Xfr:
        return QStringLiteral("XFR");
    case OptionEntryKind::Bogus:
        return QStringLiteral("BOGUS");
    case OptionEntryKind::Forwarder:
        break;
    }
    return QStringLiteral("FORWARDER");
}

QString optionEntryCaption(OptionEntryKind kind)
{
    switch (kind) {
    case OptionEntryKind::Xfr:
        return QStringLiteral("Add XFRNET");
    case OptionEntryKind::Bogus:
        return QStringLiteral("Add BOGUS NS");
    case OptionEntryKind::Forwarder:
        break;
    }
    return QStringLiteral("Add FORWARDER");
}

QString optionEntryRejection(OptionEntryKind kind)
{
    switch (kind) {
    case OptionEntryKind::Xfr:
        return QStringLiteral("Your xfrnets option is entered incorrectly.");
    case OptionEntryKind::Bogus:
        return QStringLiteral("Your bogus ns option is entered incorrectly.");
    case OptionEntryKind::Forwarder:
        break;
    }
    return QStringLiteral("Your forwarder option is entered incorrectly.");
}

BootOptions parseBootOptionLines(const QStringList& lines)
{
    BootOptions options;
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("forwarders")))
            options.forwarders << wordsAfterFirst(line);
        if (namesOption(line, QStringLiteral("forward-only")))
            options.forwardOnly = true;
        if (namesOption(line, QStringLiteral("no-recursion")))
            options.noRecursion = true;
        if (namesOption(line, QStringLiteral("query-log")))
            options.queryLog = true;
        if (line.contains(QLatin1String("limit transfers-in"))) {
            options.limitTransfersIn = true;
            options.transfersIn = valueAfterSecondWord(line);
        }
        if (line.contains(QLatin1String("limit transfers-per-ns"))) {
            options.limitTransfersPerNs = true;
            options.transfersPerNs = valueAfterSecondWord(line);
        }
        if (line.contains(QLatin1String("xfrnets")))
            options.xfrnets << wordsAfterFirst(line);
        if (line.contains(QLatin1String("bogusns")))
            options.bogusns << wordsAfterFirst(line);
    }
    return options;
}

QStringList bootOptionLines(const BootOptions& options)
{
    QStringList lines;
    const QString forwarders = valueText(options.forwarders);
    if (!forwarders.isEmpty())
        lines << QStringLiteral("forwarders") + kFiveBlanks + forwarders + kFiveBlanks;
    if (options.forwardOnly)
        lines << QStringLiteral("options forward-only");
    if (options.noRecursion)
        lines << QStringLiteral("options no-recursion");
    if (options.queryLog)
        lines << QStringLiteral("options query-log");
    if (options.limitTransfersIn)
        lines << QStringLiteral("limit transfers-in") + kFiveBlanks + options.transfersIn + QLatin1Char(' ');
    if (options.limitTransfersPerNs)
        lines << QStringLiteral("limit transfers-per-ns") + kFiveBlanks + options.transfersPerNs + QLatin1Char(' ');
    const QString xfrnets = valueText(options.xfrnets);
    if (!xfrnets.isEmpty())
        lines << QStringLiteral("xfrnets") + kFiveBlanks + xfrnets;
    const QString bogusns = valueText(options.bogusns);
    if (!bogusns.isEmpty())
        lines << QStringLiteral("bogusns") + kFiveBlanks + bogusns + kFiveBlanks;
    return lines;
}

std::optional<QString> bootOptionsProblem(const BootOptions& options)
{
    if (hasIllegalCharacters(options.transfersIn))
        return kTransfersInProblem;
    if (hasIllegalCharacters(options.transfersPerNs))
        return kPerNsProblem;
    if (options.limitTransfersIn && (options.transfersIn.isEmpty() || options.transfersIn.startsWith(QLatin1Char(' '))))
        return kTransfersInProblem;
    if (options.limitTransfersPerNs &&
        (options.transfersPerNs.isEmpty() || options.transfersPerNs.startsWith(QLatin1Char(' '))))
        return kPerNsProblem;
    return std::nullopt;
}

bool updateBootOptions(const BootOptions& options, QStringList& optionLines, Prompter& prompter,
                       const std::function<bool()>& writeBootFile)
{
    if (const std::optional<QString> problem = bootOptionsProblem(options)) {
        prompter.message(kReEnter, *problem);
        return false;
    }
    const QStringList previous = optionLines;
    optionLines = bootOptionLines(options);
    if (!writeBootFile()) {
        optionLines = previous;
        return false;
    }
    return true;
}

bool optionEntryAccepted(const QString& text)
{
    // An empty entry adds nothing to the file (the value text drops it), so it is let through.
    if (text.isEmpty())
        return true;
    // An IPv6 network is written as a prefix ("2001:db8::/32"): the mask form has no IPv6 counterpart.
    if (text.contains(QLatin1Char(':')) && text.contains(QLatin1Char('/')))
        return IpPrefix::parse(text).has_value();
    const qsizetype split = text.size() > 1 ? text.lastIndexOf(QLatin1Char('&'), text.size() - 2) : -1;
    if (split < 0)
        return isIpAddress(text);
    return isIpv4Address(text.left(split)) && isIpv4Address(text.mid(split + 1));
}

bool checkOptionEntry(OptionEntryKind kind, const QString& text, Prompter& prompter)
{
    if (optionEntryAccepted(text))
        return true;
    prompter.message(kReEnter, ipAddressRefusal(optionEntryRejection(kind), text));
    return false;
}
