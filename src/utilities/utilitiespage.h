#pragma once

#include <QWidget>

struct AppState;
class FingerTab;
class NsLookupTab;
class PingTab;
class Platform;
class Prompter;
class QTabWidget;
class TraceTab;
class WhoisTab;

// Finger, trace route, name server lookup, ping and WHOIS.
class UtilitiesPage : public QWidget
{
    Q_OBJECT
public:
    UtilitiesPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent = nullptr);

    FingerTab* finger() const { return m_finger; }
    TraceTab* traceRoute() const { return m_trace; }
    NsLookupTab* nsLookup() const { return m_nsLookup; }
    PingTab* ping() const { return m_ping; }
    WhoisTab* whois() const { return m_whois; }

private:
    QTabWidget* m_tabs;
    FingerTab* m_finger;
    TraceTab* m_trace;
    NsLookupTab* m_nsLookup;
    PingTab* m_ping;
    WhoisTab* m_whois;
};
