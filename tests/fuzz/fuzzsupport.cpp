#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>

QByteArray fuzzInput(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString fuzzFolder()
{
    // In memory where the system has such a folder: a fuzzer writes its input many thousand times a second.
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        const QString shm = QStringLiteral("/dev/shm");
        return std::make_unique<QTemporaryDir>(QFileInfo(shm).isDir() ? shm + QStringLiteral("/quorvane-fuzz-XXXXXX")
                                                                      : QString());
    }();
    return folder->path();
}

QString writeFuzzFile(const QString& relative, const QByteArray& bytes)
{
    const QString path = QDir(fuzzFolder()).filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

Prompter::Button FuzzPrompter::message(const QString&, const QString&, Buttons buttons, Icon)
{
    for (const Button button : {Button::No, Button::Cancel, Button::Ok}) {
        if (buttons.testFlag(button))
            return button;
    }
    return Button::Ok;
}

Prompter::Button FuzzPrompter::askQuestion(const QString&, bool)
{
    return Button::Ok;
}

std::optional<QString> FuzzPrompter::input(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<int> FuzzPrompter::pick(const QString&, const QStringList&)
{
    return std::nullopt;
}

std::optional<QString> FuzzPrompter::browseFolder(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> FuzzPrompter::openFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> FuzzPrompter::saveFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

long long fuzzPeakMemoryKb()
{
    struct rusage usage = {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // A reader that keeps something of every input shows in a long run's peak, whatever ends the run.
    std::atexit([] { std::fprintf(stderr, "peak memory: %lld KB\n", fuzzPeakMemoryKb()); });
    // Some of the program's parts ask the application for its name and folders.
    static QCoreApplication application(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    return 0;
}
