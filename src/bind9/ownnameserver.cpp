#include "bind9/ownnameserver.h"

#include "bind9/nameserverprobe.h"
#include "bootfile/bootlines.h"
#include "namedconf/confsyntax.h"
#include "platform/filereplacement.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 30000;
constexpr int kStopMs = 30000;

bool processAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // A process number from an old process file may belong to another program by now.
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return true;
    return comm.readAll().trimmed() == "named";
}

// A log line without its time stamp ("07-Dec-2026 12:20:22.013 ").
QString messageOf(const QString& line)
{
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d-\\w{3}-\\d{4} \\d\\d:\\d\\d:\\d\\d\\.\\d+ "));
    QString message = line;
    return message.remove(stamp).trimmed();
}

QStringList logMessages(const QString& path)
{
    QStringList messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    for (const QString& line : QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'))) {
        const QString message = messageOf(line);
        if (!message.isEmpty())
            messages << message;
    }
    return messages;
}

bool isReady(const QStringList& messages)
{
    return messages.contains(QStringLiteral("running"));
}

// Why named gave up: the line before its last words, or the one before that when it only repeats the step.
std::optional<QString> fatalReason(const QStringList& messages)
{
    const qsizetype end = messages.indexOf(QStringLiteral("exiting (due to fatal error)"));
    if (end < 0)
        return std::nullopt;
    qsizetype at = end - 1;
    if (at > 0 && messages.at(at).startsWith(QLatin1String("loading configuration:")))
        --at;
    return at >= 0 ? messages.at(at) : QStringLiteral("named ended at once");
}

// The first primary zone named could not load, with its reason.
std::optional<QString> failedPrimary(const QStringList& messages, const QStringList& primaryZones)
{
    static const QRegularExpression failed(
        QStringLiteral("^zone (\\S+)/IN: loading from master file .* failed: (.*)$"));
    for (const QString& message : messages) {
        const QRegularExpressionMatch match = failed.match(message);
        if (!match.hasMatch())
            continue;
        for (const QString& zone : primaryZones) {
            if (zone.compare(match.captured(1), Qt::CaseInsensitive) == 0)
                return QStringLiteral("named runs, but the zone %1 did not load: %2").arg(zone, match.captured(2));
        }
    }
    return std::nullopt;
}

QString lastLine(const QByteArray& output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

} // namespace

QString namedUser()
{
    const char* name = "bind";
    if (::geteuid() != 0 || ::getpwnam(name) == nullptr)
        return QString();
    return QString::fromLatin1(name);
}

bool handOverFolder(const QString& path, const QString& user)
{
    const passwd* entry = ::getpwnam(user.toLocal8Bit().constData());
    return entry && ::chown(QFile::encodeName(path).constData(), entry->pw_uid, entry->pw_gid) == 0;
}

bool shareFolderWith(const QString& path, const QString& user)
{
    const passwd* entry = ::getpwnam(user.toLocal8Bit().constData());
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (!entry || ::stat(name.constData(), &info) != 0)
        return false;
    if (info.st_gid != entry->pw_gid && ::chown(name.constData(), uid_t(-1), entry->pw_gid) != 0)
        return false;
    return (info.st_mode & S_IRWXG) == S_IRWXG || ::chmod(name.constData(), (info.st_mode & 07777) | S_IRWXG) == 0;
}

bool waitUntil(const std::function<bool()>& test, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!test()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(50);
    }
    return true;
}

ControlResult runRndc(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(bind9ToolPath(program), arguments);
    if (!process.waitForStarted(10000))
        return ControlResult::failed(QStringLiteral("rndc could not be started: ") + process.errorString());
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(1000);
        return ControlResult::failed(
            QStringLiteral("rndc %1 got no answer within a minute.").arg(arguments.value(arguments.size() - 1)));
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return ControlResult();
    QString reason = lastLine(process.readAllStandardError());
    if (reason.isEmpty())
        reason = lastLine(process.readAllStandardOutput());
    if (reason.isEmpty())
        reason = QStringLiteral("rndc %1 failed.").arg(arguments.join(QLatin1Char(' ')));
    return ControlResult::failed(reason);
}

OwnNameServer::OwnNameServer(Bind9Folder folder, Bind9Settings settings)
    : m_folder(std::move(folder)), m_settings(std::move(settings))
{
}

std::optional<qint64> OwnNameServer::runningProcess() const
{
    QFile file(m_folder.pidFile());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const qint64 pid = file.readAll().trimmed().toLongLong(&ok);
    if (!ok || !processAlive(pid))
        return std::nullopt;
    return pid;
}

