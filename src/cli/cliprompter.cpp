#include "cli/cliprompter.h"

#include <cstdio>

CliPrompter::CliPrompter(QStringList answers) : m_answers(std::move(answers)), m_err(stderr)
{
}

QString CliPrompter::nextAnswer(const QString& caption, const QString& text)
{
    m_err << caption << ": " << text << Qt::endl;
    if (m_answers.isEmpty())
        throw NoAnswerLeft();
    return m_answers.takeFirst();
}

Prompter::Button CliPrompter::nextButton(const QString& caption, const QString& text, Buttons allowed)
{
    const QString answer = nextAnswer(caption, text);
    const std::optional<Button> button = buttonFromName(answer);
    if (!button || !allowed.testFlag(*button)) {
        m_err << "Unusable answer \"" << answer << "\" to that question; taken as cancel." << Qt::endl;
        return allowed.testFlag(Button::Cancel) ? Button::Cancel : Button::No;
    }
    return *button;
}

Prompter::Button CliPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon)
{
    if (buttons == Buttons(Button::Ok) || buttons == Buttons(Button::None)) {
        m_err << caption << ": " << text << Qt::endl;
        return Button::Ok;
    }
    return nextButton(caption, text, buttons);
}

Prompter::Button CliPrompter::askQuestion(const QString& text, bool offerAll)
{
    Buttons allowed = Button::Ok | Button::Cancel;
    if (offerAll)
        allowed |= Button::All;
    return nextButton(QStringLiteral("Question"), text, allowed);
}

std::optional<QString> CliPrompter::input(const QString& caption, const QString& prompt, const QString&)
{
    return nextAnswer(caption, prompt);
}

std::optional<int> CliPrompter::pick(const QString& caption, const QStringList& items)
{
    const QString answer = nextAnswer(caption, items.join(QStringLiteral(", ")));
    if (answer == QLatin1String("cancel"))
        return std::nullopt;
    const qsizetype byName = items.indexOf(answer);
    if (byName >= 0)
        return int(byName);
    bool ok = false;
    const int position = answer.toInt(&ok);
    if (ok && position >= 1 && position <= items.size())
        return position - 1;
    return std::nullopt;
}

std::optional<QString> CliPrompter::nextPath(const QString& caption, const QString& what)
{
    const QString answer = nextAnswer(caption, what);
    if (answer == QLatin1String("cancel"))
        return std::nullopt;
    return answer;
}

std::optional<QString> CliPrompter::browseFolder(const QString& caption, const QString&)
{
    return nextPath(caption, QStringLiteral("folder"));
}

std::optional<QString> CliPrompter::openFile(const QString& caption, const QString&, const QString&)
{
    return nextPath(caption, QStringLiteral("file to open"));
}

std::optional<QString> CliPrompter::saveFile(const QString& caption, const QString&, const QString&)
{
    return nextPath(caption, QStringLiteral("file to write"));
}
