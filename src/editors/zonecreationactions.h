#pragma once

#include <QObject>
#include <functional>

struct AppState;
class DomainEditPage;
class Prompter;
class Tcreatenewprim;
class Tfastadd;
class Tmodsecondary;
class Tnewsecondary;
class Tprimarywiz;

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

    Tcreatenewprim* createDialog() const { return m_create; }
    Tprimarywiz* wizard() const { return m_wizard; }
    Tfastadd* fastAddDialog() const { return m_fastAdd; }
    Tnewsecondary* newSecondaryDialog() const { return m_newSecondary; }
    Tmodsecondary* modifySecondaryDialog() const { return m_modifySecondary; }

    void deleteSecondary();

private:
    DomainEditPage& m_page;
    AppState& m_state;
    Prompter& m_prompter;
    QWidget* m_mainWindow;
    std::function<void()> m_reloadBootFile;
    Tcreatenewprim* m_create = nullptr;
    Tprimarywiz* m_wizard = nullptr;
    Tfastadd* m_fastAdd = nullptr;
    Tnewsecondary* m_newSecondary = nullptr;
    Tmodsecondary* m_modifySecondary = nullptr;
};
