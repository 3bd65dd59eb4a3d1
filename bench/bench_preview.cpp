// The preview refresh against a bare browser's load of the same page from a
// file, in one run, on descriptions of about 10 KB, 1 MB and 10 MB. Each round
// takes every kind of refresh in turn, so a busy machine weighs on all alike:
//   whole       a layout change loaded whole through the program's page scheme
//   bare file   the same final page text loaded from a file by a bare browser
//   in place    a layout change applied to the shown page
//   first       the first change from the untouched default layout, in place
// Every end point waits until the browser has laid the page out (it reads the
// body's height). Then page generation after a layout change (the document's
// export kept) against after a document change (exported again), on a real
// document. Figures are medians with their range; ratios are taken within
// each round. Run offscreen:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
//   bench_preview [ROUNDS [ROUNDS_AT_10MB]]
// ROUNDS (default 15) for 10 KB and 1 MB; ROUNDS_AT_10MB (default 3, 0 skips
// that size).
#include "app/appstate.h"
#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/keptexport.h"
#include "layout/layout.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "platform/windows1252.h"
#include "ui/numberedit.h"
#include "ui/qtuserdialogs.h"
#include "web/previewbrowser.h"
#include "web/previewcontroller.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int warmUps = 1;
constexpr int loadTimeoutMs = 600000;

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

struct Spread {
    double median = 0, low = 0, high = 0;
};

