// Export and save+load of a large document (200 pages of mixed text, 50
// tables, 20 pictures), each against a baseline on the same document in the
// same run: QTextDocument::toHtml() for the export, writing and reading the
// same number of bytes as a plain file for save+load. Prints the ratios last.
#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "platform/pictureplan.h"
#include "platform/safefile.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextTable>
#include <benchmark/benchmark.h>
#include <map>

namespace {

constexpr int kParagraphs = 200 * 12; // about twelve paragraphs a page
constexpr int kTables = 50;
constexpr int kPictures = 20;

DocPicture makePicture(int seed) {
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * seed) & 0xFF, (y + seed * 7) & 0xFF, (x ^ y) & 0xFF));
    }
    DocPicture picture;
    QBuffer buffer(&picture.bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, seed % 2 ? "PNG" : "JPEG");
    picture.format = seed % 2 ? "png" : "jpeg";
    picture.width = image.width();
    picture.height = image.height();
    picture.fileName = seed % 4 == 0 ? QStringLiteral("/pictures/item%1.png").arg(seed) : QString();
    return picture;
}

void fill(EdDocument& document) {
    TDocStyle& style = document.docStyle();
    TTextStyleInfo big;
    big.Size = 14;
    big.Style = TTextStyleInfo::fsBold;
    const int bigNo = style.TextStyles.findOrAppend(big);
    const QString sentence = QStringLiteral(
        "This vintage item is in excellent condition, with its original box and papers; "
        "shipping is \u00a35 within the country and the price includes insurance. ");
    QTextCursor cursor(document.textDocument());
    for (int i = 0; i < kParagraphs; ++i) {
        if (i > 0)
            cursor.insertBlock(style.blockFormat(i % 2), document.runFormat(0));
        document.insertText(cursor, QStringLiteral("Item %1: ").arg(i), i % 7 == 0 ? bigNo : 1);
        for (int s = 0; s < 2; ++s)
            document.insertText(cursor, sentence, s % 2 ? 3 : 0);
        if (i % 9 == 0)
            document.insertText(cursor, QStringLiteral("see the shop"), 4,
                                QStringLiteral("http://shop.example/%1").arg(i));
        if (i % (kParagraphs / kPictures) == 0)
            document.insertPicture(cursor, makePicture(i / (kParagraphs / kPictures) + 1));
        if (i % (kParagraphs / kTables) == kParagraphs / kTables / 2) {
            cursor.insertBlock();
            QTextTable* table = document.insertTable(cursor, 4, 3);
            for (int cell = 0; cell < 12; ++cell) {
                QTextCursor inCell = table->cellAt(cell / 3, cell % 3).firstCursorPosition();
                document.insertText(inCell, QStringLiteral("cell %1").arg(cell), cell % 3);
            }
            cursor.movePosition(QTextCursor::End);
        }
    }
}

EdDocument& largeDocument() {
    static EdDocument* document = [] {
        auto* built = new EdDocument;
        fill(*built);
        return built;
    }();
    return *document;
}

QTemporaryDir& scratch() {
    static QTemporaryDir folder;
    return folder;
}

void BM_ExportHtmlFragment(benchmark::State& state) {
    HtmlFragmentExporter exporter(largeDocument());
    exporter.picturesFolder = scratch().path();
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        exporter.write(buffer);
        benchmark::DoNotOptimize(bytes.data());
    }
}

// As the program exports for publishing: the document's pictures are
// planned on a server first, and the link handler asks the document for
// each link's target.
void BM_ExportHtmlFragmentWithHandlers(benchmark::State& state) {
    EdDocument& document = largeDocument();
    HtmlFragmentExporter exporter(document);
    exporter.picturesFolder = scratch().path();
    pictureplan::Input input;
    input.target = pictureplan::Target::Publish;
    input.document = HtmlFragmentExporter::documentPictures(document);
    input.servers.document = QStringLiteral("http://images.example/");
    input.unfiledFolder = scratch().path();
    const pictureplan::Plan plan = pictureplan::make(input);
    if (!pictureplan::saveUnfiledPictures(plan))
        qFatal("cannot keep the pictures");
    exporter.picturePlan = &plan;
    exporter.OnWriteHyperlink = [&document](int, const TCustomDocData& data, int itemNo,
                                            HtmlFragmentExporter::TEdSaveFormat, QString& target,
                                            QString& extras) {
        target = document.ItemLinkTarget(data, itemNo);
        extras = QStringLiteral("target=_blank");
    };
    for (auto _ : state) {
        const QString html = exporter.toHtml();
        benchmark::DoNotOptimize(html.data());
    }
}

void BM_Baseline_QtToHtml(benchmark::State& state) {
    for (auto _ : state) {
        const QString html = largeDocument().textDocument()->toHtml();
        benchmark::DoNotOptimize(html.data());
    }
}

void BM_SaveAndLoad(benchmark::State& state) {
    const QString fileName = scratch().filePath(QStringLiteral("large.vdoc"));
    for (auto _ : state) {
        VDocWriter::writeFile(largeDocument(), fileName);
        EdDocument loaded;
        if (!VDocReader::readFile(fileName, loaded))
            state.SkipWithError("the document did not load");
    }
}

void BM_Baseline_FileCopy(benchmark::State& state) {
    const QByteArray bytes = VDocWriter::write(largeDocument());
    const QString fileName = scratch().filePath(QStringLiteral("plain.bin"));
    for (auto _ : state) {
        writeFileAtomically(fileName, bytes);
        QByteArray read;
        readWholeFile(fileName, read);
        benchmark::DoNotOptimize(read.data());
    }
    state.counters["file_bytes"] = double(bytes.size());
}

BENCHMARK(BM_ExportHtmlFragment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtmlFragmentWithHandlers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_QtToHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_FileCopy)->Unit(benchmark::kMillisecond);

/// Remembers each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    largeDocument();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* measured, const char* baseline) {
        if (reporter.times.count(measured) && reporter.times.count(baseline))
            std::printf("%s / %s = %.2f\n", measured, baseline,
                        reporter.times[measured] / reporter.times[baseline]);
    };
    ratio("BM_ExportHtmlFragment", "BM_Baseline_QtToHtml");
    ratio("BM_ExportHtmlFragmentWithHandlers", "BM_Baseline_QtToHtml");
    ratio("BM_SaveAndLoad", "BM_Baseline_FileCopy");
    return 0;
}
