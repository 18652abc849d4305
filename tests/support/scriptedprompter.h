#pragma once

#include "platform/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

// The tests' prompter: every prompt is recorded, and each takes the next scripted answer. A prompt with no
// answer left, or one whose caption or text differs from what the script expected, fails the running test.
class ScriptedPrompter : public Prompter
{
public:
    enum class Kind
    {
        Message,
        Question,
        Input,
        Pick,
        Folder,
        OpenFile,
        SaveFile
    };

    struct Prompt
    {
        Kind kind;
        QString caption;
        QString text;
        Buttons buttons;
        QStringList items;
    };

    struct Answer
    {
        Button button = Button::Ok;
        std::optional<QString> text; // inputs, folders, files; none means cancelled
        std::optional<int> index;    // pickers; none means cancelled
        std::optional<QString> expectedCaption;
        std::optional<QString> expectedText;
    };

    // Queues a message box that must come with this caption and text, answered with the button.
    ScriptedPrompter& expectMessage(const QString& caption, const QString& text, Button answer = Button::Ok);
    // Queues an answer without looking at the prompt.
    ScriptedPrompter& answer(Button button);
    ScriptedPrompter& answerText(const std::optional<QString>& text);
    ScriptedPrompter& answerPick(const std::optional<int>& index);

    const QList<Prompt>& prompts() const { return m_prompts; }
    QStringList messageTexts() const;
    int pending() const { return int(m_answers.size()); }
    // Every problem met so far (unscripted prompts, mismatches); empty when the script was followed.
    const QStringList& problems() const { return m_problems; }

    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;

private:
    std::optional<Answer> next(const Prompt& prompt);
    void fail(const QString& problem);

    QList<Prompt> m_prompts;
    QList<Answer> m_answers;
    QStringList m_problems;
};
