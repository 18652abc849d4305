#include "ftppeer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>


namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The session runs as the unprivileged ftp user, which must be able to reach the files; the anonymous root
// itself must not be writable by it.
void openUp(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                    QFileDevice::ExeOther);
}

} // namespace

VsftpdPeer::~VsftpdPeer()
{
    stop();
}

bool VsftpdPeer::start(const QList<std::pair<QString, QByteArray>>& files, QString* error)
{
    m_dir = std::make_unique<QTemporaryDir>();
    openUp(m_dir->path());
    const QString root = m_dir->filePath(QStringLiteral("root"));
    const QString empty = m_dir->filePath(QStringLiteral("empty"));
    QDir().mkpath(root);
    QDir().mkpath(empty);
    openUp(root);
    for (const auto& [path, bytes] : files) {
        const QString target = QDir(root).filePath(path);
        writeFile(target, bytes);
        for (QString folder = QFileInfo(target).absolutePath(); folder.startsWith(root) && folder != root;
             folder = QFileInfo(folder).absolutePath())
            openUp(folder);
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ReadOther);
    }
    m_port = freeLoopbackPort();
    const int passive = freeLoopbackPort();
    const QString config = QStringLiteral(
                               "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=%1\nbackground=NO\n"
                               "anonymous_enable=YES\nno_anon_password=NO\nanon_root=%2\nlocal_enable=NO\n"
                               "write_enable=NO\npasv_enable=YES\npasv_address=127.0.0.1\npasv_min_port=%3\n"
                               "pasv_max_port=%3\nconnect_from_port_20=NO\nsecure_chroot_dir=%4\n"
                               "seccomp_sandbox=NO\nvsftpd_log_file=%5\nxferlog_enable=YES\n"
                               "xferlog_std_format=NO\nlog_ftp_protocol=YES\n")
                               .arg(m_port)
                               .arg(root)
                               .arg(passive)
                               .arg(empty, m_dir->filePath(QStringLiteral("vsftpd.log")));
    const QString configFile = m_dir->filePath(QStringLiteral("vsftpd.conf"));
    writeFile(configFile, config.toLatin1());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("/usr/sbin/vsftpd"), {configFile});
    if (!m_process.waitForStarted()) {
        if (error)
            *error = m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (probe.waitForConnected(200) && probe.waitForReadyRead(1000) && probe.readAll().startsWith("220"))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        QThread::msleep(50);
    }
    if (error)
        *error = QStringLiteral("vsftpd did not answer: ") + QString::fromLocal8Bit(m_process.readAll());
    return false;
}

void VsftpdPeer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString VsftpdPeer::log() const
{
    QFile file(m_dir ? m_dir->filePath(QStringLiteral("vsftpd.log")) : QString());
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}
