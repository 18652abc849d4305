#pragma once

#include <QWidget>
#include <array>

struct AppState;
class Prompter;
class Bind9SetupGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The "Setup" page: the administrator's address, the wizards' defaults, the start-of-authority defaults, the
// registration mail set-up, the default master and "Automatic Backup". Every edit goes straight into the
// program state; only "Update Defaults" and closing the main window write the store.
class SetupPage : public QWidget
{
    Q_OBJECT
public:
    SetupPage(AppState& state, QWidget* parent = nullptr);

    // Shows the state's values in the fields.
    void showState();
    // Where the start-of-authority defaults report a value that is no number when they lose the focus.
    void setPrompter(Prompter* prompter);

    QLineEdit* emailaddr;
    std::array<QLineEdit*, 5> defaultns;
    std::array<QLineEdit*, 5> defaulthost;
    std::array<QLineEdit*, 5> defaultmail;
    std::array<QLineEdit*, 5> defaultalias;
    QLineEdit* runningSerialEdit;
    QLineEdit* defaultrefresh;
    QLineEdit* defaultretry;
    QLineEdit* defaultexpire;
    QLineEdit* defaultminimum;
    QLineEdit* smtpServer;
    QLineEdit* senderName;
    QLineEdit* senderAddress;
    QLineEdit* registryAddress;
    QLineEdit* defaultsecondary;
    QCheckBox* autobackup;
    QPushButton* updatedefaults;
    Bind9SetupGroup* bind9setup;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* boundField(const QString& name, QString* target);

    AppState& m_state;
    Prompter* m_prompter = nullptr;
    QList<std::pair<QLineEdit*, QString*>> m_bindings;
};
