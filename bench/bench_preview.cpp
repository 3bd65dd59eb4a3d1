// The preview refresh after a layout change, applied in place and loaded
// whole, measured from the change to the preview's document-complete; the
// whole load against loading the same final page text into a bare browser
// in the same process; and page generation alone. Each figure is the median
// of 50 runs, for a welcome-sized document and for one whose export is about
// 1 MB. Run offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" bench_preview
#include "app/appstate.h"
#include "layout/layout.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "ui/numberedit.h"
#include "ui/qtuserdialogs.h"
#include "web/previewbrowser.h"
#include "web/previewcontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int runs = 50;
constexpr int warmUps = 3;
constexpr int loadTimeoutMs = 60000;

/// A document fragment like the export of a listing: headings, paragraphs
/// with inline styles, a list, repeated up to `size` bytes.
QByteArray documentFragment(qsizetype size) {
    const QByteArray part =
        "<h2 style=\"text-align:center;color:#7A5C3A\">Antique brass mantel clock</h2>\r\n"
        "<p style=\"font-family:Verdana;font-size:10pt\">This handsome <b>brass mantel clock</b> "
        "has kept time on our mantelpiece for thirty years. The movement was cleaned and oiled "
        "last spring and it keeps excellent time.</p>\r\n"
        "<ul><li>Height 24 cm, width 18 cm</li><li>Eight-day movement, strikes the hours</li>"
        "<li>Key and pendulum included</li></ul>\r\n"
        "<p style=\"font-family:Verdana;font-size:10pt\">Postage \xA3"
        "8.50 within the UK.</p>\r\n";
    QByteArray fragment;
    while (fragment.size() < size)
        fragment += part;
    return fragment;
}

double medianMs(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

/// The time from `start` to the browser's load-finished.
double msUntilLoaded(QWebEngineView& browser, const std::function<void()>& start) {
    QSignalSpy finished(&browser, &QWebEngineView::loadFinished);
    QElapsedTimer timer;
    timer.start();
    start();
    if (!finished.wait(loadTimeoutMs))
        qFatal("no load-finished within %d ms", loadTimeoutMs);
    return timer.nsecsElapsed() / 1e6;
}

/// The time from `start` to the preview's document-complete.
double msUntilShown(PreviewController& preview, const std::function<void()>& start) {
    QSignalSpy completed(&preview, &PreviewController::documentCompleted);
    QElapsedTimer timer;
    timer.start();
    start();
    if (!completed.wait(loadTimeoutMs))
        qFatal("no document-complete within %d ms", loadTimeoutMs);
    return timer.nsecsElapsed() / 1e6;
}

struct Figures {
    double inPlace;
    double whole;
    double bareLoad;
    double generation;
};

struct Bench {
    AppState state;
    QtUserDialogs dialogs{QStringLiteral("Vantrel")};
    LayoutPage page{state.layout, dialogs};
    PageGenerator generator{state.folders, state.layout.state(), state.publishing,
                            state.layout.layout()};
    PreviewController preview{state.publishing, page, generator, dialogs};
    QWebEngineView bare;
    QByteArray document;
    int frameWidth = 0;

    Bench() {
        state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        state.layout.setFile(QString(), QStringLiteral("Untitled.rbs"));
        state.layout.setLayout(Layout::withDefaults());
        generator.setDocumentExport([this] { return document; });
        page.resize(1000, 700);
        page.show();
        bare.resize(735, 660);
        bare.show();
        page.UpdateComponents();
    }

    /// A layout change: the frame width typed.
    double layoutChange(bool inPlace) {
        preview.setInPlaceUpdates(inPlace);
        return msUntilShown(preview, [this] {
            page.controls().edtFW->setText(QString::number(++frameWidth % 2 + 5));
        });
    }

    Figures measure(const QByteArray& fragment) {
        document = fragment;
        Figures f{};
        // The kinds of refresh and the bare loads take turns, so a busy
        // machine weighs on all alike.
        std::vector<double> inPlace;
        std::vector<double> whole;
        std::vector<double> bareLoads;
        for (int i = 0; i < warmUps + runs; ++i) {
            const double loaded = layoutChange(false);
            const QString pageText = preview.pageText();
            const double bareLoad = msUntilLoaded(bare, [&] { bare.setHtml(pageText); });
            const double applied = layoutChange(true);
            if (i >= warmUps) {
                whole.push_back(loaded);
                bareLoads.push_back(bareLoad);
                inPlace.push_back(applied);
            }
        }
        f.inPlace = medianMs(inPlace);
        f.whole = medianMs(whole);
        f.bareLoad = medianMs(bareLoads);
        std::vector<double> samples;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            const GeneratedPage made = generator.generate();
            if (!made.error.isEmpty())
                qFatal("%s", qPrintable(made.error));
            if (made.pageText().isEmpty())
                qFatal("no page");
            samples.push_back(timer.nsecsElapsed() / 1e6);
        }
        f.generation = medianMs(samples);
        return f;
    }
};

void print(const char* name, qsizetype size, const Figures& f) {
    std::printf("%-18s %8lld bytes  in place %8.2f ms  whole %8.2f ms  bare load %8.2f ms  "
                "generation %7.3f ms\n",
                name, static_cast<long long>(size), f.inPlace, f.whole, f.bareLoad, f.generation);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bench bench;
    const QByteArray welcome = documentFragment(8 * 1024);
    const QByteArray large = documentFragment(1024 * 1024);
    const Figures small = bench.measure(welcome);
    const Figures big = bench.measure(large);
    std::printf("median of %d runs each\n", runs);
    print("welcome document", welcome.size(), small);
    print("1 MB document", large.size(), big);
    std::printf("ratio in place/whole: welcome %.2f, 1 MB %.2f\n", small.inPlace / small.whole,
                big.inPlace / big.whole);
    std::printf("ratio whole/bare load: welcome %.2f, 1 MB %.2f\n", small.whole / small.bareLoad,
                big.whole / big.bareLoad);
    return 0;
}
