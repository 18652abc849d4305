#include "cli/registrationcommands.h"

#include "cli/clicontext.h"
#include "registration/registrationdocument.h"
#include "registration/registrationworkspace.h"

#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace {

struct RegistrationArguments
{
    RegistrationKind kind = RegistrationKind::Domain;
    QString profilePath;
    RegistrationAction action = RegistrationAction::New;
};

const QString kUsage = QStringLiteral("domain|host|contact PROFILE.ini [--action N|M|D]");

std::optional<RegistrationKind> kindFromWord(const QString& word)
{
    if (word == QLatin1String("domain"))
        return RegistrationKind::Domain;
    if (word == QLatin1String("host"))
        return RegistrationKind::Host;
    if (word == QLatin1String("contact"))
        return RegistrationKind::Contact;
    return std::nullopt;
}

std::optional<RegistrationArguments> parseArguments(const QString& command, const QStringList& arguments)
{
    RegistrationArguments parsed;
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
            continue;
        }
        std::optional<QString> letter;
        if (arg == QLatin1String("--action") && i + 1 < arguments.size())
            letter = arguments.at(++i);
        else if (arg.startsWith(QLatin1String("--action=")))
            letter = arg.mid(9);
        if (!letter) {
            std::fprintf(stderr, "Unknown option: %s\n", qPrintable(arg));
            return std::nullopt;
        }
        const std::optional<RegistrationAction> action = actionFromLetter(*letter);
        if (!action) {
            std::fprintf(stderr, "The action is one of N, M and D.\n");
            return std::nullopt;
        }
        parsed.action = *action;
    }
    const std::optional<RegistrationKind> kind = kindFromWord(positional.value(0));
    if (positional.size() != 2 || !kind) {
        std::fprintf(stderr, "Usage: quorvane-cli %s %s\n", qPrintable(command), qPrintable(kUsage));
        return std::nullopt;
    }
    parsed.kind = *kind;
    parsed.profilePath = positional.at(1);
    return parsed;
}

std::optional<RegistrationDocument> loadDocument(CliContext& context, const RegistrationArguments& arguments)
{
    const QString processed = context.platform.shortDateLongTime(context.platform.now());
    QString reason;
    std::optional<RegistrationDocument> document =
        documentFromProfileFile(arguments.kind, arguments.profilePath, arguments.action, processed, &reason);
    if (!document) {
        QString text = QStringLiteral("The profile %1 could not be read.").arg(arguments.profilePath);
        if (!reason.isEmpty())
            text += QLatin1Char(' ') + reason;
        context.prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
    }
    return document;
}

int runTemplate(CliContext& context, const QStringList& args)
{
    const std::optional<RegistrationArguments> arguments = parseArguments(QStringLiteral("template"), args);
    if (!arguments)
        return CliUsage;
    const std::optional<RegistrationDocument> document = loadDocument(context, *arguments);
    if (!document)
        return CliFailure;
    for (const QString& line : document->templateLines)
        context.out << line << '\n';
    context.out.flush();
    return CliSuccess;
}

int runMail(CliContext& context, const QStringList& args)
{
    const std::optional<RegistrationArguments> arguments = parseArguments(QStringLiteral("mail"), args);
    if (!arguments)
        return CliUsage;
    const std::optional<RegistrationDocument> document = loadDocument(context, *arguments);
    if (!document)
        return CliFailure;
    Prompter& prompter = context.prompter;
    if (!nameGiven(*document, prompter) || !confirmMailing(prompter) || refusesPgp(*document, prompter))
        return CliFailure;

    SmtpClient client;
    client.setEventHandler([&prompter](SmtpClient::Event event) {
        const MailStatus status = mailStatus(event);
        std::fprintf(stderr, "%s\n", qPrintable(status.text));
        if (!status.box.isEmpty())
            prompter.message(informationCaption(), status.box, Prompter::Button::Ok, Prompter::Icon::Information);
    });
    QString errorText;
    if (!sendRegistrationMail(*document, document->templateLines, context.state.mail, client, &errorText)) {
        prompter.message(QStringLiteral("Error"), errorText, Prompter::Button::Ok, Prompter::Icon::Critical);
        return CliFailure;
    }
    reportSent(prompter);
    return CliSuccess;
}

} // namespace

void registerRegistrationCommands()
{
    cliCommands() << CliCommand{QStringLiteral("template"), kUsage,
                                QStringLiteral("Prints the registration template generated from a profile file."),
                                runTemplate}
                  << CliCommand{QStringLiteral("mail"), kUsage,
                                QStringLiteral("Mails the template generated from a profile file to the registry "
                                               "mailbox of the settings, after a confirmation."),
                                runMail};
}
