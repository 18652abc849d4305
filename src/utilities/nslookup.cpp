#include "utilities/nslookup.h"

#include "checks/domainname.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/installlayout.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "utilities/utilityformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

const QString kBatch = QStringLiteral("nsbatch.bat");
const QString kCommand = QStringLiteral("command.txt");
const QString kOutput = QStringLiteral("output.txt");
const QString kInterpreterName = QStringLiteral("quorvane-nsbatch");
constexpr int kFirstTickMs = 2000;
constexpr int kTickMs = 1000;

void attention(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("Attention!"), text);
}

} // namespace

NsLookup::NsLookup(Prompter& prompter, const QString& folder, const QString& interpreter, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_folder(folder), m_interpreter(interpreter)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &NsLookup::tick);
}

NsLookup::~NsLookup()
{
    // A batch still running when the tab goes away has nobody left to read its listing.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->kill();
        process->waitForFinished(1000);
    }
}

QString NsLookup::defaultInterpreter(const Platform& platform)
{
    return installlayout::helperProgram(platform.programPath(), kInterpreterName);
}

bool NsLookup::lookup(const QString& server, const QString& domain, const QString& typeText, const QString& timeoutText)
{
    const QString blank = QStringLiteral(" ");
    if (server.isEmpty() || server == blank || domain.isEmpty() || domain == blank) {
        attention(m_prompter, QStringLiteral("You must enter a server and a domain to look up."));
        return false;
    }
    // Both are written into the command file as they stand: a line break in either would add commands of its
    // own, and a leading "-" would reach the lookup tool as an option.
    if (!isDomainName(domain)) {
        attention(m_prompter, QStringLiteral("%1 is not a domain name.").arg(domain));
        return false;
    }
    if (!isDomainName(server) && QHostAddress(server).isNull()) {
        attention(m_prompter, QStringLiteral("%1 is not a name server's name or address.").arg(server));
        return false;
    }
    const std::optional<int> seconds = wholeNumber(timeoutText);
    if (!seconds) {
        attention(m_prompter, QStringLiteral("The time-out must be a whole number of seconds."));
        return false;
    }
    QDir().mkpath(m_folder);
    if (!QFile::exists(filePath(kBatch)) &&
        !writeLines(kBatch, {QStringLiteral("@echo on"), QStringLiteral("type command.txt | nslookup")}))
        return false;
    QFile::remove(filePath(kOutput));
    if (typeText == QLatin1String("Select a Record Type")) {
        attention(m_prompter, QStringLiteral("You must first select a record type."));
        return false;
    }
    // The type is written into the command file as well: only a type's name, letters and digits, stays one word.
    static const QRegularExpression typeName(QStringLiteral("^[A-Za-z][A-Za-z0-9]{0,15}$"));
    const QString type = recordTypeOf(typeText);
    if (!typeName.match(type).hasMatch()) {
        attention(m_prompter, QStringLiteral("%1 is not a record type.").arg(typeText));
        return false;
    }
    QFile::remove(filePath(kCommand));
    if (!writeLines(kCommand, {QStringLiteral("server ") + server,
                               QStringLiteral("ls -t ") + type + blank + domain + QStringLiteral(" > output.txt"),
                               QStringLiteral("exit")}))
        return false;
    startBatch();
    m_countdown = *seconds;
    m_counting = true;
    m_timer.start(kFirstTickMs);
    return true;
}

void NsLookup::startBatch()
{
    // The batch runs beside the program; whether it writes a listing is all that matters, so its end is not
    // awaited. An interpreter that cannot be started writes nothing, which ends in the time-out like a listing
    // the name server refuses.
    auto* process = new QProcess(this);
    process->setWorkingDirectory(m_folder);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    QStringList arguments;
    if (m_port > 0)
        arguments << QStringLiteral("--port") << QString::number(m_port);
    arguments << filePath(kBatch);
    process->start(m_interpreter, arguments);
}

void NsLookup::tick()
{
    const int current = m_countdown;
    setLabel(countdownLabel() + QString::number(current));
    m_timer.stop();

    const FileReadResult output = readWholeFile(filePath(kOutput), ReadLimit::kListing);
    if (output.ok() && !output.bytes->isEmpty()) {
        QStringList lines;
        for (QByteArray line : output.bytes->split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            lines << QString::fromLatin1(line);
        }
        if (lines.size() > 1 && lines.last().isEmpty())
            lines.removeLast();
        lines.first().clear();
        m_result = lines.join(QLatin1Char('\n'));
        Q_EMIT resultChanged(m_result);
        endCountdown(true);
        return;
    }
    if (current <= 0) {
        attention(m_prompter, QStringLiteral("NS Lookup could not complete your request in the time allowed."));
        endCountdown(false);
        return;
    }
    setLabel(countdownLabel() + QString::number(current - 1));
    m_countdown = current - 1;
    m_timer.start(kTickMs);
}

void NsLookup::endCountdown(bool listed)
{
    m_counting = false;
    setLabel(idleLabel());
    QFile::remove(filePath(kCommand));
    Q_EMIT finished(listed);
}

void NsLookup::setLabel(const QString& label)
{
    m_label = label;
    Q_EMIT labelChanged(label);
}

QString NsLookup::filePath(const QString& name) const
{
    return QDir(m_folder).filePath(name);
}

bool NsLookup::writeLines(const QString& name, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    const FileWriteResult written = replaceFile(filePath(name), bytes);
    if (!written.ok)
        m_prompter.message(QStringLiteral("Error"), written.errorText, Prompter::Button::Ok, Prompter::Icon::Critical);
    return written.ok;
}