Spread spread(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

/// Waits until the browser has computed the page's style and layout.
void laidOut(QWebEngineView& browser) {
    // An event loop of its own ends the moment the answer comes.
    QEventLoop loop;
    QTimer::singleShot(loadTimeoutMs, &loop,
                       [] { qFatal("no layout within %d ms", loadTimeoutMs); });
    browser.page()->runJavaScript(QStringLiteral("document.body.scrollHeight"),
                                  QWebEngineScript::ApplicationWorld,
                                  [&loop](const QVariant&) { loop.quit(); });
    loop.exec();
}

/// The time from `start` to the browser's load-finished and layout.
double msUntilLoaded(QWebEngineView& browser, const std::function<void()>& start) {
    QSignalSpy finished(&browser, &QWebEngineView::loadFinished);
    QElapsedTimer timer;
    timer.start();
    start();
    if (!finished.wait(loadTimeoutMs))
        qFatal("no load-finished within %d ms", loadTimeoutMs);
    laidOut(browser);
    return timer.nsecsElapsed() / 1e6;
}

/// The time from `start` to the preview's document-complete and layout.
double msUntilShown(PreviewController& preview, const std::function<void()>& start) {
    QSignalSpy completed(&preview, &PreviewController::documentCompleted);
    QElapsedTimer timer;
    timer.start();
    start();
    if (!completed.wait(loadTimeoutMs))
        qFatal("no document-complete within %d ms", loadTimeoutMs);
    laidOut(*preview.broPreview());
    return timer.nsecsElapsed() / 1e6;
}

struct Figures {
    std::vector<double> whole, bare, inPlace, first, wholeToBare, inPlaceToWhole, firstToWhole;
};

struct Bench {
    AppState state;
    QtUserDialogs dialogs{QStringLiteral("Vantrel")};
    LayoutPage page{state.layout, dialogs};
    PageGenerator generator{state.folders, state.layout.state(), state.publishing,
                            state.layout.layout()};
    PreviewController preview{state.publishing, page, generator, dialogs};
    QWebEngineView bare;
    QTemporaryDir folder;
    QByteArray document;
    int frameWidth = 0;

    Bench() {
        state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        preview.setReadyTimeLimit(loadTimeoutMs);
        generator.setDocumentExport([this] { return document; });
        page.resize(1000, 700);
        page.show();
        bare.resize(735, 660);
        bare.show();
        toDefaultLayout();
    }

    /// The untouched default layout, shown.
    void toDefaultLayout() {
        state.layout.setFile(QString(), QStringLiteral("Untitled.rbs"));
        state.layout.setLayout(Layout::withDefaults());
        state.layout.markSaved();
        page.UpdateComponents();
        msUntilShown(preview, [this] { page.buttons().btnPreview->click(); });
    }

    /// A layout change: the frame width typed.
    double layoutChange(bool inPlace) {
        preview.setInPlaceUpdates(inPlace);
        return msUntilShown(preview, [this] {
            page.controls().edtFW->setText(QString::number(++frameWidth % 2 + 5));
        });
    }

    double bareFileLoad() {
        const QString file = folder.filePath(QStringLiteral("page.html"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(windows1252::encode(preview.pageText())) < 0)
            qFatal("cannot write the page file");
        out.close();
        return msUntilLoaded(bare, [&] { bare.setUrl(QUrl::fromLocalFile(file)); });
    }

    Figures measure(const QByteArray& fragment, int rounds) {
        document = fragment;
        Figures f;
        for (int i = 0; i < warmUps + rounds; ++i) {
            toDefaultLayout();
            const double first = layoutChange(true);
            const double whole = layoutChange(false);
            const double bareLoad = bareFileLoad();
            const double inPlace = layoutChange(true);
            if (i < warmUps)
                continue;
            f.whole.push_back(whole);
            f.bare.push_back(bareLoad);
            f.inPlace.push_back(inPlace);
            f.first.push_back(first);
            f.wholeToBare.push_back(whole / bareLoad);
            f.inPlaceToWhole.push_back(inPlace / whole);
            f.firstToWhole.push_back(first / whole);
        }
        return f;
    }
};

void print(const char* what, const std::vector<double>& samples, const char* unit) {
    const Spread s = spread(samples);
    std::printf("  %-22s %10.2f %s [%.2f-%.2f]\n", what, s.median, unit, s.low, s.high);
}

void report(qsizetype size, int rounds, const Figures& f) {
    std::printf("page with a %lld-byte document, %d rounds\n", static_cast<long long>(size),
                rounds);
    print("whole refresh", f.whole, "ms");
    print("bare file load", f.bare, "ms");
    print("in place", f.inPlace, "ms");
    print("first from default", f.first, "ms");
    print("whole / bare file", f.wholeToBare, "x");
    print("in place / whole", f.inPlaceToWhole, "x");
    print("first / whole", f.firstToWhole, "x");
    std::fflush(stdout);
}

/// A real document of about `size` bytes of export, made of styled
/// paragraphs.
void fillDocument(EdDocument& document, qsizetype size) {
    QTextCursor cursor(document.textDocument());
    const QString text = QStringLiteral(
        "This handsome brass mantel clock has kept time on our mantelpiece for thirty years. ");
    qsizetype written = 0;
    while (written < size) {
        document.insertText(cursor, QStringLiteral("Antique clock"), 1);
        cursor.insertBlock();
        document.insertText(cursor, text, 0);
        document.insertText(cursor, QStringLiteral("Postage \u00A3 8.50."), 2);
        cursor.insertBlock();
        written += 400;
    }
}

/// Page generation with the document's export kept: after a layout change
/// (nothing to export) and after a document change (all exported again).
void generation(qsizetype size, int rounds) {
    AppState state;
    state.folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    state.layout.setLayout(Layout::withDefaults());
    PageGenerator generator{state.folders, state.layout.state(), state.publishing,
                            state.layout.layout()};
    EdDocument document;
    fillDocument(document, size);
    KeptExport kept;
    qsizetype exported = 0;
    generator.setDocumentExport([&] {
        return kept.get(document, true, [&] {
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            HtmlFragmentExporter(document).write(out);
            exported = out.data().size();
            return out.data();
        });
    });
    const auto timed = [&](const std::function<void()>& change) {
        change();
        QElapsedTimer timer;
        timer.start();
        const GeneratedPage made = generator.generate();
        if (made.memPage.isEmpty() || !made.error.isEmpty())
            qFatal("no page");
        return timer.nsecsElapsed() / 1e6;
    };
    QTextCursor end(document.textDocument());
    end.movePosition(QTextCursor::End);
    std::vector<double> layoutOnly, documentToo, ratio;
    for (int i = 0; i < rounds; ++i) {
        const double changed = timed([&] { document.insertText(end, QStringLiteral("x"), 0); });
        const double kept =
            timed([&] { state.layout.setText(&Layout::FWidth, QString::number(i % 2 + 5)); });
        documentToo.push_back(changed);
        layoutOnly.push_back(kept);
        ratio.push_back(kept / changed);
    }
    std::printf("generation, document exported to %lld bytes, %d rounds\n",
                static_cast<long long>(exported), rounds);
    print("after a document change", documentToo, "ms");
    print("after a layout change", layoutOnly, "ms");
    print("layout / document", ratio, "x");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int bigRounds = argc > 2 ? std::max(0, std::atoi(argv[2])) : 3;
    std::vector<std::pair<qsizetype, int>> sizes{{10 * 1024, rounds}, {1024 * 1024, rounds}};
    if (bigRounds > 0)
        sizes.push_back({10 * 1024 * 1024, bigRounds});
    {
        Bench bench;
        for (const auto& [size, count] : sizes) {
            const QByteArray fragment = documentFragment(size);
            report(fragment.size(), count, bench.measure(fragment, count));
        }
    }
    for (const auto& [size, count] : sizes)
        generation(size, count);
    return 0;
}
