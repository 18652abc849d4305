#pragma once

#include "support/loopback.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real vsftpd on 127.0.0.1 and a free port, serving "/domain/named.root" (or any file) to anonymous users.
// Its log records each login with the password that was sent.
class VsftpdPeer
{
public:
    ~VsftpdPeer();

    // Starts the server with the files (path under the anonymous root, content). False with the reason when it
    // did not come up.
    bool start(const QList<std::pair<QString, QByteArray>>& files, QString* error = nullptr);
    void stop();

    int port() const { return m_port; }
    QString log() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    int m_port = 0;
};
