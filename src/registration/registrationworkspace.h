#pragma once

#include "net/smtpclient.h"
#include "registration/registrationdocument.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct MailSettings;
class Prompter;

// How a "Show Form" or a mailing ended: stopped by a check or an answer (its box has been shown), done, or
// failed on a file or the mail server (the reason is for the application's error report).
struct RegistrationOutcome
{
    enum class Status
    {
        Stopped,
        Done,
        Failed
    };

    Status status = Status::Stopped;
    QString errorText;
};

// Receives the template's lines as they were written, to show them.
using TemplateViewer = std::function<void(const QStringList& lines)>;

// The path of a name's file of the kind ("example.com.txt", "example.com.ini") in the kind's folder under
// the data folder; the folder is created when missing. Empty with the reason when it cannot be.
QString registrationFilePath(const QString& dataPath, RegistrationKind kind, const QString& name,
                             const QString& extension, QString* errorText = nullptr);

// The profile kept for a typed or chosen name; none when there is none, or when the name could not be a
// file of the kind's folder.
std::optional<FieldValues> loadRegistrationProfile(const QString& dataPath, RegistrationKind kind, const QString& name);

// The checks that come before anything is written: the empty-name box, then the refusal of a name that
// cannot be a file name.
bool nameGiven(const RegistrationDocument& document, Prompter& prompter);
bool nameIsSafe(const RegistrationDocument& document, Prompter& prompter);

// Writes the template and the profile of the name into the kind's folder and reads the template back.
bool writeRegistrationFiles(const RegistrationDocument& document, const QString& dataPath, QStringList* lines,
                            QString* errorText);

// After a showing or a mailing: New adds the name to the list when it is not there (compared without regard to
// case); Delete takes it out and deletes the name's profile and template. The list file is rewritten when the
// list changed. False with the reason when a file could not be written or deleted.
bool recordSubmission(const RegistrationDocument& document, QStringList& names, const QString& dataPath,
                      QString* errorText);

// "Show Form": the checks, the files, the template shown, then the list and the files of New and Delete.
RegistrationOutcome showRegistrationForm(const RegistrationDocument& document, QStringList& names,
                                         const QString& dataPath, Prompter& prompter, const TemplateViewer& view);

// The confirmation before mailing; true on Yes.
bool confirmMailing(Prompter& prompter);
// Refuses to mail a registration whose scheme is "PGP", with its box; true when refused.
bool refusesPgp(const RegistrationDocument& document, Prompter& prompter);
// Hands the template to the mail client: the registry mailbox as the one recipient, the kind's subject, the
// lines as the body, the sender from the settings. False with the client's reason.
bool sendRegistrationMail(const RegistrationDocument& document, const QStringList& lines, const MailSettings& mail,
                          SmtpClient& client, QString* errorText);
// The box that ends a successful mailing.
void reportSent(Prompter& prompter);

// "Mail to InterNIC": the checks, the confirmation, the files and the template shown, the PGP refusal, the
// mail, the "sent" box, then the list and the files of New and Delete. Nothing of the last steps happens when
// the mail could not be sent.
RegistrationOutcome mailRegistration(const RegistrationDocument& document, QStringList& names, const QString& dataPath,
                                     const MailSettings& mail, SmtpClient& client, Prompter& prompter,
                                     const TemplateViewer& view);

// How an event of the mail client shows on the review areas: the status text, the bar's position (none to
// leave it), whether the information beep sounds, and a box to show, if any.
struct MailStatus
{
    QString text;
    std::optional<int> bar;
    bool beep = false;
    QString box;
};
MailStatus mailStatus(SmtpClient::Event event);

// The caption of the program's information boxes.
QString informationCaption();
