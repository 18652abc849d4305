#pragma once

#include "support/loopback.h"
#include "support/namedprocess.h"

#include <QString>
#include <QTemporaryDir>

// A real name server on 127.0.0.1 and a free port, serving two zones from the test's own folder: "example.test",
// whose transfer is allowed, and "refused.test", whose transfer is refused. It never recurses and never asks
// anyone else.
class NamedPeer
{
public:
    NamedPeer();

    // One more zone to serve, with transfers allowed; before start().
    bool addZone(const QString& zone, const QByteArray& text);
    // Starts the server and waits until it answers; false with the reason in error() otherwise.
    bool start();
    quint16 port() const { return m_port; }
    QString error() const { return m_error; }

    static bool available();

private:
    QTemporaryDir m_dir;
    NamedProcess m_named;
    quint16 m_port = 0;
    QString m_error;
    QString m_extraZones;
};
