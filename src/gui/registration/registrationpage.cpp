#include "gui/registration/registrationpage.h"

#include "gui/registration/contactregpage.h"
#include "gui/registration/domainregpage.h"
#include "gui/registration/hostregpage.h"
#include "gui/registration/registrationcontext.h"
#include "gui/registration/reviewpanel.h"
#include "net/smtpclient.h"
#include "platform/prompter.h"
#include "registration/registrationworkspace.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QVBoxLayout>

RegistrationPage::RegistrationPage(AppState& state, SettingsStore& store, Prompter& prompter, Platform& platform,
                                   QWidget* parent)
    : QWidget(parent), m_smtp(std::make_unique<SmtpClient>())
{
    setObjectName(QStringLiteral("internic"));
    m_context.reset(new RegistrationContext{state, store, prompter, platform, *m_smtp, [this](QPrinter& printer) {
                                                QPrintDialog dialog(&printer, this);
                                                return dialog.exec() == QDialog::Accepted;
                                            }});

    m_forms = new QTabWidget(this);
    m_forms->setObjectName(QStringLiteral("registrationforms"));
    m_domain = new DomainRegPage(*m_context, m_forms);
    m_host = new HostRegPage(*m_context, m_forms);
    m_contact = new ContactRegPage(*m_context, m_forms);
    m_forms->addTab(m_domain, QStringLiteral("Domain Reg"));
    m_forms->addTab(m_host, QStringLiteral("Host Reg"));
    m_forms->addTab(m_contact, QStringLiteral("Contact Reg"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_forms);

    m_smtp->setEventHandler([this, &prompter](SmtpClient::Event event) {
        const MailStatus status = mailStatus(event);
        for (RegistrationForm* form : {static_cast<RegistrationForm*>(m_domain), static_cast<RegistrationForm*>(m_host),
                                       static_cast<RegistrationForm*>(m_contact)})
            form->review()->showMailStatus(status);
        if (status.beep)
            QApplication::beep();
        if (!status.box.isEmpty())
            prompter.message(informationCaption(), status.box, Prompter::Button::Ok, Prompter::Icon::Information);
    });
}

RegistrationPage::~RegistrationPage() = default;

void RegistrationPage::showState()
{
    m_domain->showState();
    m_host->showState();
    m_contact->showState();
}

void RegistrationPage::setPrinterChooser(std::function<bool(QPrinter&)> choose)
{
    m_context->choosePrinter = std::move(choose);
}
