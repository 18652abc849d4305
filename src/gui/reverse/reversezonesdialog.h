#pragma once

#include <QDialog>

struct AppState;
class Prompter;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class SettingsStore;

// "Reverse Zones": the reverse zones the loaded server's administrator chooses beside the /24 and /64 ones that
// reverse generation makes by itself, one prefix a line. Saved in the settings for this server; the next reverse
// generation makes them.
class ReverseZonesDialog : public QDialog
{
    Q_OBJECT
public:
    ReverseZonesDialog(AppState& state, SettingsStore& store, Prompter& prompter, QWidget* parent);

    QLabel* explanation;
    QPlainTextEdit* prefixes;
    QPushButton* saveit;
    QPushButton* cancelit;

    // Shows the loaded server's prefixes and waits.
    int openForServer();
    void saveitClick();

private:
    AppState& m_state;
    SettingsStore& m_store;
    Prompter& m_prompter;
};
