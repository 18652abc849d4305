#include "servedserver.h"

#include "platform/settingsstore.h"
#include "support/loopback.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cerrno>
#include <csignal>

ServedServer::ServedServer(const QString& folder, const QString& name) : m_folder(folder), m_name(name) {}

ServedServer::~ServedServer()
{
    const qint64 pid = namedProcess();
    if (pid > 0) {
        ::kill(pid_t(pid), SIGTERM);
        for (int i = 0; i < 100 && processAlive(pid); ++i)
            QThread::msleep(50);
    }
}

bool ServedServer::setSetting(const QString& section, const QString& name, const QString& value)
{
    SettingsStore store(settingsFile());
    store.setText(section, name, value);
    return store.sync(&m_error);
}

bool ServedServer::create(const QString& extraOptions)
{
    m_port = freeLoopbackPort();
    m_controlPort = freeLoopbackPort();
    if (m_port == 0 || m_controlPort == 0 || m_port == m_controlPort) {
        m_error = QStringLiteral("no free ports");
        return false;
    }
    if (!QDir().mkpath(configHome() + QStringLiteral("/Mervale")) || !openToNameServer(m_folder)) {
        m_error = QStringLiteral("the folders cannot be made");
        return false;
    }
    {
        SettingsStore store(settingsFile());
        store.setText(QStringLiteral("Initialization"), QStringLiteral("Control Program"),
                      QStringLiteral("quorvane-ndc"));
        store.setText(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address"),
                      QStringLiteral("hostmaster@example.com"));
        const QString section = QStringLiteral("BIND 9");
        store.setText(section, QStringLiteral("Address"), QStringLiteral("127.0.0.1"));
        store.setText(section, QStringLiteral("Port"), QString::number(m_port));
        store.setText(section, QStringLiteral("Control Port"), QString::number(m_controlPort));
        store.setText(section, QStringLiteral("Extra Options"), safeOptions() + extraOptions);
        if (!store.sync(&m_error))
            return false;
    }
    const CliRun added =
        cli({QStringLiteral("server"), QStringLiteral("add"), m_name, QStringLiteral("example.com"), m_folder});
    if (added.status != 0) {
        m_error = added.err;
        return false;
    }
    return true;
}

CliRun ServedServer::cli(const QStringList& arguments, const QString& answers) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_folder + QStringLiteral("/share"));
    process.setProcessEnvironment(env);
    QStringList globals{QStringLiteral("--serial"), QStringLiteral("2026120701")};
    if (!answers.isEmpty())
        globals << QStringLiteral("--answers") << answers;
    process.start(QStringLiteral(QUORVANE_CLI), globals + arguments);
    CliRun result;
    if (!process.waitForFinished(120000)) {
        result.err = QStringLiteral("quorvane-cli did not finish");
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

bool ServedServer::createZone(const QString& zone, const QStringList& options)
{
    const CliRun created =
        cli(QStringList{QStringLiteral("zone"), QStringLiteral("create"), bootFile(), zone} + options,
            QStringLiteral("all,all,all,all,all,all"));
    if (created.status != 0)
        m_error = created.err;
    return created.status == 0;
}

qint64 ServedServer::namedProcess() const
{
    QFile file(m_folder + QStringLiteral("/bind9/named.pid"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 pid = file.readAll().trimmed().toLongLong();
    return processAlive(pid) ? pid : 0;
}

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

bool openToNameServer(const QString& folder)
{
    // A temporary folder is its owner's alone; the name server reads its configuration and zones as another user.
    QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder))
        return false;
    while (!dir.isRoot()) {
        QFile::Permissions permissions = QFile::permissions(dir.path());
        if (!(permissions & QFile::ExeOther) &&
            !QFile::setPermissions(dir.path(), permissions | QFile::ExeOther | QFile::ReadOther | QFile::ExeGroup |
                                                   QFile::ReadGroup))
            return false;
        if (!dir.cdUp())
            break;
    }
    return true;
}
