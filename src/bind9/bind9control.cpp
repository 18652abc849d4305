#include "bind9/bind9control.h"

#include "bind9/bind9folder.h"
#include "bind9/confcontrol.h"
#include "bind9/configcheck.h"
#include "bind9/ownnameserver.h"
#include "bind9/serverexport.h"
#include "bind9/settingscheck.h"
#include "bootfile/bootlines.h"
#include "namedconf/conffiles.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/platform.h"
#include "session/appstate.h"
#include "zone/secondaryzoneentry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>

namespace {

constexpr int kViewMs = 30000;

// The line a finished dump or statistics file ends with.
QByteArray completionMark(NdcCommand command)
{
    return command == NdcCommand::DumpDb ? QByteArray("; Dump complete") : QByteArray("--- Statistics Dump ---");
}

// The file is written by the name server's user, who could put a link or a pipe in its place.
int markCount(const QString& path, NdcCommand command)
{
    const FileReadResult read = readWholeFile(path, ReadLimit::kListing, FinalLinks::Refuse);
    return read.ok() ? int(read.bytes->count(completionMark(command))) : 0;
}

ControlResult systemRefusal()
{
    return ControlResult::failed(
        QStringLiteral("The name server is the system's (BIND 9 mode \"system\"): start and stop it with the service "
                       "manager; Quorvane only reloads it."));
}

// A value of the system's configuration as named-checkconf prints it; the fallback when it sets none.
QString configValue(const QString& printed, const QString& name, const QString& fallback)
{
    const QRegularExpression pattern(
        QStringLiteral("\\n\\s*%1\\s+\"([^\"]*)\";").arg(QRegularExpression::escape(name)));
    const QRegularExpressionMatch match = pattern.match(printed);
    return match.hasMatch() ? match.captured(1) : fallback;
}

} // namespace

QString bootFileVariable()
{
    return QStringLiteral("QUORVANE_BOOT_FILE");
}

QString serverVariable()
{
    return QStringLiteral("QUORVANE_SERVER");
}

QStringList controlEnvironment(const QString& bootFile, const QString& identifier)
{
    return {bootFileVariable() + QLatin1Char('=') + bootFile, serverVariable() + QLatin1Char('=') + identifier};
}

Bind9Control::Bind9Control(const AppState& state, const Platform& platform) : m_state(state), m_platform(platform) {}

bool Bind9Control::systemMode() const
{
    return m_state.bind9.mode == Bind9Settings::Mode::System;
}

QString Bind9Control::configTarget() const
{
    return systemMode() ? m_state.bind9.zonesFile : Bind9Folder(m_state.boot.bootDirectory).configFile();
}

ControlResult Bind9Control::run(NdcCommand command)
{
    if (m_state.conf.isLoaded())
        return runOnConfServer(command);
    // Nothing is served from settings that are none; a running name server can still be stopped and asked.
    const bool serves = command == NdcCommand::Start || command == NdcCommand::Reload || command == NdcCommand::Restart;
    if (const QString refusal = bind9SettingsRefusal(m_state.bind9); serves && !refusal.isEmpty())
        return ControlResult::failed(refusal);
    switch (command) {
    case NdcCommand::Start:
        return start();
    case NdcCommand::Stop:
        return stop();
    case NdcCommand::Reload:
        return reload();
    case NdcCommand::Restart:
        return restart();
    case NdcCommand::DumpDb:
    case NdcCommand::Stats:
        return view(command);
    }
    return ControlResult::failed(QStringLiteral("Unknown command."));
}

ControlResult Bind9Control::runOnConfServer(NdcCommand command)
{
    switch (command) {
    case NdcCommand::Start:
    case NdcCommand::Stop:
        return ControlResult::failed(
            QStringLiteral("The name server of %1 is the system's: start and stop it with the service manager; "
                           "Quorvane only reloads it.")
                .arg(m_state.conf.confFile));
    case NdcCommand::Reload:
    case NdcCommand::Restart:
        if (const ControlResult checked = checkConfServer(m_state); !checked.ok)
            return checked;
        if (const ControlResult reconfigured = rndc({QStringLiteral("reconfig")}); !reconfigured.ok)
            return reconfigured;
        return rndc({QStringLiteral("reload")});
    case NdcCommand::DumpDb:
    case NdcCommand::Stats:
        break;
    }
    const NdcTarget target{ManagedServer{m_state.pendingServerId, m_state.conf.confFile}, m_state.defaultos};
    return systemView(command, ndcOutputFile(command, target, m_platform.platformName()));
}

