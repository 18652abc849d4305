#pragma once

#include <QWidget>

struct AppState;
class Platform;
class Prompter;

// The domain, host and contact registration forms.
class RegistrationPage : public QWidget
{
    Q_OBJECT
public:
    RegistrationPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent = nullptr);

private:
    AppState& m_state;
    Prompter& m_prompter;
    Platform& m_platform;
};
