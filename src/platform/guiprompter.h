#pragma once

#include "platform/prompter.h"

#include <QPointer>
#include <QWidget>

class QuestionDialog;

// The windows' prompter: real message boxes, the question dialog, input boxes and file dialogs, each modal
// over the main window.
class GuiPrompter : public Prompter
{
public:
    explicit GuiPrompter(QWidget* parent = nullptr);
    ~GuiPrompter() override;

    void setParent(QWidget* parent) { m_parent = parent; }

    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;

private:
    QPointer<QWidget> m_parent;
    QuestionDialog* m_question = nullptr;
};
