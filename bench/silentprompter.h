#pragma once

#include "platform/prompter.h"

#include <cstdio>
#include <cstdlib>

// The benchmarks run over well-formed data: any prompt is a failure of the benchmark, which ends it.
class SilentPrompter : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons, Icon) override
    {
        std::fprintf(stderr, "unexpected prompt: %s: %s\n", qPrintable(caption), qPrintable(text.left(200)));
        std::exit(1);
    }
    Button askQuestion(const QString&, bool) override { return Button::Cancel; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> pick(const QString&, const QStringList&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};
