#include "reverse/secondaryreverse.h"

#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "session/appstate.h"

namespace {

const QString kFive = QStringLiteral("     ");

bool isAddress(const QString& text)
{
    return isIpv4Address(text.trimmed());
}

BootReadResult saveAndReread(BootContext& context)
{
    const BootWriteResult written = writeBootFile(context.state);
    if (!written.ok) {
        reportGeneralError(context.prompter, written.errorText);
        return {BootReadStatus::NotWritten, written.errorText};
    }
    return readBootFile(context, false);
}

} // namespace

QString SecondaryReverseBlock::workingEntry() const
{
    return zone + kFive + master;
}

QString SecondaryReverseBlock::bootLine() const
{
    return QStringLiteral("secondary") + kFive + zone + kFive + master + kFive + zone +
           QStringLiteral(".secondary.reverse.DNS");
}

std::optional<QString> secondaryReverseZone(const QString& lowest, const QString& highest)
{
    const std::optional<QString> low = canonicalIpv4(lowest);
    const std::optional<QString> high = canonicalIpv4(highest);
    if (!low || !high)
        return std::nullopt;
    const QStringList lowOctets = low->split(QLatin1Char('.'));
    const QStringList highOctets = high->split(QLatin1Char('.'));
    QStringList agreeing;
    for (qsizetype i = 0; i < lowOctets.size() && lowOctets.at(i) == highOctets.at(i); ++i)
        agreeing.prepend(lowOctets.at(i));
    if (agreeing.isEmpty())
        return std::nullopt;
    return agreeing.join(QLatin1Char('.')) + QStringLiteral(".IN-ADDR.ARPA");
}

std::optional<SecondaryReverseBlock> makeSecondaryReverseBlock(const QString& lowest, const QString& highest,
                                                               const QString& master, Prompter& prompter)
{
    const QString caption = QStringLiteral("Re-Enter");
    if (!isAddress(lowest)) {
        prompter.message(caption, ipv4AddressRefusal(QStringLiteral("Your first IP is entered incorrectly.")));
        return std::nullopt;
    }
    const std::optional<QString> zone = isAddress(highest) ? secondaryReverseZone(lowest, highest) : std::nullopt;
    if (!zone) {
        prompter.message(caption, ipv4AddressRefusal(QStringLiteral("Your second IP is entered incorrectly.")));
        return std::nullopt;
    }
    // The block is an IPv4 one; the server it is copied from may be reached over either family.
    if (!isIpAddress(master.trimmed())) {
        prompter.message(caption, ipAddressRefusal(QStringLiteral("Your primary server IP is entered incorrectly."),
                                                   master.trimmed()));
        return std::nullopt;
    }
    const QString server = master.trimmed();
    return SecondaryReverseBlock{*zone, server,
                                 lowest.trimmed() + QStringLiteral(" <--> ") + highest.trimmed() +
                                     QStringLiteral(" on server: ") + server};
}

BootReadResult saveSecondaryReverseBlocks(BootContext& context, const QList<SecondaryReverseBlock>& blocks)
{
    BootConfig& boot = context.state.boot;
    for (const SecondaryReverseBlock& block : blocks) {
        boot.secondaryReverseComments << block.display;
        boot.secondaryReverseLines << block.bootLine();
    }
    return saveAndReread(context);
}

bool deleteSecondaryReverse(BootContext& context, int index)
{
    BootConfig& boot = context.state.boot;
    if (index < 0 || index >= boot.secondaryReverseComments.size()) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("You must first make a selection."));
        return false;
    }
    const QString question = QStringLiteral("Are you sure you want to delete ") +
                             boot.secondaryReverseComments.at(index) + QStringLiteral(" ?");
    if (context.prompter.message(QStringLiteral("Question!"), question, Prompter::Button::Yes | Prompter::Button::No,
                                 Prompter::Icon::Question) != Prompter::Button::Yes)
        return false;
    boot.secondaryReverseComments.removeAt(index);
    if (index < boot.secondaryReverseLines.size())
        boot.secondaryReverseLines.removeAt(index);
    saveAndReread(context);
    return true;
}

void resetReverseMapping(AppState& state)
{
    state.zoneLists.reverseignore.clear();
}
