#pragma once

#include <QWidget>
#include <functional>
#include <memory>

struct AppState;
struct RegistrationContext;
class ContactRegPage;
class DomainRegPage;
class HostRegPage;
class Platform;
class Prompter;
class QPrinter;
class QTabWidget;
class SettingsStore;
class SmtpClient;

// The "InterNic Registration" page: the domain, host and contact registration forms, which share one mail
// client whose progress shows on all three review tabs at once.
class RegistrationPage : public QWidget
{
    Q_OBJECT
public:
    RegistrationPage(AppState& state, SettingsStore& store, Prompter& prompter, Platform& platform,
                     QWidget* parent = nullptr);
    ~RegistrationPage() override;

    DomainRegPage* domainReg() const { return m_domain; }
    HostRegPage* hostReg() const { return m_host; }
    ContactRegPage* contactReg() const { return m_contact; }
    QTabWidget* forms() const { return m_forms; }

    // The fields from the defaults and the name lists, once the settings have been read.
    void showState();

    // Replaces the printer dialog (false: cancelled).
    void setPrinterChooser(std::function<bool(QPrinter&)> choose);

private:
    std::unique_ptr<SmtpClient> m_smtp;
    std::unique_ptr<RegistrationContext> m_context;
    QTabWidget* m_forms = nullptr;
    DomainRegPage* m_domain = nullptr;
    HostRegPage* m_host = nullptr;
    ContactRegPage* m_contact = nullptr;
};
