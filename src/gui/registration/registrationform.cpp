#include "gui/registration/registrationform.h"

#include "gui/registration/registrationcontext.h"
#include "gui/registration/registrationwidgets.h"
#include "gui/registration/reviewpanel.h"
#include "gui/registration/templateprinter.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "registration/registrationworkspace.h"
#include "session/appstate.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

RegistrationForm::RegistrationForm(RegistrationKind kind, RegistrationContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_kind(kind)
{
    m_tabs = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

void RegistrationForm::finishTabs(QComboBox* nameBox, const QString& prefix, const QString& mailCaption)
{
    m_nameBox = nameBox;
    m_tabs->setObjectName(prefix + QStringLiteral("tabs"));
    m_review = new ReviewPanel(prefix, mailCaption, m_tabs);
    m_tabs->addTab(m_review, QStringLiteral("Review && Submit"));
    connect(m_nameBox, &QComboBox::editTextChanged, this, &RegistrationForm::nameChanged);
    connect(m_review->showform, &QPushButton::clicked, this, &RegistrationForm::showForm);
    connect(m_review->mail, &QPushButton::clicked, this, &RegistrationForm::mail);
    connect(m_review->print, &QPushButton::clicked, this, &RegistrationForm::print);
    connect(m_review->savedefault, &QPushButton::clicked, this, &RegistrationForm::saveDefaults);
    connect(m_review->clearall, &QPushButton::clicked, this, &RegistrationForm::clearAll);
}

void RegistrationForm::showState()
{
    {
        const LoadingScope loading(*this);
        applyDefaults(m_context.state.registration.values.value(kindInfo(m_kind).section));
    }
    refreshNames();
}

void RegistrationForm::nameChanged(const QString& name)
{
    if (m_loading)
        return;
    const std::optional<FieldValues> profile = loadRegistrationProfile(m_context.platform.appDataPath(), m_kind, name);
    if (!profile)
        return;
    const LoadingScope loading(*this);
    applyProfile(*profile);
}

void RegistrationForm::refreshNames()
{
    setNames(m_nameBox, nameList(m_context.state, m_kind));
}

void RegistrationForm::reportError(const QString& text)
{
    m_context.prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
}

void RegistrationForm::showForm()
{
    const RegistrationOutcome outcome =
        showRegistrationForm(document(), nameList(m_context.state, m_kind), m_context.platform.appDataPath(),
                             m_context.prompter, [this](const QStringList& lines) { m_review->showLines(lines); });
    refreshNames();
    if (outcome.status == RegistrationOutcome::Status::Failed)
        reportError(outcome.errorText);
}

void RegistrationForm::mail()
{
    const RegistrationOutcome outcome = mailRegistration(
        document(), nameList(m_context.state, m_kind), m_context.platform.appDataPath(), m_context.state.mail,
        m_context.smtp, m_context.prompter, [this](const QStringList& lines) { m_review->showLines(lines); });
    refreshNames();
    if (outcome.status == RegistrationOutcome::Status::Failed)
        reportError(outcome.errorText);
}

void RegistrationForm::print()
{
    RegistrationDocument named;
    named.kind = m_kind;
    named.name = m_nameBox->currentText();
    if (!nameGiven(named, m_context.prompter))
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!m_context.choosePrinter(printer))
        return;
    if (!printTemplateLines(printer, m_review->lines(), m_review->view->font()))
        reportError(QStringLiteral("The registration could not be printed on %1.").arg(printer.printerName()));
}

void RegistrationForm::saveDefaults()
{
    const QString& section = kindInfo(m_kind).section;
    QHash<QString, QString>& remembered = m_context.state.registration.values[section];
    for (const auto& [name, value] : defaults()) {
        m_context.store.setText(section, name, value);
        remembered.insert(name, value);
    }
    QString errorText;
    if (!m_context.store.sync(&errorText))
        reportError(errorText);
}
