#include "net/lookupbatch.h"

#include "checks/domainname.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <optional>

namespace {

QStringList readLines(const QString& path)
{
    return readLatin1Lines(path, ReadLimit::kSmallFile).value_or(QStringList());
}

QStringList words(const QString& line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return line.split(blanks, Qt::SkipEmptyParts);
}

QString resolve(const QString& folder, const QString& name)
{
    return QFileInfo(name).isAbsolute() ? name : QDir(folder).filePath(name);
}

} // namespace

LookupBatch::LookupBatch(int port, QTextStream& diagnostics) : m_port(port), m_diagnostics(diagnostics) {}

int LookupBatch::runBatchFile(const QString& batchPath)
{
    QFile probe(batchPath);
    if (!probe.exists()) {
        m_diagnostics << "No batch file: " << batchPath << Qt::endl;
        return 1;
    }
    const QString folder = QFileInfo(batchPath).absolutePath();
    static const QRegularExpression piped(QStringLiteral("^type\\s+(.+?)\\s*\\|\\s*nslookup\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    int status = 0;
    for (const QString& raw : readLines(batchPath)) {
        const QString line = raw.trimmed();
        const QString lower = line.toLower();
        if (line.isEmpty() || lower.startsWith(QLatin1String("@echo")) || lower.startsWith(QLatin1String("rem ")))
            continue;
        const QRegularExpressionMatch match = piped.match(line);
        if (!match.hasMatch()) {
            m_diagnostics << "Not understood: " << line << Qt::endl;
            status = 1;
            continue;
        }
        const QString commandFile = resolve(folder, match.captured(1));
        if (!QFile::exists(commandFile)) {
            m_diagnostics << "No command file: " << commandFile << Qt::endl;
            status = 1;
            continue;
        }
        status |= runCommands(readLines(commandFile), folder);
    }
    return status;
}

int LookupBatch::runCommands(const QStringList& commands, const QString& folder)
{
    int status = 0;
    for (const QString& command : commands) {
        const QStringList parts = words(command);
        if (parts.isEmpty())
            continue;
        const QString verb = parts.first().toLower();
        if (verb == QLatin1String("exit"))
            break;
        if (verb == QLatin1String("server") && parts.size() == 2) {
            m_server = parts.at(1);
            continue;
        }
        if (verb == QLatin1String("ls")) {
            if (!list(parts.mid(1), folder))
                status = 1;
            continue;
        }
        m_diagnostics << "Not understood: " << command << Qt::endl;
        status = 1;
    }
    return status;
}

bool LookupBatch::list(const QStringList& arguments, const QString& folder)
{
    QString type = QStringLiteral("ANY");
    QString domain;
    QString target;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("-t") && i + 1 < arguments.size())
            type = arguments.at(++i).toUpper();
        else if (word == QLatin1String(">") && i + 1 < arguments.size())
            target = arguments.at(++i);
        else if (word.startsWith(QLatin1Char('>')) && word.size() > 1)
            target = word.mid(1);
        else if (domain.isEmpty())
            domain = word;
    }
    if (domain.isEmpty() || m_server.isEmpty()) {
        m_diagnostics << "A listing needs a server and a domain." << Qt::endl;
        return false;
    }
    // Both go to dig as arguments of their own: a domain beginning with "-" would be taken for an option.
    if (!isDomainName(domain) || m_server.startsWith(QLatin1Char('-'))) {
        m_diagnostics << "Not a domain name: " << domain << Qt::endl;
        return false;
    }
    const std::optional<QStringList> records = transfer(domain);
    if (!records)
        return false;
    QStringList lines{QLatin1Char('[') + m_server + QLatin1Char(']')};
    lines += filterRecords(*records, type);
    if (target.isEmpty()) {
        QTextStream out(stdout);
        for (const QString& line : std::as_const(lines))
            out << line << Qt::endl;
        return true;
    }
    return writeListing(resolve(folder, target), lines);
}

std::optional<QStringList> LookupBatch::transfer(const QString& domain)
{
    const QString dig = QStandardPaths::findExecutable(QStringLiteral("dig"));
    if (dig.isEmpty()) {
        m_diagnostics << "dig was not found." << Qt::endl;
        return std::nullopt;
    }
    QStringList arguments{QLatin1Char('@') + m_server};
    if (m_port > 0)
        arguments << QStringLiteral("-p") << QString::number(m_port);
    arguments << domain << QStringLiteral("AXFR") << QStringLiteral("+noall") << QStringLiteral("+answer")
              << QStringLiteral("+time=5") << QStringLiteral("+tries=1");
    QProcess process;
    process.start(dig, arguments);
    if (!process.waitForFinished(60000)) {
        m_diagnostics << "dig did not finish." << Qt::endl;
        return std::nullopt;
    }
    QStringList records;
    for (QByteArray line : process.readAllStandardOutput().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        records << QString::fromLatin1(line);
    }
    // A refused or failed transfer lists nothing, not even the start of authority.
    if (records.isEmpty()) {
        m_diagnostics << "The zone could not be listed: " << domain << Qt::endl;
        return std::nullopt;
    }
    return records;
}

QStringList LookupBatch::filterRecords(const QStringList& transferLines, const QString& type)
{
    QStringList records = transferLines;
    if (records.size() > 1 && records.last() == records.first())
        records.removeLast();
    if (type.compare(QLatin1String("ANY"), Qt::CaseInsensitive) == 0)
        return records;
    QStringList kept;
    for (const QString& record : std::as_const(records)) {
        const QStringList fields = words(record);
        if (fields.size() > 3 && fields.at(3).compare(type, Qt::CaseInsensitive) == 0)
            kept << record;
    }
    return kept;
}

bool LookupBatch::writeListing(const QString& path, const QStringList& lines)
{
    // Written whole and then renamed into place, so a reader polling for the file never sees half of it.
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    if (const FileWriteResult written = replaceFile(path, bytes); !written.ok) {
        m_diagnostics << written.errorText << Qt::endl;
        return false;
    }
    return true;
}
