#include "registration/registrationpage.h"

RegistrationPage::RegistrationPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompter(prompter), m_platform(platform)
{
    setObjectName(QStringLiteral("internic"));
}
