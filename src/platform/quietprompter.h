#pragma once

#include "platform/prompter.h"

// A prompter for work the program does on its own behalf, with inputs it chose itself: every question is answered
// with the button that goes ahead, every input, picker and browser is cancelled, and each message is kept so that
// the caller can report what went wrong.
class QuietPrompter : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;

    // "Caption: text" of every message so far.
    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};
