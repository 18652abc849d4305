#include "platform/prompter.h"

namespace {

struct NamedButton
{
    Prompter::Button button;
    const char* name;
};

constexpr NamedButton kNames[] = {
    {Prompter::Button::Ok, "ok"},   {Prompter::Button::Cancel, "cancel"}, {Prompter::Button::Yes, "yes"},
    {Prompter::Button::No, "no"},   {Prompter::Button::Abort, "abort"},   {Prompter::Button::All, "all"},
};

} // namespace

QString buttonName(Prompter::Button button)
{
    for (const auto& entry : kNames) {
        if (entry.button == button)
            return QString::fromLatin1(entry.name);
    }
    return QStringLiteral("none");
}

std::optional<Prompter::Button> buttonFromName(const QString& name)
{
    const QString lower = name.trimmed().toLower();
    for (const auto& entry : kNames) {
        if (lower == QLatin1String(entry.name))
            return entry.button;
    }
    return std::nullopt;
}

void reportGeneralError(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
}
