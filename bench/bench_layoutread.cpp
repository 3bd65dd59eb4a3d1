// Reading a layout file as large as a settings-style file may be, against
// reading its bytes alone, side by side in one run. The layout read parses
// the file once for all of its 31 keys; parsing it once per key made it about
// 30 times slower.

#include "layout/layoutfile.h"
#include "platform/inifile.h"
#include "platform/safefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct LargeLayout {
    QTemporaryDir dir;
    QString fileName = dir.filePath(QStringLiteral("large.rbs"));

    LargeLayout() {
        // Short lines are the worst case: the most lines for the size.
        QByteArray bytes("[POS]\r\nAdWidthValue=700\r\n[OUTER]\r\nOBWidth=4\r\n[NOTES]\r\n");
        const QByteArray tail("[TEXT]\r\nTxtPadLeft=3\r\n");
        const QByteArray line("n=1\r\n");
        while (bytes.size() + line.size() + tail.size() <= IniFile::MaxFileSize)
            bytes += line;
        bytes += tail;
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the benchmark's layout file");
    }
};

LargeLayout& largeLayout() {
    static LargeLayout instance;
    return instance;
}

void readBytesOnly(benchmark::State& state) {
    QByteArray bytes;
    for (auto _ : state) {
        readWholeFile(largeLayout().fileName, bytes);
        benchmark::DoNotOptimize(bytes.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void readLayout(benchmark::State& state) {
    for (auto _ : state) {
        const Result<LayoutFileContent> content = layoutfile::read(largeLayout().fileName);
        benchmark::DoNotOptimize(content->layout.OBWidth.size());
    }
    state.SetBytesProcessed(state.iterations() * IniFile::MaxFileSize);
}

} // namespace

BENCHMARK(readBytesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(readLayout)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
