#pragma once

#include "platform/prompter.h"

#include <QStringList>
#include <QTextStream>
#include <exception>

// Thrown when a question comes and the --answers list has nothing left; the command ends with status 3.
struct NoAnswerLeft : std::exception
{
    const char* what() const noexcept override { return "a question had no answer left"; }
};

// The command line's prompter: messages go to the error stream as "Caption: text", questions take their
// answers in order from the --answers list.
class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(QStringList answers = {});

    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;
    bool isInteractive() const override { return false; }

private:
    QString nextAnswer(const QString& caption, const QString& text);
    std::optional<QString> nextPath(const QString& caption, const QString& what);
    Button nextButton(const QString& caption, const QString& text, Buttons allowed);

    QStringList m_answers;
    QTextStream m_err;
};
