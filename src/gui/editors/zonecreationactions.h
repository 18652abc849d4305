#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

struct AppState;
class DomainEditPage;
class Prompter;
class NewPrimaryZoneDialog;
class FastAddDialog;
class ModifySecondaryDialog;
class NewSecondaryDialog;
class PrimaryZoneWizard;
struct SecondaryContext;

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

    NewPrimaryZoneDialog* createDialog() const;
    PrimaryZoneWizard* wizard() const;
    FastAddDialog* fastAddDialog() const { return m_fastAdd; }
    NewSecondaryDialog* newSecondaryDialog() const { return m_newSecondary; }
    ModifySecondaryDialog* modifySecondaryDialog() const { return m_modifySecondary; }

    void deleteSecondary();

private:
    SecondaryContext secondaryZoneContext();

    DomainEditPage& m_page;
    AppState& m_state;
    Prompter& m_prompter;
    std::function<void()> m_reloadBootFile;
    // Owned by the main window when there is one, else by this object.
    QPointer<NewPrimaryZoneDialog> m_create;
    QPointer<PrimaryZoneWizard> m_wizard;
    FastAddDialog* m_fastAdd = nullptr;
    NewSecondaryDialog* m_newSecondary = nullptr;
    ModifySecondaryDialog* m_modifySecondary = nullptr;
};
