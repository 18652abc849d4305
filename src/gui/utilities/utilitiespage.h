#pragma once

#include <QWidget>

struct AppState;
class LineQueryTab;
class NsLookupTab;
class PingTab;
class Platform;
class Prompter;
class QTabWidget;
class TraceTab;

// Finger, trace route, name server lookup, ping and WHOIS.
class UtilitiesPage : public QWidget
{
    Q_OBJECT
public:
    UtilitiesPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent = nullptr);

    LineQueryTab* finger() const { return m_finger; }
    TraceTab* traceRoute() const { return m_trace; }
    NsLookupTab* nsLookup() const { return m_nsLookup; }
    PingTab* ping() const { return m_ping; }
    LineQueryTab* whois() const { return m_whois; }

private:
    QTabWidget* m_tabs;
    LineQueryTab* m_finger;
    TraceTab* m_trace;
    NsLookupTab* m_nsLookup;
    PingTab* m_ping;
    LineQueryTab* m_whois;
};
