#pragma once

#include "platform/prompter.h"

#include <QPointer>
#include <QWidget>

// The windows' prompter: real message boxes, the question dialog, input boxes and file dialogs. Each is modal and
// belongs to the window that raises it (the modal window in front, else the active window, else the main window
// given as parent); a question's default button is the one that changes nothing.
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
    QWidget* parentNow() const;

    QPointer<QWidget> m_parent;
};
