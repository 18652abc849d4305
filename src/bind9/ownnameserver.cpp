#include "bind9/ownnameserver.h"

#include "bind9/nameserverprobe.h"
#include "bootfile/bootlines.h"
#include "namedconf/confsyntax.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/systemtext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
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

// The log lies in a folder the name server's user may write: a link or a pipe in its place is not read.
QStringList logMessages(const QString& path)
{
    QStringList messages;
    const FileReadResult read = readWholeFile(path, ReadLimit::kListing, FinalLinks::Refuse);
    if (!read.ok())
        return messages;
    for (const QString& line : QString::fromLocal8Bit(*read.bytes).split(QLatin1Char('\n'))) {
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

// The highest process number Linux hands out.
constexpr qint64 kHighestProcess = 4194304;

std::optional<gid_t> groupOf(const QString& user)
{
    const passwd* entry = ::getpwnam(user.toLocal8Bit().constData());
    return entry ? std::optional<gid_t>(entry->pw_gid) : std::nullopt;
}

// Opens the log named writes for this start: a regular file of this program's own, emptied, never what a link or
// a pipe in its place leads to. The descriptor, or -1 with the reason.
int openLog(const QString& path, QString* problem)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0640);
    if (fd < 0) {
        *problem =
            errno == ELOOP
                ? QStringLiteral("The log %1 is a symbolic link, which Quorvane does not follow; remove it.").arg(path)
                : QStringLiteral("The log %1 cannot be written: %2").arg(path, systemError(errno));
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        *problem =
            QStringLiteral("The log %1 is not a regular file, so Quorvane does not write it; remove it.").arg(path);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// A control key of the form rndc-confgen writes, and nothing else: it is included into the name server's
// configuration, so whatever else it held would be read as configuration.
bool isControlKey(const QByteArray& text)
{
    static const QRegularExpression key(
        QStringLiteral("^\\s*key\\s+\"[A-Za-z0-9._-]+\"\\s*\\{\\s*algorithm\\s+[A-Za-z0-9-]+\\s*;\\s*"
                       "secret\\s+\"[A-Za-z0-9+/=]+\"\\s*;\\s*\\}\\s*;\\s*$"));
    return key.match(QString::fromLatin1(text)).hasMatch();
}

} // namespace

QString namedUser()
{
    const char* name = "bind";
    if (::geteuid() != 0 || ::getpwnam(name) == nullptr)
        return QString();
    return QString::fromLatin1(name);
}

bool shareRunFolder(const QString& path, const QString& user)
{
    const std::optional<gid_t> group = groupOf(user);
    if (!group)
        return false;
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool shared = ::fchown(fd, ::geteuid(), *group) == 0 && ::fchmod(fd, S_ISVTX | S_IRWXU | S_IRWXG) == 0;
    ::close(fd);
    return shared;
}

void withdrawDataDirectory(const QString& dataDirectory, const QString& user)
{
    const std::optional<gid_t> group = groupOf(user);
    const int fd = ::open(nativePath(dataDirectory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info;
    if (group && ::fstat(fd, &info) == 0 && info.st_gid == *group && (info.st_mode & S_IWGRP))
        ::fchmod(fd, info.st_mode & 07777 & ~mode_t(S_IWGRP));
    ::close(fd);
}

QString secondariesFolder(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("secondaries"));
}

QString prepareSecondaries(const QString& dataDirectory, const QStringList& secondaryFiles, const QString& user)
{
    const QString folder = secondariesFolder(dataDirectory);
    struct stat info;
    if (::lstat(nativePath(folder).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is no folder, so the secondary zones have nowhere to go.").arg(folder);
    if (!QDir().mkpath(folder) || !shareRunFolder(folder, user))
        return QStringLiteral("The folder %1 could not be opened to the user %2.").arg(folder, user);
    for (const QString& name : secondaryFiles) {
        if (name.isEmpty() || name.contains(QLatin1Char('/')))
            continue;
        const QByteArray entry = nativePath(QDir(dataDirectory).filePath(name));
        const QByteArray target = QByteArray("secondaries/") + QFile::encodeName(name);
        if (::lstat(entry.constData(), &info) == 0) {
            if (S_ISLNK(info.st_mode) || !S_ISREG(info.st_mode))
                continue;
            // A copy an earlier version let the name server keep in the data directory itself.
            if (::rename(entry.constData(), nativePath(QDir(folder).filePath(name)).constData()) != 0)
                return QStringLiteral("The copy %1 could not be moved into %2: %3")
                    .arg(QString::fromLocal8Bit(entry), folder, systemError(errno));
        }
        if (::symlink(target.constData(), entry.constData()) != 0 && errno != EEXIST)
            return QStringLiteral("The link %1 to the secondary zone's copy could not be made: %2")
                .arg(QString::fromLocal8Bit(entry), systemError(errno));
    }
    return QString();
}

std::optional<qint64> processFileNumber(const QString& path, QString* problem)
{
    const FileReadResult read = readWholeFile(path, ReadLimit::kProcessFile, FinalLinks::Refuse);
    if (!read.ok()) {
        if (problem && read.problem != FileReadResult::Problem::Missing)
            *problem = read.errorText;
        return std::nullopt;
    }
    // A few digits and a line end; anything else is no process number and is passed over.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,7}$"));
    const QString text = QString::fromLatin1(read.bytes->trimmed());
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 pid = text.toLongLong();
    if (pid < 2 || pid > kHighestProcess)
        return std::nullopt;
    return pid;
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

std::optional<qint64> OwnNameServer::runningProcess(QString* problem) const
{
    const std::optional<qint64> pid = processFileNumber(m_folder.pidFile(), problem);
    if (!pid || !processAlive(*pid))
        return std::nullopt;
    return pid;
}

ControlResult OwnNameServer::makeKey(const QString& user) const
{
    // Made in a folder of this process's own and only then put in place: the server folder is one the name
    // server's user may write, and rndc-confgen would write through a link put there meanwhile.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return ControlResult::failed(QStringLiteral("The control key could not be made: no temporary folder."));
    const QString made = scratch.filePath(QStringLiteral("rndc.key"));
    QProcess confgen;
    confgen.start(bind9ToolPath(QStringLiteral("rndc-confgen")),
                  {QStringLiteral("-a"), QStringLiteral("-k"), Bind9Folder::keyName(), QStringLiteral("-c"), made});
    if (!confgen.waitForFinished(60000) || confgen.exitStatus() != QProcess::NormalExit || confgen.exitCode() != 0 ||
        !QFile::exists(made))
        return ControlResult::failed(QStringLiteral("The control key could not be made with rndc-confgen: ") +
                                     (confgen.error() == QProcess::FailedToStart
                                          ? confgen.errorString()
                                          : lastLine(confgen.readAllStandardError())));
    const FileReadResult key = readWholeFile(made, ReadLimit::kKeyFile);
    if (!key.ok())
        return ControlResult::failed(key.errorText);
    FileReplacement file(m_folder.keyFile());
    // The name server reads it again as its own user when it reloads: through its group, never as the owner.
    const std::optional<gid_t> group = user.isEmpty() ? std::nullopt : groupOf(user);
    file.setMode(group ? 0640 : 0600, std::nullopt, group ? std::optional<unsigned>(*group) : std::nullopt);
    if (file.open())
        file.write(*key.bytes);
    if (const FileWriteResult written = file.commit(); !written.ok)
        return ControlResult::failed(QStringLiteral("The control key ") + written.errorText);
    return ControlResult();
}

ControlResult OwnNameServer::ensureKey() const
{
    const QString user = namedUser();
    if (!QDir().mkpath(m_folder.path()))
        return ControlResult::failed(QStringLiteral("The folder %1 could not be made.").arg(m_folder.path()));
    // Nothing this program writes there may be the name server user's to change.
    if (!user.isEmpty() && !shareRunFolder(m_folder.path(), user))
        return ControlResult::failed(
            QStringLiteral("The folder %1 could not be opened to the user %2.").arg(m_folder.path(), user));
    struct stat info;
    if (::lstat(nativePath(m_folder.keyFile()).constData(), &info) != 0) {
        if (const ControlResult made = makeKey(user); !made.ok)
            return made;
        ::lstat(nativePath(m_folder.keyFile()).constData(), &info);
    }
    // Read without following a link, and used only when it is a key and nothing else: its text goes into the
    // configuration, and what the name server says about it into messages.
    const FileReadResult key = readWholeFile(m_folder.keyFile(), ReadLimit::kKeyFile, FinalLinks::Refuse);
    if (!key.ok())
        return ControlResult::failed(QStringLiteral("The control key cannot be used: ") + key.errorText);
    if (!isControlKey(*key.bytes))
        return ControlResult::failed(QStringLiteral("The control key %1 is not a key as rndc-confgen makes it, so it "
                                                    "was not used; remove it to have a new one made.")
                                         .arg(m_folder.keyFile()));
    const std::optional<gid_t> group = user.isEmpty() ? std::nullopt : groupOf(user);
    if (group && (info.st_uid != ::geteuid() || info.st_gid != *group || (info.st_mode & 07777) != 0640)) {
        // A key an earlier version gave to the name server's user becomes this program's again, with its secret,
        // which a running name server still holds.
        FileReplacement owned(m_folder.keyFile());
        owned.setMode(0640, std::nullopt, *group);
        if (owned.open())
            owned.write(*key.bytes);
        if (const FileWriteResult written = owned.commit(); !written.ok)
            return ControlResult::failed(QStringLiteral("The control key ") + written.errorText);
    }
    // rndc reads its key and where to reach the name server from a file of its own; it holds the secret, so only
    // its owner may read it.
    const QByteArray config = *key.bytes + "\noptions {\n    default-key " +
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
        // named gives up root before it reads anything; its own files go into the folders it may write, and the
        // data directory stays out of its reach.
        if (!shareRunFolder(m_folder.path(), user))
            return ControlResult::failed(
                QStringLiteral("The folder %1 could not be opened to the user %2.").arg(m_folder.path(), user));
        withdrawDataDirectory(dataDirectory, user);
        arguments << QStringLiteral("-u") << user;
    }
    QFile::remove(m_folder.pidFile());
    QString problem;
    const int log = openLog(m_folder.logFile(), &problem);
    if (log < 0)
        return ControlResult::failed(problem);
    QProcess process;
    process.setProgram(bind9ToolPath(m_settings.namedProgram));
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    // Through the descriptor opened above: the name is in a folder the name server's user may write.
    process.setStandardErrorFile(QStringLiteral("/proc/self/fd/%1").arg(log), QIODevice::Append);
    qint64 pid = 0;
    const bool started = process.startDetached(&pid);
    ::close(log);
    if (!started)
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
    QString problem;
    const std::optional<qint64> pid = runningProcess(&problem);
    if (!problem.isEmpty())
        return ControlResult::failed(problem);
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
