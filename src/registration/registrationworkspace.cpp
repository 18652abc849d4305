#include "registration/registrationworkspace.h"

#include "net/mailmessage.h"
#include "platform/prompter.h"
#include "registration/profilefile.h"
#include "registration/registrationfiles.h"
#include "registration/registrationname.h"
#include "session/appstate.h"

#include <QDir>
#include <QFile>

namespace {

const QString kTemplateExtension = QStringLiteral(".txt");
const QString kProfileExtension = QStringLiteral(".ini");

bool deleteFile(const QString& path, QString* errorText)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    *errorText =
        QStringLiteral("The file %1 could not be deleted: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

RegistrationOutcome failed(const QString& errorText)
{
    return {RegistrationOutcome::Status::Failed, errorText};
}

} // namespace

QString informationCaption()
{
    return QStringLiteral("Information");
}

QString registrationFilePath(const QString& dataPath, RegistrationKind kind, const QString& name,
                             const QString& extension, QString* errorText)
{
    const QString folder = kindFolder(dataPath, kindInfo(kind).folder, errorText);
    if (folder.isEmpty())
        return QString();
    return QDir(folder).filePath(name + extension);
}

std::optional<FieldValues> loadRegistrationProfile(const QString& dataPath, RegistrationKind kind, const QString& name)
{
    if (name.isEmpty() || unsafeNameReason(name))
        return std::nullopt;
    const QString path = registrationFilePath(dataPath, kind, name, kProfileExtension);
    if (path.isEmpty() || !QFile::exists(path))
        return std::nullopt;
    return readProfile(path, kindInfo(kind).section);
}

bool nameGiven(const RegistrationDocument& document, Prompter& prompter)
{
    if (!document.name.isEmpty())
        return true;
    prompter.message(informationCaption(), kindInfo(document.kind).emptyNameText, Prompter::Button::Ok,
                     Prompter::Icon::Information);
    return false;
}

bool nameIsSafe(const RegistrationDocument& document, Prompter& prompter)
{
    const std::optional<QString> reason = unsafeNameReason(document.name);
    if (!reason)
        return true;
    prompter.message(QStringLiteral("Attention!"), unsafeNameMessage(document.name, *reason), Prompter::Button::Ok,
                     Prompter::Icon::Warning);
    return false;
}

bool writeRegistrationFiles(const RegistrationDocument& document, const QString& dataPath, QStringList* lines,
                            QString* errorText)
{
    const QString templatePath =
        registrationFilePath(dataPath, document.kind, document.name, kTemplateExtension, errorText);
    if (templatePath.isEmpty() || !writeTextLines(templatePath, document.templateLines, errorText))
        return false;
    const QString profilePath = registrationFilePath(dataPath, document.kind, document.name, kProfileExtension);
    if (!writeProfile(profilePath, kindInfo(document.kind).section, document.profile, errorText))
        return false;
    const std::optional<QStringList> written = readTextLines(templatePath);
    if (!written) {
        *errorText = QStringLiteral("The file %1 could not be read.").arg(QDir::toNativeSeparators(templatePath));
        return false;
    }
    *lines = *written;
    return true;
}

bool recordSubmission(const RegistrationDocument& document, QStringList& names, const QString& dataPath,
                      QString* errorText)
{
    const RegistrationKindInfo& info = kindInfo(document.kind);
    bool changed = false;
    if (document.action == RegistrationAction::New && !names.contains(document.name, Qt::CaseInsensitive)) {
        names << document.name;
        changed = true;
    }
    if (document.action == RegistrationAction::Delete) {
        const qsizetype at = names.indexOf(document.name);
        if (at >= 0) {
            names.removeAt(at);
            changed = true;
        } else {
            for (qsizetype i = 0; i < names.size(); ++i) {
                if (names.at(i).compare(document.name, Qt::CaseInsensitive) == 0) {
                    names.removeAt(i);
                    changed = true;
                    break;
                }
            }
        }
    }
    if (changed && !writeTextLines(nameListPath(dataPath, info.listFile), names, errorText))
        return false;
    if (document.action == RegistrationAction::Delete) {
        for (const QString& extension : {kProfileExtension, kTemplateExtension}) {
            const QString path = registrationFilePath(dataPath, document.kind, document.name, extension, errorText);
            if (path.isEmpty() || !deleteFile(path, errorText))
                return false;
        }
    }
    return true;
}

RegistrationOutcome showRegistrationForm(const RegistrationDocument& document, QStringList& names,
                                         const QString& dataPath, Prompter& prompter, const TemplateViewer& view)
{
    if (!nameGiven(document, prompter) || !nameIsSafe(document, prompter))
        return {};
    QStringList lines;
    QString errorText;
    if (!writeRegistrationFiles(document, dataPath, &lines, &errorText))
        return failed(errorText);
    view(lines);
    if (!recordSubmission(document, names, dataPath, &errorText))
        return failed(errorText);
    return {RegistrationOutcome::Status::Done, QString()};
}

bool confirmMailing(Prompter& prompter)
{
    return prompter.message(QStringLiteral("Question!"),
                            QStringLiteral("You are about to mail this registration.  We strongly suggest you click "
                                           "SHOW FORM and review your entries before you proceed.  Click YES to "
                                           "mail the registration.  Click NO to cancel."),
                            Prompter::Button::Yes | Prompter::Button::No,
                            Prompter::Icon::Question) == Prompter::Button::Yes;
}

bool refusesPgp(const RegistrationDocument& document, Prompter& prompter)
{
    if (document.scheme != QLatin1String("PGP"))
        return false;
    prompter.message(informationCaption(),
                     QStringLiteral("You have selected PGP as your Authorization type. If you wish to use PGP "
                                    "Encryption, cut and paste the form out of the window and use PGP software to "
                                    "mail it."),
                     Prompter::Button::Ok, Prompter::Icon::Information);
    return true;
}

bool sendRegistrationMail(const RegistrationDocument& document, const QStringList& lines, const MailSettings& mail,
                          SmtpClient& client, QString* errorText)
{
    if (!client.setServer(mail.smtpServer)) {
        *errorText = mail.smtpServer.trimmed().isEmpty()
                         ? QStringLiteral("No SMTP server is set up for the registration mail. Enter one on the "
                                          "Setup page.")
                         : QStringLiteral("\"%1\" is not a usable SMTP server.").arg(mail.smtpServer);
        return false;
    }
    MailMessage message;
    message.clearRecipients();
    message.addRecipient(mail.registryAddress);
    message.setSubject(kindInfo(document.kind).subject(document.name));
    message.setBody(lines);
    message.setSenderAddress(mail.senderAddress);
    message.setSenderName(mail.senderName);
    return client.send(message, errorText);
}

void reportSent(Prompter& prompter)
{
    prompter.message(QStringLiteral("Sent!"), QStringLiteral("Your registration has been sent!"), Prompter::Button::Ok,
                     Prompter::Icon::Information);
}

RegistrationOutcome mailRegistration(const RegistrationDocument& document, QStringList& names, const QString& dataPath,
                                     const MailSettings& mail, SmtpClient& client, Prompter& prompter,
                                     const TemplateViewer& view)
{
    if (!nameGiven(document, prompter) || !nameIsSafe(document, prompter) || !confirmMailing(prompter))
        return {};
    QStringList lines;
    QString errorText;
    if (!writeRegistrationFiles(document, dataPath, &lines, &errorText))
        return failed(errorText);
    view(lines);
    if (refusesPgp(document, prompter))
        return {};
    if (!sendRegistrationMail(document, lines, mail, client, &errorText))
        return failed(errorText);
    reportSent(prompter);
    if (!recordSubmission(document, names, dataPath, &errorText))
        return failed(errorText);
    return {RegistrationOutcome::Status::Done, QString()};
}

MailStatus mailStatus(SmtpClient::Event event)
{
    switch (event) {
    case SmtpClient::Event::Prepare:
        return {QStringLiteral("Preparing message"), 10, false, QString()};
    case SmtpClient::Event::Open:
        return {QStringLiteral("Opening connection"), 30, false, QString()};
    case SmtpClient::Event::Sending:
        return {QStringLiteral("Sending message"), 50, false, QString()};
    case SmtpClient::Event::MailSent:
        return {QStringLiteral("Message has been sent"), 70, true, QString()};
    case SmtpClient::Event::Closing:
        return {QStringLiteral("Closing connection"), 100, false, QString()};
    case SmtpClient::Event::Closed:
        return {QStringLiteral("Connection closed"), 0, false, QStringLiteral("Your registratuion has been sent.")};
    case SmtpClient::Event::Cancel:
        break;
    }
    return {QStringLiteral("Operation has been canceled"), std::nullopt, false, QString()};
}
