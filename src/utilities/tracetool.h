#pragma once

#include "net/icmptrace.h"
#include "utilities/responsearea.h"

#include <QObject>

class Prompter;

// The "Trace Route" tab's logic: the routers on the way to a host, one line per answering hop, each new trace
// listed below the previous one.
class TraceTool : public QObject
{
    Q_OBJECT
public:
    static QString readyStatus() { return QStringLiteral("Enter an address to trace."); }

    explicit TraceTool(Prompter& prompter, QObject* parent = nullptr);

    // Runs the trace to its end while events keep flowing; false when the host was refused (the message has
    // been shown).
    bool trace(const QString& host);
    void stop();
    bool isRunning() const { return m_trace.isRunning(); }

    ResponseArea& area() { return m_area; }
    IcmpTrace& component() { return m_trace; }

private:
    void onRouteEvent(int hop, int milliseconds, quint32 address);

    Prompter& m_prompter;
    IcmpTrace m_trace;
    ResponseArea m_area;
};
