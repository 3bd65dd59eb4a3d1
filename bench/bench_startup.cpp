// Start-up to the first paint of the main window, against a bare text editor
// window (startup_bare), each started as a new process, taking turns, in the
// same run; median of 50 each. Run offscreen or on a display:
//   QT_QPA_PLATFORM=offscreen bench_startup
// The program is started as it starts itself, in a process of this
// executable given VANTREL_BENCH_CHILD=program, in a temporary home folder.
// For reference, the same bare window is also started from this executable
// (VANTREL_BENCH_CHILD=bare), which loads the program's libraries: the share
// of the start-up that loading them takes. Last, the Layout page shown two
// seconds after the start (VANTREL_BENCH_CHILD=layout): the longest time the
// interface does not answer from the switch on, median of 10 starts.
#include "app/application.h"
#include "firstpaint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int runs = 50;
constexpr int warmUps = 3;
constexpr int timeoutMs = 60000;

double medianMs(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

/// Milliseconds from starting the program to its "painted" line.
double msUntilPainted(const QString& program, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {});
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(timeoutMs))
            qFatal("%s printed nothing", qPrintable(program));
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    if (process.readLine().trimmed() != "painted")
        qFatal("%s did not paint", qPrintable(program));
    process.waitForFinished(timeoutMs);
    return ms;
}

/// Shows the Layout page two seconds after the start and prints the longest
/// gap between the ticks of a 1 ms timer in the next three seconds.
void reportLayoutPageStall() {
    auto* ticks = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    auto longest = std::make_shared<qint64>(0);
    auto last = std::make_shared<qint64>(0);
    ticks->setInterval(1);
    QObject::connect(ticks, &QTimer::timeout, qApp, [=] {
        const qint64 now = clock->elapsed();
        *longest = std::max(*longest, now - *last);
        *last = now;
    });
    QTimer::singleShot(2000, qApp, [=] {
        QTabWidget* pages = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("T_FrmMain"))
                pages = window->findChild<QTabWidget*>();
        }
        if (!pages)
            qFatal("no pages");
        clock->start();
        *last = 0;
        ticks->start();
        pages->setCurrentIndex(1);
    });
    QTimer::singleShot(5000, qApp, [=] {
        std::printf("%lld\n", static_cast<long long>(*longest));
        std::fflush(stdout);
        std::_Exit(0);
    });
}

/// The longest stall a layout child reports.
double layoutStallMs(const QString& program, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {});
    if (!process.waitForFinished(timeoutMs))
        qFatal("the layout child did not end");
    return process.readAllStandardOutput().trimmed().toDouble();
}

int measure() {
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"),
                       home.filePath(QStringLiteral("Documents")));
    QDir(home.path()).mkpath(QStringLiteral("Documents"));
    QProcessEnvironment program = environment;
    program.insert(QStringLiteral("VANTREL_BENCH_CHILD"), QStringLiteral("program"));
    QProcessEnvironment bareHere = environment;
    bareHere.insert(QStringLiteral("VANTREL_BENCH_CHILD"), QStringLiteral("bare"));
    const QString self = QCoreApplication::applicationFilePath();
    const QString bare = QCoreApplication::applicationDirPath() + QStringLiteral("/startup_bare");

    std::vector<double> mainWindow;
    std::vector<double> baseline;
    std::vector<double> withLibraries;
    for (int i = 0; i < warmUps + runs; ++i) {
        const double m = msUntilPainted(self, program);
        const double b = msUntilPainted(bare, environment);
        const double l = msUntilPainted(self, bareHere);
        if (i >= warmUps) {
            mainWindow.push_back(m);
            baseline.push_back(b);
            withLibraries.push_back(l);
        }
    }
    const double m = medianMs(mainWindow);
    const double b = medianMs(baseline);
    const double l = medianMs(withLibraries);
    std::printf("median of %d starts each, to the first paint\n", runs);
    std::printf("main window %8.2f ms  bare text editor window %8.2f ms  ratio %.2f\n", m, b,
                m / b);
    std::printf("bare window loading the program's libraries %8.2f ms  ratio %.2f\n", l, l / b);

    QProcessEnvironment layout = environment;
    layout.insert(QStringLiteral("VANTREL_BENCH_CHILD"), QStringLiteral("layout"));
    std::vector<double> stalls;
    for (int i = 0; i < 10; ++i)
        stalls.push_back(layoutStallMs(self, layout));
    std::sort(stalls.begin(), stalls.end());
    std::printf("Layout page shown 2 s after the start: longest stall %8.2f ms [%.2f-%.2f]\n",
                medianMs(stalls), stalls.front(), stalls.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QString child = qEnvironmentVariable("VANTREL_BENCH_CHILD");
    if (child == QLatin1String("program")) {
        VantrelApplication app(argc, argv);
        FirstPaintReporter reporter("T_FrmMain");
        return app.run();
    }
    if (child == QLatin1String("layout")) {
        VantrelApplication app(argc, argv);
        reportLayoutPageStall();
        return app.run();
    }
    if (child == QLatin1String("bare"))
        return runBareWindow(argc, argv);
    QCoreApplication app(argc, argv);
    return measure();
}
