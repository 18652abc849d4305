#include "support/scriptedprompter.h"

#include <QTest>

ScriptedPrompter& ScriptedPrompter::expectMessage(const QString& caption, const QString& text, Button answer)
{
    Answer entry;
    entry.button = answer;
    entry.expectedCaption = caption;
    entry.expectedText = text;
    m_answers << entry;
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answer(Button button)
{
    Answer entry;
    entry.button = button;
    m_answers << entry;
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerText(const std::optional<QString>& text)
{
    Answer entry;
    entry.text = text;
    entry.button = text ? Button::Ok : Button::Cancel;
    m_answers << entry;
    return *this;
}

ScriptedPrompter& ScriptedPrompter::answerPick(const std::optional<int>& index)
{
    Answer entry;
    entry.index = index;
    entry.button = index ? Button::Ok : Button::Cancel;
    m_answers << entry;
    return *this;
}

QStringList ScriptedPrompter::messageTexts() const
{
    QStringList texts;
    for (const Prompt& prompt : m_prompts)
        texts << prompt.text;
    return texts;
}

void ScriptedPrompter::fail(const QString& problem)
{
    m_problems << problem;
    QTest::qFail(qPrintable(problem), __FILE__, __LINE__);
}

std::optional<ScriptedPrompter::Answer> ScriptedPrompter::next(const Prompt& prompt)
{
    m_prompts << prompt;
    if (m_answers.isEmpty()) {
        fail(QStringLiteral("Unexpected prompt \"%1\": %2").arg(prompt.caption, prompt.text));
        return std::nullopt;
    }
    Answer answer = m_answers.takeFirst();
    if (answer.expectedCaption && *answer.expectedCaption != prompt.caption)
        fail(QStringLiteral("Prompt caption \"%1\", expected \"%2\"").arg(prompt.caption, *answer.expectedCaption));
    if (answer.expectedText && *answer.expectedText != prompt.text)
        fail(QStringLiteral("Prompt text \"%1\", expected \"%2\"").arg(prompt.text, *answer.expectedText));
    return answer;
}

Prompter::Button ScriptedPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon)
{
    const auto answer = next({Kind::Message, caption, text, buttons, {}});
    if (!answer)
        return buttons.testFlag(Button::Cancel) ? Button::Cancel : Button::Ok;
    if (!buttons.testFlag(answer->button) && !(buttons == Buttons(Button::None) && answer->button == Button::Ok))
        fail(QStringLiteral("Answer %1 is not a button of \"%2\"").arg(buttonName(answer->button), text));
    return answer->button;
}

Prompter::Button ScriptedPrompter::askQuestion(const QString& text, bool offerAll)
{
    Buttons buttons = Button::Ok | Button::Cancel;
    if (offerAll)
        buttons |= Button::All;
    const auto answer = next({Kind::Question, QStringLiteral("Question"), text, buttons, {}});
    if (!answer)
        return Button::Cancel;
    if (!buttons.testFlag(answer->button))
        fail(QStringLiteral("Answer %1 is not offered by \"%2\"").arg(buttonName(answer->button), text));
    return answer->button;
}

std::optional<QString> ScriptedPrompter::input(const QString& caption, const QString& prompt, const QString&)
{
    const auto answer = next({Kind::Input, caption, prompt, {}, {}});
    return answer ? answer->text : std::nullopt;
}

std::optional<int> ScriptedPrompter::pick(const QString& caption, const QStringList& items)
{
    const auto answer = next({Kind::Pick, caption, QString(), {}, items});
    return answer ? answer->index : std::nullopt;
}

std::optional<QString> ScriptedPrompter::browseFolder(const QString& caption, const QString& start)
{
    const auto answer = next({Kind::Folder, caption, start, {}, {}});
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::openFile(const QString& caption, const QString& directory, const QString&)
{
    const auto answer = next({Kind::OpenFile, caption, directory, {}, {}});
    return answer ? answer->text : std::nullopt;
}

std::optional<QString> ScriptedPrompter::saveFile(const QString& caption, const QString& directory, const QString&)
{
    const auto answer = next({Kind::SaveFile, caption, directory, {}, {}});
    return answer ? answer->text : std::nullopt;
}
