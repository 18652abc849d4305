#include "checks/tldeditor.h"

#include "checks/namechecks.h"
#include "checks/tldlist.h"
#include "platform/prompter.h"

namespace {

bool refuse(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("Attention!"), text);
    return false;
}

} // namespace

bool addTld(TldList& tlds, const QString& text, Prompter& prompter)
{
    if (text.isEmpty() || text == QLatin1String(" ") || hasIllegalCharacters(text))
        return refuse(prompter, QStringLiteral("You have entered the TLD/Country Extension incorrectly. Enter ONLY "
                                               "the extension. (i.e., \"com\" or \"edu\")"));
    if (tlds.containsExactly(text))
        return refuse(prompter, QStringLiteral("This TLD / Country Extension has already been entered."));
    if (tlds.userEntries().size() >= TldList::kMaxUserEntries)
        return refuse(prompter, QStringLiteral("Quorvane can support a maximum of 40 new TLDs/Extensions. You have "
                                               "reached the limit."));
    tlds.addUserEntry(text);
    return true;
}

bool deleteTld(TldList& tlds, const std::optional<QString>& selected, Prompter& prompter)
{
    if (!selected)
        return refuse(prompter, QStringLiteral("You must first select a TLD or country extension to delete."));
    if (tlds.isBuiltIn(*selected))
        return refuse(prompter,
                      QStringLiteral("You can only delete TLDs and country extensions which you have created."));
    const Prompter::Button answer = prompter.message(
        QStringLiteral("Attention!"),
        QStringLiteral("Are you sure you want to delete extension/country ") + *selected + QStringLiteral("? "),
        Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
    if (answer != Prompter::Button::Ok)
        return false;
    tlds.removeUserEntry(*selected);
    return true;
}