ControlResult OwnNameServer::ensureKey() const
{
    if (!QDir().mkpath(m_folder.path()))
        return ControlResult::failed(QStringLiteral("The folder %1 could not be made.").arg(m_folder.path()));
    if (!QFile::exists(m_folder.keyFile())) {
        QStringList arguments{QStringLiteral("-a"), QStringLiteral("-k"), Bind9Folder::keyName(), QStringLiteral("-c"),
                              m_folder.keyFile()};
        if (const QString user = namedUser(); !user.isEmpty())
            arguments << QStringLiteral("-u") << user;
        QProcess confgen;
        confgen.start(bind9ToolPath(QStringLiteral("rndc-confgen")), arguments);
        if (!confgen.waitForFinished(60000) || confgen.exitStatus() != QProcess::NormalExit ||
            confgen.exitCode() != 0 || !QFile::exists(m_folder.keyFile()))
            return ControlResult::failed(QStringLiteral("The control key could not be made with rndc-confgen: ") +
                                         (confgen.error() == QProcess::FailedToStart
                                              ? confgen.errorString()
                                              : lastLine(confgen.readAllStandardError())));
    }
    QFile key(m_folder.keyFile());
    if (!key.open(QIODevice::ReadOnly))
        return ControlResult::failed(
            QStringLiteral("The control key %1 cannot be read: %2").arg(m_folder.keyFile(), key.errorString()));
    // rndc reads its key and where to reach the name server from a file of its own; it holds the secret, so only
    // its owner may read it.
    const QByteArray config = key.readAll() + "\noptions {\n    default-key " +
                              confString(Bind9Folder::keyName()).toLatin1() + ";\n    default-server 127.0.0.1;\n" +
                              "    default-port " + QByteArray::number(m_settings.controlPort) + ";\n};\n";
    // It holds the key: it is the owner's alone from its first byte on.
    FileReplacement file(m_folder.rndcConfigFile());
    file.setMode(0600);
    if (file.open())
        file.write(config);
    if (const FileWriteResult written = file.commit(); !written.ok)
        return ControlResult::failed(QStringLiteral("The file ") + written.errorText);
    return ControlResult();
}

ControlResult OwnNameServer::start(const QStringList& primaryZones, const QString& dataDirectory) const
{
    QStringList arguments{QStringLiteral("-g"), QStringLiteral("-c"), m_folder.configFile()};
    if (const QString user = namedUser(); !user.isEmpty()) {
        // named gives up root before it reads anything; its own files go into a folder it may write.
        if (!handOverFolder(m_folder.path(), user) || !shareFolderWith(dataDirectory, user))
            return ControlResult::failed(QStringLiteral("The folders %1 and %2 could not be opened to the user %3.")
                                             .arg(m_folder.path(), dataDirectory, user));
        arguments << QStringLiteral("-u") << user;
    }
    QFile::remove(m_folder.pidFile());
    QProcess process;
    process.setProgram(bind9ToolPath(m_settings.namedProgram));
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(m_folder.logFile());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return ControlResult::failed(
            QStringLiteral("named could not be started (%1): %2").arg(process.program(), process.errorString()));
    return waitForStart(pid, primaryZones);
}

ControlResult OwnNameServer::waitForStart(qint64 pid, const QStringList& primaryZones) const
{
    QStringList messages;
    const bool settled = waitUntil(
        [&] {
            messages = logMessages(m_folder.logFile());
            return isReady(messages) || fatalReason(messages) || !processAlive(pid);
        },
        kStartMs);
    if (const std::optional<QString> reason = fatalReason(messages))
        return ControlResult::failed(QStringLiteral("named could not start: ") + *reason);
    if (!settled || !isReady(messages)) {
        if (processAlive(pid))
            ::kill(pid_t(pid), SIGTERM);
        return ControlResult::failed(settled
                                         ? QStringLiteral("named ended at once; its log is %1.").arg(m_folder.logFile())
                                         : QStringLiteral("named was not ready within %1 seconds; its log is %2.")
                                               .arg(kStartMs / 1000)
                                               .arg(m_folder.logFile()));
    }
    const QString zone = primaryZones.isEmpty() ? QStringLiteral(".") : primaryZones.first();
    // A port another program holds leaves named running without listening, and that other program might be the
    // one that answers below.
    const bool portTaken = std::any_of(messages.cbegin(), messages.cend(), [](const QString& message) {
        return message.contains(QLatin1String("address in use"));
    });
    if (portTaken || !nameServerAnswers(m_settings.queryAddress(), m_settings.port, zone, 3000)) {
        // A name server that could not open its port keeps running without answering anyone.
        ::kill(pid_t(pid), SIGTERM);
        waitUntil([pid] { return !processAlive(pid); }, kStopMs);
        QString hint;
        for (const QString& message : std::as_const(messages)) {
            if (message.contains(QLatin1String("address in use")) || message.contains(QLatin1String("failed"))) {
                hint = QStringLiteral(": ") + message;
                break;
            }
        }
        return ControlResult::failed(QStringLiteral("named does not answer at %1 port %2%3")
                                         .arg(m_settings.queryAddress())
                                         .arg(m_settings.port)
                                         .arg(hint));
    }
    if (const std::optional<QString> failed = failedPrimary(messages, primaryZones))
        return ControlResult::failed(*failed);
    return ControlResult();
}

ControlResult OwnNameServer::stop() const
{
    const std::optional<qint64> pid = runningProcess();
    if (!pid)
        return ControlResult::failed(QStringLiteral("The name server of this server is not running."));
    if (const ControlResult stopped = rndc({QStringLiteral("stop")}); !stopped.ok)
        return stopped;
    if (!waitUntil([&pid] { return !processAlive(*pid); }, kStopMs))
        return ControlResult::failed(QStringLiteral("named (process %1) was still running %2 seconds after rndc stop.")
                                         .arg(*pid)
                                         .arg(kStopMs / 1000));
    return ControlResult();
}

ControlResult OwnNameServer::rndc(const QStringList& arguments) const
{
    return runRndc(m_settings.rndcProgram, QStringList{QStringLiteral("-c"), m_folder.rndcConfigFile()} + arguments);
}
