#include "bind9/configcheck.h"

#include "bind9/serverexport.h"
#include "platform/platform.h"
#include "session/appstate.h"
#include "session/bind9settings.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <QThread>
#include <memory>

namespace {

// Lines that say all is well, repeat a problem already named with its file and line, or warn about what the
// program's own zone files always do (they carry no $TTL and take the SOA minimum).
bool isNoise(const QString& line)
{
    static const QRegularExpression loaded(QStringLiteral("^zone \\S+: loaded serial \\d+"));
    return line.isEmpty() || line == QLatin1String("OK") || loaded.match(line).hasMatch() ||
           line.endsWith(QLatin1String(": not loaded due to errors.")) || line.startsWith(QLatin1String("_default/")) ||
           line.endsWith(QLatin1String("no TTL specified; using SOA MINTTL instead"));
}

struct ToolRun
{
    QString program;
    QStringList arguments;
};

// Runs the tools, at most `parallel` at a time, and gathers the problem lines of those that failed (and of
// warnings of those that did not), each line once, in the order of the runs.
class ToolBatch
{
public:
    ToolBatch(QList<ToolRun> runs, QString workingDirectory, std::function<void(int)> progress)
        : m_runs(std::move(runs)), m_workingDirectory(std::move(workingDirectory)), m_progress(std::move(progress)),
          m_lines(m_runs.size())
    {
    }

    CheckReport run(int parallel)
    {
        if (m_runs.isEmpty())
            return m_report;
        for (int i = 0; i < parallel && m_next < m_runs.size(); ++i)
            startNext();
        m_loop.exec();
        QSet<QString> seen;
        for (const QStringList& lines : std::as_const(m_lines)) {
            for (const QString& line : lines) {
                if (!seen.contains(line)) {
                    seen.insert(line);
                    m_report.problems << line;
                }
            }
        }
        return m_report;
    }

private:
    void startNext()
    {
        const qsizetype index = m_next++;
        auto* process = new QProcess;
        process->setWorkingDirectory(m_workingDirectory);
        QObject::connect(process, &QProcess::finished, process, [this, process, index] { finished(process, index); });
        QObject::connect(process, &QProcess::errorOccurred, process, [this, process, index](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                finished(process, index);
        });
        process->start(m_runs.at(index).program, m_runs.at(index).arguments);
    }

    void finished(QProcess* process, qsizetype index)
    {
        const ToolRun& run = m_runs.at(index);
        if (process->error() == QProcess::FailedToStart) {
            m_lines[index] << QStringLiteral("%1 could not be started: %2").arg(run.program, process->errorString());
            m_report.passed = false;
        } else {
            const QString output = QString::fromLocal8Bit(process->readAllStandardError()) + QLatin1Char('\n') +
                                   QString::fromLocal8Bit(process->readAllStandardOutput());
            for (const QString& raw : output.split(QLatin1Char('\n'))) {
                const QString line = raw.trimmed();
                if (!isNoise(line))
                    m_lines[index] << line;
            }
            if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) {
                m_report.passed = false;
                if (m_lines.at(index).isEmpty())
                    m_lines[index] << QStringLiteral("%1 %2 failed without saying why.")
                                          .arg(run.program, run.arguments.join(QLatin1Char(' ')));
            }
        }
        process->deleteLater();
        ++m_done;
        if (m_progress)
            m_progress(int(m_done * 100 / m_runs.size()));
        if (m_next < m_runs.size())
            startNext();
        else if (m_done == m_runs.size())
            m_loop.quit();
    }

    const QList<ToolRun> m_runs;
    const QString m_workingDirectory;
    const std::function<void(int)> m_progress;
    QList<QStringList> m_lines;
    CheckReport m_report;
    QEventLoop m_loop;
    qsizetype m_next = 0;
    qsizetype m_done = 0;
};

} // namespace

CheckReport checkConfiguration(const QString& configFile, const QStringList& zones, const QStringList& zoneFiles,
                               const QString& workingDirectory, const std::function<void(int)>& progress)
{
    QList<ToolRun> runs{{bind9ToolPath(QStringLiteral("named-checkconf")), {QStringLiteral("-z"), configFile}}};
    const QString checkzone = bind9ToolPath(QStringLiteral("named-checkzone"));
    for (qsizetype i = 0; i < zones.size() && i < zoneFiles.size(); ++i)
        runs << ToolRun{checkzone,
                        {QStringLiteral("-k"), QStringLiteral("fail"), QStringLiteral("-i"), QStringLiteral("local"),
                         zones.at(i), zoneFiles.at(i)}};
    ToolBatch batch(runs, workingDirectory, progress);
    CheckReport report = batch.run(std::max(2, QThread::idealThreadCount()));
    report.zonesChecked = int(zones.size());
    return report;
}

ServerCheckReport checkLoadedServer(const AppState& state, const Platform& platform,
                                    const std::function<void(int)>& progress)
{
    // The catalog zone is left out: its file is written only when the server is served, and it is the export's own.
    const NamedConfExport exported = exportNamedConf(
        state.boot, loadedServerRequest(state, formOfMode(state.bind9.mode), QString(), platform.platformName()));
    ServerCheckReport result;
    result.leftOut = exported.leftOut;
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("quorvane-check-XXXXXX.conf")));
    if (!file.open() || file.write(exported.text.toUtf8()) != exported.text.toUtf8().size() || !file.flush()) {
        result.check.passed = false;
        result.check.problems << QStringLiteral("The configuration could not be written for its check: ") +
                                     file.errorString();
        return result;
    }
    result.check = checkConfiguration(file.fileName(), exported.primaryZones, exported.primaryFiles,
                                      state.zoneLists.datapath, progress);
    return result;
}

QStringList serverCheckLines(const ServerCheckReport& report)
{
    QStringList lines = report.check.problems;
    if (report.check.passed && report.check.problems.isEmpty())
        lines << QStringLiteral("No problem found: the configuration and its %1 primary zone file(s) load in BIND 9.")
                     .arg(report.check.zonesChecked);
    for (const QString& line : report.leftOut)
        lines << QStringLiteral("Left out: ") + line;
    return lines;
}
