#pragma once

#include "platform/prompter.h"

// The control program's prompter: it has nobody to ask. Messages are kept, so that a failure can be told in one
// line; every question is declined and every dialog cancelled.
class NdcPrompter : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;

    // The first message shown, the one that says what went wrong first; empty when there was none.
    QString firstMessage() const { return m_first; }

private:
    QString m_first;
};
