// The image test's picture check (one picture at a time, as the test runs
// it) against plain blocking libcurl fetches of the same 50 pictures from a
// loopback server, measured side by side in one run, and the same check
// with several pictures at once. Prints the time of each 50-picture test
// and, last, the ratio client/curl.

#include "http/picturecheck.h"
#include "pictureserverthread.h"
#include "timesreporter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <atomic>
#include <cstdio>
#include <map>

namespace {

constexpr int PictureCount = 50;

QStringList pictureAddresses(int port) {
    QStringList addresses;
    for (int i = 0; i < PictureCount; ++i)
        addresses.append(QStringLiteral("http://127.0.0.1:%1/pictures/p%2.gif").arg(port).arg(i));
    return addresses;
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

/// How many of the pictures one check finds available.
int availableInOneCheck(const QStringList& addresses, int atOnce) {
    PictureCheck check;
    QEventLoop waiting;
    int available = 0;
    QObject::connect(
        &check, &PictureCheck::checked,
        [&available](int, const ImageVerdict& verdict) { available += verdict.available(); });
    QObject::connect(&check, &PictureCheck::finished, &waiting, &QEventLoop::quit);
    PictureCheckOptions options;
    options.atOnce = atOnce;
    check.start(addresses, options);
    waiting.exec();
    return available;
}

void clientFetches(benchmark::State& state, const QStringList* addresses, int atOnce) {
    for (auto _ : state) {
        if (availableInOneCheck(*addresses, atOnce) != PictureCount)
            state.SkipWithError("a picture was not available");
    }
}

// The baseline: the same requests, one blocking easy handle each.
void blockingCurlFetches(benchmark::State& state, const QStringList* addresses) {
    std::vector<QByteArray> urls;
    for (const QString& address : *addresses)
        urls.push_back(address.toLatin1());
    for (auto _ : state) {
        int available = 0;
        for (const QByteArray& url : urls) {
            CURL* easy = curl_easy_init();
            curl_slist* headers = curl_slist_append(
                nullptr, "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
            curl_easy_setopt(easy, CURLOPT_URL, url.constData());
            curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
            curl_easy_setopt(easy, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; Vantrel)");
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
            curl_easy_setopt(easy, CURLOPT_PROXY, "");
            curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &discard);
            long status = 0;
            if (curl_easy_perform(easy) == CURLE_OK &&
                curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
                status == 200)
                ++available;
            curl_slist_free_all(headers);
            curl_easy_cleanup(easy);
        }
        if (available != PictureCount)
            state.SkipWithError("a picture was not available");
    }
}

// The console report, then one line per case and the ratio.
class RatioReporter : public TimesReporter {
public:
    void printSummary() const {
        const double* client = time("client, 50 pictures");
        const double* curl = time("blocking curl, 50 pictures");
        if (!client || !curl)
            return;
        std::printf("\nclient, 50 pictures         %8.2f ms\n", *client);
        std::printf("blocking curl, 50 pictures  %8.2f ms\n", *curl);
        std::printf("ratio client/curl: %.2f\n", *client / *curl);
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    PictureServerThread server;
    server.startListening();
    const QStringList addresses = pictureAddresses(server.port);

    for (auto* benchmark :
         {benchmark::RegisterBenchmark("blocking curl, 50 pictures", blockingCurlFetches,
                                       &addresses),
          benchmark::RegisterBenchmark("client, 50 pictures", clientFetches, &addresses, 1),
          benchmark::RegisterBenchmark("client, 50 pictures, 8 at once", clientFetches, &addresses,
                                       8)})
        benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    server.quit();
    server.wait();
    return 0;
}
