#pragma once

#include "server/newserverfields.h"
#include "server/newserversteps.h"
#include "server/serverimport.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class Stage;

// The "New Server Wizard": three pages that set up a new server, and page 1's take control and import. The
// window lives for the whole run and is shown anew each time, modal to the main window. Each page opens with the
// keyboard in its first field and its forward button ("Next", "Finish") as the default; Escape cancels.
class NewServerWizard : public QDialog
{
    Q_OBJECT
public:
    using ContextFactory = std::function<ServerContext()>;

    NewServerWizard(ContextFactory makeContext, Stage& stage, QWidget* parent = nullptr);

    // "Add New Server": page 1 with the values of a new showing.
    void showNewServerWizard();
    int currentPage() const;
    // Shows a page (0 to 2).
    void showPage(int page);

    QStackedWidget* pages;
    // Page 1.
    QLineEdit* name;
    QLineEdit* firstzone;
    QComboBox* defaultos;
    QLineEdit* filename;
    QCheckBox* secondary;
    QPushButton* serverPageNext;
    QPushButton* browsecomputer;
    QPushButton* takecontrol;
    QPushButton* importserver;
    QPushButton* takeoverbind9;
    QPushButton* serverPageHelp;
    QPushButton* serverPageCancel;
    // Page 2.
    QLabel* dirlabel;
    QLineEdit* windowsdir;
    QLineEdit* dfiles;
    QPushButton* foldersPageNext;
    QPushButton* foldersPageBack;
    QPushButton* browsedir;
    QPushButton* foldersPageHelp;
    // Page 3.
    QLineEdit* serial;
    QLineEdit* refresh;
    QLineEdit* retry;
    QLineEdit* expire;
    QLineEdit* minimum;
    QLineEdit* emailaddr;
    QPushButton* finish;
    QPushButton* defaultsPageBack;
    QPushButton* defaultsPageHelp;
    // The server's own drive letter, as the drive mapping dialog last gave it.
    QLineEdit* drivetransfer;

Q_SIGNALS:
    // A server was set up, taken over or imported, and loaded: the main window shows it.
    void serverAdded();
    // The server selection box of the main window gets this text.
    void serverBoxTextRequested(const QString& text);
    // "Press F1 for more detailed HELP" in the drive mapping dialog.
    void helpRequested();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildServerPage();
    QWidget* buildFoldersPage();
    QWidget* buildDefaultsPage();
    NewServerFields fields() const;
    void showFields(const NewServerFields& values);
    WizardHooks hooks();
    void showHelp(int page);

    void nextFromServerPage();
    void browsecomputerClick();
    void takecontrolClick();
    void importserverClick();
    void takeOverBind9Click();
    void nextFromFoldersPage();
    void browsedirClick();
    void finishClick();
    void startImport(ImportMode mode);

    ContextFactory m_makeContext;
    Stage& m_stage;
    bool m_typed = false; // page 2 takes a typed path
};
