#include "bind9/nameserverprobe.h"

#include "bind9/nameserverquery.h"
#include "session/appstate.h"
#include "session/bind9settings.h"

#include <QEventLoop>

bool nameServerAnswers(const QString& address, int port, const QString& zone, int timeoutMs)
{
    NameServerQuery query;
    bool answered = false;
    QEventLoop loop;
    QObject::connect(&query, &NameServerQuery::finished, &loop, [&](bool reply) {
        answered = reply;
        loop.quit();
    });
    query.ask(address, port, zone, timeoutMs);
    loop.exec();
    return answered;
}

NameServerStatus nameServerTarget(const AppState& state)
{
    NameServerStatus status;
    status.address = state.bind9.queryAddress();
    status.port = state.bind9.port;
    // A BIND 9 server taken over answers where its own configuration has it listen, unless the server's settings
    // say otherwise.
    if (state.conf.isLoaded()) {
        const auto [address, port] = state.conf.queryTarget();
        if (!state.bind9.ownValues.contains(QStringLiteral("Address")))
            status.address = address;
        if (!state.bind9.ownValues.contains(QStringLiteral("Port")))
            status.port = port;
    }
    status.zone = state.boot.primaryGrid.isEmpty() ? QStringLiteral(".") : state.boot.primaryGrid.first().zone;
    return status;
}

NameServerStatus loadedNameServerStatus(const AppState& state)
{
    NameServerStatus status = nameServerTarget(state);
    status.answering = nameServerAnswers(status.address, status.port, status.zone);
    return status;
}

QString nameServerStatusText(const NameServerStatus& status)
{
    return (status.answering ? QStringLiteral("Answering at %1 port %2.")
                             : QStringLiteral("Not answering at %1 port %2."))
        .arg(status.address)
        .arg(status.port);
}

void observeRunState(AppState& state)
{
    if (!isOwnControlProgram(state.ndcProgram))
        return;
    state.runState = loadedNameServerStatus(state).answering ? RunState::Started : RunState::Stopped;
}
