#pragma once

#include "platform/prompter.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the input as bytes, a folder of the process's own to put it in, and a prompter
// that answers every question the way that asks no further one.
QByteArray fuzzInput(const uint8_t* data, size_t size);

// A folder for this process's files, made once and removed when the process ends.
QString fuzzFolder();

// The file at the relative path of the fuzz folder, holding the bytes; its folders are made as needed.
QString writeFuzzFile(const QString& relative, const QByteArray& bytes);

// The most memory the process has held so far, in kilobytes; a fuzz run prints it as it ends.
long long fuzzPeakMemoryKb();

class FuzzPrompter : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    Button askQuestion(const QString& text, bool offerAll) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial) override;
    std::optional<int> pick(const QString& caption, const QStringList& items) override;
    std::optional<QString> browseFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& directory, const QString& filter) override;
    std::optional<QString> saveFile(const QString& caption, const QString& directory, const QString& filter) override;
};

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
