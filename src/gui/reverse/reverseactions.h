#pragma once

#include <QObject>

struct AppState;
class Prompter;
class StageWindow;
class ServerOptionsPage;
class WindowServices;
class ReverseHostNameDialog;
class SecondaryReverseDialog;
class ForwardReverseWindow;
class ReverseZonesDialog;

// The reverse mapping commands of the main window: "Reverse Mapping" on "Domain Edit", the "Secondary Reverse
// Mapping Only:" list of "Addl Properties" with its "Add" and "Delete ", and "Reset Reverse Mapping" (only
// with a loaded server; it forgets the host-name answers and goes on). Each says in the status bar what it wrote.
class ReverseActions : public QObject
{
    Q_OBJECT
public:
    ReverseActions(WindowServices& window, ServerOptionsPage& optionsPage, StageWindow& stage, AppState& state,
                   Prompter& prompter);

    void reversemappingClick();
    void addsecreverseClick();
    void delsecreverseClick();
    void resetReverseMapping();
    // "Forward and Reverse": the consistency check of the loaded server in its window.
    void forwardAndReverse();
    // "Reverse Zones": the loaded server's chosen reverse zone prefixes.
    void reverseZones();

    StageWindow* stageWindow() const { return m_stage; }
    ReverseHostNameDialog* hostNameDialog() const { return m_hostName; }
    SecondaryReverseDialog* ipsDialog() const { return m_ips; }
    ForwardReverseWindow* forwardReverseWindow() const { return m_forwardReverse; }
    ReverseZonesDialog* reverseZonesDialog() const { return m_reverseZones; }

private:
    void showSecondaryReverseStatus();

    WindowServices& m_window;
    ServerOptionsPage& m_optionsPage;
    AppState& m_state;
    Prompter& m_prompter;
    StageWindow* m_stage;
    ReverseHostNameDialog* m_hostName;
    SecondaryReverseDialog* m_ips;
    ForwardReverseWindow* m_forwardReverse = nullptr;
    ReverseZonesDialog* m_reverseZones = nullptr;
};
