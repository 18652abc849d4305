#pragma once

#include <QWidget>

struct AppState;
class Platform;
class Prompter;

// Finger, trace route, name server lookup, ping and WHOIS.
class UtilitiesPage : public QWidget
{
    Q_OBJECT
public:
    UtilitiesPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent = nullptr);

private:
    AppState& m_state;
    Prompter& m_prompter;
    Platform& m_platform;
};
