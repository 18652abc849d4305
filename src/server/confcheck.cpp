#include "server/confcheck.h"

#include "namedconf/conffiles.h"
#include "namedconf/confsyntax.h"
#include "platform/filereplacement.h"
#include "session/bind9settings.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int kToolMs = 300000;

struct ToolOutput
{
    bool started = false;
    int exitCode = -1;
    QString output; // standard output and error together
};

ToolOutput runTool(const QStringList& arguments, const QString& workingDirectory)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setWorkingDirectory(workingDirectory);
    process.start(bind9ToolPath(QStringLiteral("named-checkconf")), arguments);
    ToolOutput result;
    result.started = process.waitForStarted();
    if (!result.started || !process.waitForFinished(kToolMs)) {
        process.kill();
        process.waitForFinished();
        result.output = process.errorString();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    return result;
}

// BIND's first line that says what is wrong: the lines that only report loaded zones are passed over.
QString firstProblem(const QString& output)
{
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString text = line.trimmed();
        if (text.isEmpty() ||
            (text.startsWith(QLatin1String("zone ")) && text.contains(QLatin1String(": loaded serial"))))
            continue;
        return text;
    }
    return output.trimmed();
}

// Every include statement of the statements, at any depth (an include may stand inside a view).
void collectIncludes(const QList<ConfStatement>& statements, QList<const ConfStatement*>& found)
{
    for (const ConfStatement& statement : statements) {
        if (statement.keyword() == QLatin1String("include") && statement.items.size() > 1)
            found << &statement;
        for (const ConfItem& item : statement.items) {
            if (item.kind == ConfItem::Kind::Block)
                collectIncludes(item.block, found);
        }
    }
}

// The text of the file with each include that names a staged file pointing at the staged copy.
QString pointIncludesAtCopies(const ConfFileSet& files, const QString& file, const QString& text,
                              const QMap<QString, QString>& copies)
{
    const ConfParse parse = parseConf(text);
    if (!parse.ok)
        return text;
    QList<const ConfStatement*> includes;
    collectIncludes(parse.statements, includes);
    QString out = text;
    // From the end, so that the earlier positions stay right.
    for (auto it = includes.crbegin(); it != includes.crend(); ++it) {
        const ConfItem& path = (*it)->items.at(1);
        const QString target = files.includeTarget(file, path.text);
        const auto copy = copies.constFind(target);
        if (copy != copies.constEnd())
            out.replace(path.begin, path.end - path.begin, confString(*copy));
    }
    return out;
}

} // namespace

ConfPrint printConfiguration(const QString& confFile)
{
    ConfPrint print;
    const ToolOutput run = runTool({QStringLiteral("-p"), confFile}, QFileInfo(confFile).absolutePath());
    if (!run.started) {
        print.refusal = QStringLiteral("named-checkconf could not be run: %1").arg(run.output);
        return print;
    }
    if (run.exitCode != 0) {
        print.refusal = firstProblem(run.output);
        return print;
    }
    print.ok = true;
    print.printed = run.output;
    return print;
}

ConfCheck checkWithChanges(const ConfFileSet& files, const QMap<QString, QString>& changed)
{
    ConfCheck check;
    QTemporaryDir stage;
    if (!stage.isValid()) {
        check.problem = QStringLiteral("No folder could be made to check the configuration in.");
        return check;
    }
    QMap<QString, QString> texts;
    for (const ConfFile& file : files.files())
        texts.insert(file.path, file.text);
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        texts.insert(it.key(), it.value());
    QMap<QString, QString> copies;
    int number = 0;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        copies.insert(it.key(), QDir(stage.path()).filePath(QStringLiteral("%1.conf").arg(number++)));
    const QString topFolder = QFileInfo(files.topFile()).absolutePath();
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        const FileWriteResult written =
            replaceFile(copies.value(it.key()), pointIncludesAtCopies(files, it.key(), it.value(), copies).toLatin1());
        if (!written.ok) {
            check.problem = QStringLiteral("The configuration could not be copied for its check: ") + written.errorText;
            return check;
        }
    }
    const ToolOutput run = runTool({QStringLiteral("-z"), copies.value(files.topFile())}, topFolder);
    if (!run.started) {
        check.problem = QStringLiteral("named-checkconf could not be run: %1").arg(run.output);
        return check;
    }
    if (run.exitCode == 0) {
        check.passed = true;
        return check;
    }
    QString problem = firstProblem(run.output);
    // BIND names the copies; the administrator knows the files.
    for (auto it = copies.cbegin(); it != copies.cend(); ++it)
        problem.replace(it.value(), it.key());
    check.problem = problem;
    return check;
}
