// Merge throughput against a plain copy of the same bytes through the same
// device calls, measured side by side in one run. Prints MB/s (10^6 bytes of
// source per second) for each case and, last, the ratio merge/copy for the
// file-to-file and text-to-text cases, sparse and dense.

#include "mergesource.h"

#include "pagegen/bbmdatamerge.h"
#include "platform/windows1252.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr qint64 SourceSize = 64 * 1024 * 1024;

struct Sources {
    QTemporaryDir dir;
    QString sparseFile = dir.filePath(QStringLiteral("sparse.txt"));
    QString denseFile = dir.filePath(QStringLiteral("dense.txt"));
    QString destFile = dir.filePath(QStringLiteral("dest.txt"));
    QByteArray sparseBytes = mergesource::generate(SourceSize, mergesource::SparsePeriod);
    QByteArray denseBytes = mergesource::generate(SourceSize, mergesource::DensePeriod);
    QString sparseText = windows1252::decode(sparseBytes);
    QString denseText = windows1252::decode(denseBytes);

    Sources() {
        mergesource::writeFile(sparseFile, SourceSize, mergesource::SparsePeriod);
        mergesource::writeFile(denseFile, SourceSize, mergesource::DensePeriod);
    }
};

Sources& sources() {
    static Sources instance;
    return instance;
}

void copyFileToFile(benchmark::State& state) {
    for (auto _ : state)
        mergesource::copyFile(sources().sparseFile, sources().destFile);
    state.SetBytesProcessed(state.iterations() * SourceSize);
}

void copyTextToText(benchmark::State& state) {
    for (auto _ : state) {
        QBuffer source(&sources().sparseBytes);
        QBuffer dest;
        source.open(QIODevice::ReadOnly);
        dest.open(QIODevice::WriteOnly);
        mergesource::copyDevice(source, dest);
        benchmark::DoNotOptimize(dest.data().size());
    }
    state.SetBytesProcessed(state.iterations() * SourceSize);
}

// The code page conversions a text-to-text merge makes, alone.
void convertText(benchmark::State& state) {
    for (auto _ : state) {
        const QString text = windows1252::decode(windows1252::encode(sources().sparseText));
        benchmark::DoNotOptimize(text.size());
    }
    state.SetBytesProcessed(state.iterations() * SourceSize);
}

void mergeFileToFile(benchmark::State& state, const QString* sourceFile) {
    TBBMDataMerge merge;
    mergesource::setMergeVariables(merge);
    merge.SourceType = mmFile;
    merge.SourceFile = *sourceFile;
    merge.DestType = mmFile;
    merge.DestFile = sources().destFile;
    for (auto _ : state)
        merge.Execute();
    state.SetBytesProcessed(state.iterations() * SourceSize);
}

void mergeTextToText(benchmark::State& state, const QString* sourceText) {
    TBBMDataMerge merge;
    mergesource::setMergeVariables(merge);
    merge.setSourceText(*sourceText);
    for (auto _ : state) {
        merge.Execute();
        benchmark::DoNotOptimize(merge.DestText().size());
    }
    state.SetBytesProcessed(state.iterations() * SourceSize);
}

void registerBenchmarks() {
    Sources& s = sources();
    const auto add = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
    };
    add(benchmark::RegisterBenchmark("copy file to file", copyFileToFile));
    add(benchmark::RegisterBenchmark("merge file to file, sparse", mergeFileToFile, &s.sparseFile));
    add(benchmark::RegisterBenchmark("merge file to file, dense", mergeFileToFile, &s.denseFile));
    add(benchmark::RegisterBenchmark("copy text to text", copyTextToText));
    add(benchmark::RegisterBenchmark("convert text (code page both ways)", convertText));
    add(benchmark::RegisterBenchmark("merge text to text, sparse", mergeTextToText, &s.sparseText));
    add(benchmark::RegisterBenchmark("merge text to text, dense", mergeTextToText, &s.denseText));
}

// The console report, then one line of MB/s per case and the ratio.
class ThroughputReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_order.push_back(run.run_name.function_name);
                m_megabytesPerSecond[run.run_name.function_name] =
                    run.counters.at("bytes_per_second") / 1e6;
            }
        }
    }

    void printSummary() const {
        std::printf("\n");
        for (const std::string& name : m_order)
            std::printf("%-40s %9.1f MB/s\n", name.c_str(), m_megabytesPerSecond.at(name));
        const auto ratio = [this](const char* merge, const char* copy) {
            const auto merged = m_megabytesPerSecond.find(merge);
            const auto copied = m_megabytesPerSecond.find(copy);
            if (merged != m_megabytesPerSecond.end() && copied != m_megabytesPerSecond.end())
                std::printf("ratio %s / %s: %.2f\n", merge, copy, merged->second / copied->second);
        };
        ratio("merge file to file, sparse", "copy file to file");
        ratio("merge file to file, dense", "copy file to file");
        ratio("merge text to text, sparse", "copy text to text");
        ratio("merge text to text, dense", "copy text to text");
    }

private:
    std::vector<std::string> m_order;
    std::map<std::string, double> m_megabytesPerSecond;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerBenchmarks();
    ThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
