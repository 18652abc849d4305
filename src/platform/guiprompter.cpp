#include "platform/guiprompter.h"

#include "checks/questiondialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct ButtonPair
{
    Prompter::Button ours;
    QMessageBox::StandardButton theirs;
};

// In the order the boxes show them: Yes, OK, No, Cancel, Abort.
constexpr ButtonPair kButtons[] = {
    {Prompter::Button::Yes, QMessageBox::Yes},     {Prompter::Button::Ok, QMessageBox::Ok},
    {Prompter::Button::No, QMessageBox::No},       {Prompter::Button::Cancel, QMessageBox::Cancel},
    {Prompter::Button::Abort, QMessageBox::Abort},
};

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

GuiPrompter::GuiPrompter(QWidget* parent) : m_parent(parent) {}

GuiPrompter::~GuiPrompter()
{
    delete m_question;
}

Prompter::Button GuiPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == Buttons(Button::None))
        buttons = Button::Ok;
    for (const ButtonPair& pair : kButtons) {
        if (buttons.testFlag(pair.ours))
            box.addButton(pair.theirs);
    }
    const int pressed = box.exec();
    for (const ButtonPair& pair : kButtons) {
        if (pressed == pair.theirs)
            return pair.ours;
    }
    return buttons.testFlag(Button::Cancel) ? Button::Cancel : Button::No;
}

Prompter::Button GuiPrompter::askQuestion(const QString& text, bool offerAll)
{
    if (!m_question)
        m_question = new QuestionDialog(m_parent);
    const QString answer = m_question->ask(text, offerAll);
    if (answer == QLatin1String("ALL"))
        return Button::All;
    return answer == QLatin1String("OK") ? Button::Ok : Button::Cancel;
}

std::optional<QString> GuiPrompter::input(const QString& caption, const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<int> GuiPrompter::pick(const QString& caption, const QStringList& items)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(m_parent, caption, caption, items, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(items.indexOf(chosen));
}

std::optional<QString> GuiPrompter::browseFolder(const QString& caption, const QString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(m_parent, caption, start);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> GuiPrompter::openFile(const QString& caption, const QString& directory, const QString& filter)
{
    const QString file = QFileDialog::getOpenFileName(m_parent, caption, directory, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> GuiPrompter::saveFile(const QString& caption, const QString& directory, const QString& filter)
{
    const QString file = QFileDialog::getSaveFileName(m_parent, caption, directory, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}
