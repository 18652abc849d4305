#pragma once

#include "utilities/linequerytool.h"

// The "Who IS?" tab's logic: one name sent to the registry's WHOIS service and every line of its answer.
class WhoisTool : public LineQueryTool
{
    Q_OBJECT
public:
    static constexpr quint16 whoisPort = 43;

    WhoisTool(Prompter& prompter, const QString& server, QObject* parent = nullptr);

    void setServer(const QString& server) { m_server = server; }
    QString server() const { return m_server; }

    void find(const QString& input) override;

private:
    void onConnected(int status, const QString& description);
    void onData(const QString& line);
    void onError(int code, const QString& description);

    QString m_server;
};
