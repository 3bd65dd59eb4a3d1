// The whole `vantrel-check` process against the `curl` tool fetching the same
// 50 pictures of a page from one loopback server, each a new process, taking
// turns in the same run: curl one after another, curl 4 at a time (the
// check's own parallelism on one server), and vantrel-check. Both speak
// HTTP/1.0 and open a connection per picture. Prints the median and range
// of each, then the ratios.
#include "pictureserverthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

constexpr int pictureCount = 50;
constexpr int runs = 30;
constexpr int warmUps = 3;

struct Figures {
    double median = 0;
    double low = 0;
    double high = 0;
};

Figures figures(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

double msToRun(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return timer.nsecsElapsed() / 1e6;
}

void print(const char* name, const Figures& f) {
    std::printf("%-32s %8.1f ms  [%.1f-%.1f]\n", name, f.median, f.low, f.high);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
    if (curl.isEmpty())
        qFatal("the curl tool is needed (apt-get install curl)");
    const QString check = QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel-check");
    PictureServerThread server;
    server.startListening();

    QTemporaryDir folder;
    const QString page = folder.filePath(QStringLiteral("page.html"));
    QStringList addresses;
    QByteArray html("<html><body>\n");
    for (int i = 0; i < pictureCount; ++i) {
        addresses.append(
            QStringLiteral("http://127.0.0.1:%1/pictures/p%2.gif").arg(server.port).arg(i));
        html += "<img src=\"" + addresses.last().toLatin1() + "\">\n";
    }
    html += "</body></html>\n";
    QFile file(page);
    if (!file.open(QIODevice::WriteOnly) || file.write(html) != html.size())
        qFatal("cannot write the page");
    file.close();

    QStringList oneByOne{QStringLiteral("--silent"), QStringLiteral("--fail"),
                         QStringLiteral("--http1.0")};
    for (const QString& address : addresses)
        oneByOne << QStringLiteral("--output") << QStringLiteral("/dev/null") << address;
    QStringList fourAtOnce = oneByOne;
    fourAtOnce << QStringLiteral("--parallel") << QStringLiteral("--parallel-max")
               << QStringLiteral("4");

    std::vector<double> sequential;
    std::vector<double> parallel;
    std::vector<double> ours;
    for (int i = 0; i < warmUps + runs; ++i) {
        const double s = msToRun(curl, oneByOne);
        const double p = msToRun(curl, fourAtOnce);
        const double v = msToRun(check, {page});
        if (i >= warmUps) {
            sequential.push_back(s);
            parallel.push_back(p);
            ours.push_back(v);
        }
    }
    const Figures s = figures(sequential);
    const Figures p = figures(parallel);
    const Figures v = figures(ours);
    std::printf("%d pictures on one loopback server, %d runs each, whole processes\n", pictureCount,
                runs);
    print("curl, one after another", s);
    print("curl, 4 at once", p);
    print("vantrel-check", v);
    std::printf("ratio vantrel-check / curl one after another: %.2f\n", v.median / s.median);
    std::printf("ratio vantrel-check / curl 4 at once:         %.2f\n", v.median / p.median);
    server.quit();
    server.wait();
    return 0;
}
