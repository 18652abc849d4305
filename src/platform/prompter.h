#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <optional>

// Every message box, question, input box, picker and file or folder dialog of the program goes through this
// interface, so that each check sequence can run without a window: the windows answer with real dialogs, the
// command line from its --answers list, the tests from a script.
class Prompter
{
public:
    enum class Button
    {
        None = 0x00,
        Ok = 0x01,
        Cancel = 0x02,
        Yes = 0x04,
        No = 0x08,
        Abort = 0x10,
        All = 0x20, // "OK" with the "Don't display errors of this kind in the future." box ticked
    };
    Q_DECLARE_FLAGS(Buttons, Button)

    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
        Question
    };

    virtual ~Prompter() = default;

    // A modal message box; returns the button pressed (Cancel when the box was closed otherwise).
    virtual Button message(const QString& caption, const QString& text, Buttons buttons = Button::Ok,
                           Icon icon = Icon::None) = 0;

    // The question dialog: OK, Cancel and, when offerAll is set, the check box against further questions.
    // Returns Ok, Cancel or All.
    virtual Button askQuestion(const QString& text, bool offerAll) = 0;

    // A one-line input box; no value when cancelled.
    virtual std::optional<QString> input(const QString& caption, const QString& prompt,
                                         const QString& initial = QString()) = 0;

    // A list to choose one entry from (host pickers and the like); the 0-based index, or none when cancelled.
    virtual std::optional<int> pick(const QString& caption, const QStringList& items) = 0;

    // The folder browser; none when cancelled.
    virtual std::optional<QString> browseFolder(const QString& caption, const QString& start) = 0;

    // File dialogs; none when cancelled.
    virtual std::optional<QString> openFile(const QString& caption, const QString& directory,
                                            const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& caption, const QString& directory,
                                            const QString& filter) = 0;

    void inform(const QString& caption, const QString& text) { message(caption, text); }

    // Whether a person answers (the windows, and the tests that stand for one), rather than a list of answers
    // given in advance to a command.
    virtual bool isInteractive() const { return true; }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Prompter::Buttons)

// Text forms of the answers, as the command line and the scripted tests spell them.
QString buttonName(Prompter::Button button);
std::optional<Prompter::Button> buttonFromName(const QString& name);

// The program's general error report: a file the command needed could not be read or written.
void reportGeneralError(Prompter& prompter, const QString& text);
