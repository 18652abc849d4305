#include "platform/quietprompter.h"

Prompter::Button QuietPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon)
{
    m_messages << caption + QStringLiteral(": ") + text;
    for (const Button goAhead : {Button::Ok, Button::Yes}) {
        if (buttons.testFlag(goAhead))
            return goAhead;
    }
    return Button::Ok;
}

Prompter::Button QuietPrompter::askQuestion(const QString&, bool)
{
    return Button::Ok;
}

std::optional<QString> QuietPrompter::input(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<int> QuietPrompter::pick(const QString&, const QStringList&)
{
    return std::nullopt;
}

std::optional<QString> QuietPrompter::browseFolder(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> QuietPrompter::openFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> QuietPrompter::saveFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}
