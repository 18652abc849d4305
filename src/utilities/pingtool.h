#pragma once

#include "net/icmpping.h"
#include "utilities/responsearea.h"

#include <QObject>
#include <QTimer>

class Prompter;

// The "Ping" tab's logic: one echo request a second, one line per answer, until "Times to Ping" answers have
// come or the user stops it.
class PingTool : public QObject
{
    Q_OBJECT
public:
    static QString readyStatus() { return QStringLiteral("Enter an address to ping."); }

    explicit PingTool(Prompter& prompter, QObject* parent = nullptr);

    // Starts a run; false when the count or the host was refused (the message has been shown).
    bool ping(const QString& host, const QString& timesText);
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

    ResponseArea& area() { return m_area; }
    IcmpPing& component() { return m_ping; }

Q_SIGNALS:
    void finished();

private:
    void onPingEvent(int status, int milliseconds, quint32 address);

    Prompter& m_prompter;
    IcmpPing m_ping;
    QTimer m_timer;
    ResponseArea m_area;
    QString m_host;
    int m_times = 0;
    int m_counter = 0;
};
