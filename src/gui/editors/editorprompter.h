#pragma once

#include "platform/prompter.h"

class AliasTargetPicker;
class ServerHostPicker;

// The editors' prompter: everything goes to the program's prompter, except that a host is picked in the
// editors' own pickers, the alias editor's for "Select host..." and the server editors' for the others.
class EditorPrompter : public Prompter
{
public:
    EditorPrompter(Prompter& inner, ServerHostPicker& serverPicker, AliasTargetPicker& aliasPicker);

    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;

private:
    Prompter& m_inner;
    ServerHostPicker& m_serverPicker;
    AliasTargetPicker& m_aliasPicker;
};
