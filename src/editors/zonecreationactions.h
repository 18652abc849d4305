#pragma once

#include <QObject>
#include <functional>

struct AppState;
class DomainEditPage;
class Prompter;
class NewPrimaryZoneDialog;
class FastAddDialog;
class ModifySecondaryDialog;
class NewSecondaryDialog;
class PrimaryZoneWizard;

// The zone creation commands of the "Domain Edit" page: "New Primary" with its wizard, "Fast Add", "New
// Secondary", "Del Secondary" and the secondary zone editor. The dialogs live as long as the page.
class ZoneCreationActions : public QObject
{
    Q_OBJECT
public:
    // reloadBootFile reads the loaded server's boot file again and shows what it holds.
    ZoneCreationActions(DomainEditPage& page, AppState& state, Prompter& prompter, QWidget* mainWindow,
                        std::function<void()> reloadBootFile);
    ~ZoneCreationActions() override;

    NewPrimaryZoneDialog* createDialog() const { return m_create; }
    PrimaryZoneWizard* wizard() const { return m_wizard; }
    FastAddDialog* fastAddDialog() const { return m_fastAdd; }
    NewSecondaryDialog* newSecondaryDialog() const { return m_newSecondary; }
    ModifySecondaryDialog* modifySecondaryDialog() const { return m_modifySecondary; }

    void deleteSecondary();

private:
    DomainEditPage& m_page;
    AppState& m_state;
    Prompter& m_prompter;
    QWidget* m_mainWindow;
    std::function<void()> m_reloadBootFile;
    NewPrimaryZoneDialog* m_create = nullptr;
    PrimaryZoneWizard* m_wizard = nullptr;
    FastAddDialog* m_fastAdd = nullptr;
    NewSecondaryDialog* m_newSecondary = nullptr;
    ModifySecondaryDialog* m_modifySecondary = nullptr;
};
