#include "ndc/ndcprompter.h"

Prompter::Button NdcPrompter::message(const QString&, const QString& text, Buttons buttons, Icon)
{
    if (m_first.isEmpty())
        m_first = text;
    if (buttons.testFlag(Button::Cancel))
        return Button::Cancel;
    if (buttons.testFlag(Button::No))
        return Button::No;
    return buttons.testFlag(Button::Abort) ? Button::Abort : Button::Ok;
}

Prompter::Button NdcPrompter::askQuestion(const QString& text, bool)
{
    if (m_first.isEmpty())
        m_first = text;
    return Button::Cancel;
}

std::optional<QString> NdcPrompter::input(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<int> NdcPrompter::pick(const QString&, const QStringList&)
{
    return std::nullopt;
}

std::optional<QString> NdcPrompter::browseFolder(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> NdcPrompter::openFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> NdcPrompter::saveFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}
