#include "gui/common/guiprompter.h"

#include "gui/common/dialogparent.h"
#include "gui/common/questiondialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

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

// Enter never confirms what cannot be taken back: of the buttons a box offers, the one that changes nothing is
// its default.
Prompter::Button safeButton(Prompter::Buttons buttons)
{
    for (const Prompter::Button button : {Prompter::Button::No, Prompter::Button::Cancel, Prompter::Button::Abort}) {
        if (buttons.testFlag(button))
            return button;
    }
    return buttons.testFlag(Prompter::Button::Ok) ? Prompter::Button::Ok : Prompter::Button::Yes;
}

// A message box sizes itself to its text; a short text under a long caption would cut the caption.
void widenForCaption(QMessageBox& box)
{
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

GuiPrompter::GuiPrompter(QWidget* parent) : m_parent(parent) {}

GuiPrompter::~GuiPrompter() = default;

QWidget* GuiPrompter::parentNow() const
{
    return dialogParent(m_parent);
}

Prompter::Button GuiPrompter::message(const QString& caption, const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, parentNow());
    box.setObjectName(QStringLiteral("messagebox"));
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == Buttons(Button::None))
        buttons = Button::Ok;
    const Button safe = safeButton(buttons);
    for (const ButtonPair& pair : kButtons) {
        if (!buttons.testFlag(pair.ours))
            continue;
        QPushButton* button = box.addButton(pair.theirs);
        button->setObjectName(buttonName(pair.ours));
        if (pair.ours == safe)
            box.setDefaultButton(button);
    }
    widenForCaption(box);
    const int pressed = box.exec();
    for (const ButtonPair& pair : kButtons) {
        if (pressed == pair.theirs)
            return pair.ours;
    }
    return buttons.testFlag(Button::Cancel) ? Button::Cancel : Button::No;
}

Prompter::Button GuiPrompter::askQuestion(const QString& text, bool offerAll)
{
    // A new dialog each time, over the window asking: one made once would stay with a window that may be
    // disabled or hidden by the time of the next question.
    QuestionDialog question(parentNow());
    const QString answer = question.ask(text, offerAll);
    if (answer == QLatin1String("ALL"))
        return Button::All;
    return answer == QLatin1String("OK") ? Button::Ok : Button::Cancel;
}

std::optional<QString> GuiPrompter::input(const QString& caption, const QString& prompt, const QString& initial)
{
    QInputDialog dialog(parentNow());
    dialog.setObjectName(QStringLiteral("inputdialog"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    fitCaption(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<int> GuiPrompter::pick(const QString& caption, const QStringList& items)
{
    QInputDialog dialog(parentNow());
    dialog.setObjectName(QStringLiteral("pickdialog"));
    dialog.setWindowTitle(caption);
    dialog.setLabelText(caption);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    fitCaption(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return int(items.indexOf(dialog.textValue()));
}

std::optional<QString> GuiPrompter::browseFolder(const QString& caption, const QString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(parentNow(), caption, start);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> GuiPrompter::openFile(const QString& caption, const QString& directory, const QString& filter)
{
    const QString file = QFileDialog::getOpenFileName(parentNow(), caption, directory, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> GuiPrompter::saveFile(const QString& caption, const QString& directory, const QString& filter)
{
    const QString file = QFileDialog::getSaveFileName(parentNow(), caption, directory, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}
