#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class Prompter;

// The question "Hostname for Reverse Mapping": which of the host names that share an address the address maps
// back to. The window shows its own dialog; the command line and the tests answer through the prompter.
class HostNameChooser
{
public:
    virtual ~HostNameChooser() = default;
    // The position of the chosen name, or none when OK was pressed with no name selected.
    virtual std::optional<int> chooseHostName(const QString& address, const QStringList& names) = 0;

    static QString caption();
    // The text after the address.
    static QString assignedText();
    static QString selectText();
};

// Asks through the prompter's picker, with the dialog's caption.
class PrompterHostNameChooser : public HostNameChooser
{
public:
    explicit PrompterHostNameChooser(Prompter& prompter) : m_prompter(prompter) {}
    std::optional<int> chooseHostName(const QString& address, const QStringList& names) override;

private:
    Prompter& m_prompter;
};
