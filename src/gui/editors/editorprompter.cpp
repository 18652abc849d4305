#include "gui/editors/editorprompter.h"

#include "gui/editors/aliastargetpicker.h"
#include "gui/editors/serverhostpicker.h"

EditorPrompter::EditorPrompter(Prompter& inner, ServerHostPicker& serverPicker, AliasTargetPicker& aliasPicker)
    : m_inner(inner), m_serverPicker(serverPicker), m_aliasPicker(aliasPicker)
{
}

Prompter::Button EditorPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon icon)
{
    return m_inner.message(caption, text, buttons, icon);
}

Prompter::Button EditorPrompter::askQuestion(const QString& text, bool offerAll)
{
    return m_inner.askQuestion(text, offerAll);
}

std::optional<QString> EditorPrompter::input(const QString& caption, const QString& prompt, const QString& initial)
{
    return m_inner.input(caption, prompt, initial);
}

std::optional<int> EditorPrompter::pick(const QString& caption, const QStringList& items)
{
    if (caption == m_aliasPicker.windowTitle())
        return m_aliasPicker.choose(items);
    m_serverPicker.setWindowTitle(caption);
    return m_serverPicker.choose(items);
}

std::optional<QString> EditorPrompter::browseFolder(const QString& caption, const QString& start)
{
    return m_inner.browseFolder(caption, start);
}

std::optional<QString> EditorPrompter::openFile(const QString& caption, const QString& directory, const QString& filter)
{
    return m_inner.openFile(caption, directory, filter);
}

std::optional<QString> EditorPrompter::saveFile(const QString& caption, const QString& directory, const QString& filter)
{
    return m_inner.saveFile(caption, directory, filter);
}