QStringList Bind9Control::secondaryFiles() const
{
    QStringList files;
    for (const QString& entry : m_state.boot.secondaryEntries) {
        if (const std::optional<SecondaryZoneEntry> secondary = SecondaryZoneEntry::parse(entry))
            files << secondary->file;
    }
    for (const QString& line : m_state.boot.secondaryReverseLines) {
        const QStringList fields = fieldsOf(line.section(QLatin1Char(';'), 0, 0));
        if (fields.size() >= 4)
            files << fields.last();
    }
    return files;
}

FileWriteResult Bind9Control::writeConfiguration(const QString& path, const QString& text) const
{
    FileReplacement file(path);
    // The name server reads it after giving up root.
    file.setMode(0644);
    if (file.open())
        file.write(text.toUtf8());
    return file.commit();
}

ControlResult Bind9Control::applyConfiguration()
{
    QString workingDirectory;
    if (!systemMode()) {
        const OwnNameServer server(Bind9Folder(m_state.boot.bootDirectory), m_state.bind9);
        if (const ControlResult key = server.ensureKey(); !key.ok)
            return key;
        // Run by root, the name server runs as a user that may write only the folders named for it.
        if (const QString user = namedUser(); !user.isEmpty()) {
            const QString datapath = m_state.zoneLists.datapath;
            if (const QString failed = prepareSecondaries(datapath, secondaryFiles(), user); !failed.isEmpty())
                return ControlResult::failed(failed);
            workingDirectory = secondariesFolder(datapath);
        }
    }
    const ServerExport exported =
        exportLoadedServer(m_state, formOfMode(m_state.bind9.mode), m_state.bind9.catalogZone, m_platform);
    if (!exported.errorText.isEmpty())
        return ControlResult::failed(exported.errorText);
    m_primaryZones = exported.conf.primaryZones;
    const QString target = configTarget();
    const QString candidate = target + QStringLiteral(".new");
    QDir().mkpath(QFileInfo(target).absolutePath());
    // Checked in the form that names the files as the data directory holds them, so that what the check finds
    // wrong names them so too.
    if (const FileWriteResult written = writeConfiguration(candidate, exported.conf.text); !written.ok)
        return ControlResult::failed(QStringLiteral("The configuration ") + written.errorText);
    const CheckReport report = checkConfiguration(candidate, exported.conf.primaryZones, exported.conf.primaryFiles,
                                                  m_state.zoneLists.datapath);
    if (!report.passed) {
        QFile::remove(candidate);
        const qsizetype more = report.problems.size() - 1;
        return ControlResult::failed(
            QStringLiteral("The configuration fails its check: ") + report.problems.value(0) +
            (more > 0 ? QStringLiteral(" (and %1 more; see Check Server)").arg(more) : QString()));
    }
    // The same configuration for a name server that works in the secondaries' folder: the same statements, the
    // other files by their full paths.
    if (!workingDirectory.isEmpty()) {
        NamedConfRequest request =
            loadedServerRequest(m_state, NamedConfForm::Whole, m_state.bind9.catalogZone, m_platform.platformName());
        request.workingDirectory = workingDirectory;
        if (const FileWriteResult written = writeConfiguration(candidate, exportNamedConf(m_state.boot, request).text);
            !written.ok) {
            QFile::remove(candidate);
            return ControlResult::failed(QStringLiteral("The configuration ") + written.errorText);
        }
    }
    if (std::rename(QFile::encodeName(candidate).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(candidate);
        return ControlResult::failed(QStringLiteral("The configuration %1 could not be put in place.").arg(target));
    }
    return ControlResult();
}

ControlResult Bind9Control::checkSystemZonesFile() const
{
    const QString zonesFile = QDir::cleanPath(QFileInfo(m_state.bind9.zonesFile).absoluteFilePath());
    // A zones file another server's export wrote holds that server's zones: writing this one's would take them
    // away from the name server.
    const FileReadResult held = readWholeFile(zonesFile, ReadLimit::kBootFile);
    if (held.ok()) {
        const QString firstLine = QString::fromLatin1(held.bytes->left(held.bytes->indexOf('\n')));
        const QString mark = QStringLiteral("// BIND 9 configuration made by Quorvane 2.0 from ");
        const QString owner = firstLine.startsWith(mark) ? firstLine.mid(mark.size()) : QString();
        if (!owner.isEmpty() && QFileInfo(owner) != QFileInfo(loadedBootFile(m_state)))
            return ControlResult::failed(
                QStringLiteral("The zones file %1 holds the zones of the server of %2; this server's zones would take "
                               "their place. Give this server a zones file of its own: quorvane-cli server settings "
                               "%3 \"Zones File=FILE\".")
                    .arg(zonesFile, owner, m_state.servername));
    }
    ConfFileSet system;
    QString error;
    if (!system.read(m_state.bind9.systemConfig, &error))
        return ControlResult::failed(QStringLiteral("The system's configuration cannot be read: ") + error);
    if (!system.includes(zonesFile)) {
        const QString commented = system.commentedInclude(zonesFile);
        return ControlResult::failed(
            QStringLiteral("The system's configuration %1 does not include %2%3, so the name server would not serve "
                           "the zones. Add the line include \"%2\"; to it (Debian: to named.conf.local).")
                .arg(m_state.bind9.systemConfig, zonesFile,
                     commented.isEmpty() ? QString() : QStringLiteral(" (%1 names it in a comment)").arg(commented)));
    }
    return ControlResult();
}

ControlResult Bind9Control::start()
{
    if (systemMode())
        return systemRefusal();
    const Bind9Folder folder(m_state.boot.bootDirectory);
    const OwnNameServer server(folder, m_state.bind9);
    QString problem;
    if (const std::optional<qint64> pid = server.runningProcess(&problem))
        return ControlResult::failed(
            QStringLiteral("The name server of this server already runs (process %1).").arg(*pid));
    if (!problem.isEmpty())
        return ControlResult::failed(problem);
    if (const ControlResult applied = applyConfiguration(); !applied.ok)
        return applied;
    return launch(server);
}

ControlResult Bind9Control::launch(const OwnNameServer& server) const
{
    // The dump and statistics go where the operations page reads them, into folders the name server may write.
    const NdcTarget target{ManagedServer{m_state.pendingServerId, loadedBootFile(m_state)}, m_state.defaultos};
    const QString user = namedUser();
    for (const NdcCommand command : {NdcCommand::DumpDb, NdcCommand::Stats}) {
        const QString folderPath = QFileInfo(ndcOutputFile(command, target, m_platform.platformName())).absolutePath();
        QDir().mkpath(folderPath);
        if (!user.isEmpty() && !shareRunFolder(folderPath, user))
            return ControlResult::failed(
                QStringLiteral("The folder %1 could not be opened to the user %2.").arg(folderPath, user));
    }
    // Two name servers on one port would both start and split the queries between them.
    if (const QString taken = portInUse(m_state.bind9); !taken.isEmpty())
        return ControlResult::failed(taken);
    return server.start(m_primaryZones, m_state.zoneLists.datapath);
}

ControlResult Bind9Control::stop()
{
    if (systemMode())
        return systemRefusal();
    return OwnNameServer(Bind9Folder(m_state.boot.bootDirectory), m_state.bind9).stop();
}

ControlResult Bind9Control::ownProcess(std::optional<qint64>* pid) const
{
    QString problem;
    *pid = OwnNameServer(Bind9Folder(m_state.boot.bootDirectory), m_state.bind9).runningProcess(&problem);
    if (!problem.isEmpty())
        return ControlResult::failed(problem);
    return ControlResult();
}

ControlResult Bind9Control::reload()
{
    std::optional<qint64> pid;
    if (!systemMode()) {
        if (const ControlResult read = ownProcess(&pid); !read.ok)
            return read;
        if (!pid)
            return ControlResult::failed(QStringLiteral("The name server of this server is not running."));
    } else {
        if (const ControlResult checked = checkSystemZonesFile(); !checked.ok)
            return checked;
        if (const ControlResult access = checkNameServerAccess(m_state); !access.ok)
            return access;
    }
    if (const ControlResult applied = applyConfiguration(); !applied.ok)
        return applied;
    if (const ControlResult reconfigured = rndc({QStringLiteral("reconfig")}); !reconfigured.ok)
        return reconfigured;
    return rndc({QStringLiteral("reload")});
}

ControlResult Bind9Control::restart()
{
    if (systemMode())
        return reload();
    const OwnNameServer server(Bind9Folder(m_state.boot.bootDirectory), m_state.bind9);
    // Checked before the running name server is touched: a configuration that fails leaves it serving.
    if (const ControlResult applied = applyConfiguration(); !applied.ok)
        return applied;
    std::optional<qint64> pid;
    if (const ControlResult read = ownProcess(&pid); !read.ok)
        return read;
    if (pid) {
        if (const ControlResult stopped = server.stop(); !stopped.ok)
            return stopped;
    }
    return launch(server);
}

ControlResult Bind9Control::view(NdcCommand command)
{
    const NdcTarget target{ManagedServer{m_state.pendingServerId, loadedBootFile(m_state)}, m_state.defaultos};
    const QString pageFile = ndcOutputFile(command, target, m_platform.platformName());
    if (systemMode())
        return systemView(command, pageFile);
    std::optional<qint64> pid;
    if (const ControlResult read = ownProcess(&pid); !read.ok)
        return read;
    if (!pid)
        return ControlResult::failed(QStringLiteral("The name server of this server is not running."));
    QFile::remove(pageFile);
    const QStringList arguments = command == NdcCommand::DumpDb
                                      ? QStringList{QStringLiteral("dumpdb"), QStringLiteral("-all")}
                                      : QStringList{QStringLiteral("stats")};
    if (const ControlResult asked = rndc(arguments); !asked.ok)
        return asked;
    if (!waitUntil([&] { return markCount(pageFile, command) > 0; }, kViewMs))
        return ControlResult::failed(
            QStringLiteral("The name server did not finish %1 within %2 seconds.").arg(pageFile).arg(kViewMs / 1000));
    return ControlResult();
}

ControlResult Bind9Control::systemView(NdcCommand command, const QString& pageFile)
{
    QProcess print;
    const QString config = m_state.conf.isLoaded() ? m_state.conf.confFile : m_state.bind9.systemConfig;
    print.start(bind9ToolPath(QStringLiteral("named-checkconf")), {QStringLiteral("-p"), config});
    if (!print.waitForFinished(60000) || print.exitCode() != 0)
        return ControlResult::failed(QStringLiteral("The system's configuration %1 cannot be read.").arg(config));
    const QString printed = QLatin1Char('\n') + QString::fromLocal8Bit(print.readAllStandardOutput());
    const QDir directory(configValue(printed, QStringLiteral("directory"), QStringLiteral("/")));
    const QString written = directory.filePath(
        command == NdcCommand::DumpDb
            ? configValue(printed, QStringLiteral("dump-file"), QStringLiteral("named_dump.db"))
            : configValue(printed, QStringLiteral("statistics-file"), QStringLiteral("named.stats")));
    const QDateTime before = QFileInfo(written).lastModified();
    const int marksBefore = markCount(written, command);
    const QStringList arguments = command == NdcCommand::DumpDb
                                      ? QStringList{QStringLiteral("dumpdb"), QStringLiteral("-all")}
                                      : QStringList{QStringLiteral("stats")};
    if (const ControlResult asked = rndc(arguments); !asked.ok)
        return asked;
    // The dump is written anew, the statistics are appended to: either way a new mark ends the new part.
    const bool done = waitUntil(
        [&] {
            const int marks = markCount(written, command);
            return marks > marksBefore || (marks > 0 && QFileInfo(written).lastModified() != before);
        },
        kViewMs);
    if (!done)
        return ControlResult::failed(
            QStringLiteral("The name server did not finish %1 within %2 seconds.").arg(written).arg(kViewMs / 1000));
    QDir().mkpath(QFileInfo(pageFile).absolutePath());
    const FileReadResult source = readWholeFile(written, ReadLimit::kListing);
    if (!source.ok())
        return ControlResult::failed(source.errorText);
    if (const FileWriteResult copied = replaceFile(pageFile, *source.bytes); !copied.ok)
        return ControlResult::failed(copied.errorText);
    return ControlResult();
}

ControlResult Bind9Control::rndc(const QStringList& arguments) const
{
    if (m_state.conf.isLoaded())
        return confRndc(m_state, arguments);
    if (!systemMode())
        return OwnNameServer(Bind9Folder(m_state.boot.bootDirectory), m_state.bind9).rndc(arguments);
    return runRndc(m_state.bind9.rndcProgram,
                   QStringList{QStringLiteral("-k"), m_state.bind9.rndcKey, QStringLiteral("-s"),
                               m_state.bind9.queryAddress(), QStringLiteral("-p"),
                               QString::number(m_state.bind9.controlPort)} +
                       arguments);
}
