// Runs a fuzz target once over each file of its corpus, in the ordinary build: the inputs that found faults
// once, and the seeds, stay tested without the fuzzer. With --repeat N it goes over them N times more and says
// how much memory each pass of the second half kept; --max-kept BYTES makes more than that per pass a failure, so that
// a reader that keeps a little of every input (which a fuzzer's millions of runs turn into gigabytes) is caught here.
#include "fuzzsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <malloc.h>

namespace {

// Passes before the measured ones besides the first half: caches filled by the first inputs are no growth.
constexpr int kWarmUp = 10;

void replay(const QList<QByteArray>& inputs)
{
    for (const QByteArray& bytes : inputs)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

// The inputs with lines of their own for each pass, as a fuzzer's inputs are new every time: what a reader keeps
// by name or content (a cache that only grows) shows only with inputs it has not seen.
void replayVaried(const QList<QByteArray>& inputs, int pass)
{
    const QByteArray number = QByteArray::number(pass);
    const QByteArray lines = "\r\n[Pass" + number + "]\r\nKey" + number + "=Value" + number + "\r\n";
    for (const QByteArray& bytes : inputs) {
        const QByteArray varied = bytes + lines;
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(varied.constData()), size_t(varied.size()));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    LLVMFuzzerInitialize(&argc, &argv);
    int repeat = 0;
    qint64 maxKept = -1;
    QList<QByteArray> inputs;
    for (int i = 1; i < argc; ++i) {
        const QString given = QFile::decodeName(argv[i]);
        if (given == QLatin1String("--repeat") && i + 1 < argc) {
            repeat = QByteArray(argv[++i]).toInt();
            continue;
        }
        if (given == QLatin1String("--max-kept") && i + 1 < argc) {
            maxKept = QByteArray(argv[++i]).toLongLong();
            continue;
        }
        QStringList files;
        if (QFileInfo(given).isDir()) {
            QDirIterator it(given, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << given;
        }
        for (const QString& path : std::as_const(files)) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            inputs << file.readAll();
        }
    }
    replay(inputs);
    std::printf("%d inputs replayed\n", int(inputs.size()));
    if (inputs.isEmpty())
        return 1;
    if (repeat <= 0)
        return 0;
    // Memory taken once (a cache the library fills at some point) shows in the first half only; what grows with
    // every pass shows in both.
    for (int pass = 0; pass < kWarmUp + repeat; ++pass)
        replayVaried(inputs, pass);
    const size_t before = mallinfo2().uordblks;
    for (int pass = kWarmUp + repeat; pass < kWarmUp + 2 * repeat; ++pass)
        replayVaried(inputs, pass);
    const size_t after = mallinfo2().uordblks;
    const double kept = after > before ? double(after - before) / repeat : 0.0;
    std::printf("%d passes more: %.1f bytes kept per pass, peak memory %lld KB\n", repeat, kept, fuzzPeakMemoryKb());
    if (maxKept >= 0 && kept > double(maxKept)) {
        std::fprintf(stderr, "each pass kept %.1f bytes, more than %lld: memory grows with every input\n", kept,
                     maxKept);
        return 1;
    }
    return 0;
}
