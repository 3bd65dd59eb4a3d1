// The watch over published pictures (several at once, at most 4 per host)
// against the same watch checking one picture after another, over 200
// pictures of one published listing on one loopback host, measured side by
// side in one run. The host answers each request after a delay, as a real
// image server does (0 ms: the bare loopback; 10 ms: a server nearby).
// Prints the time of each case and, last, the ratio watch/one-by-one per
// delay.

#include "published/picturewatch.h"
#include "published/publishedrecord.h"

#include "timesreporter.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <map>

namespace {

constexpr int PictureCount = 200;
constexpr int Delays[] = {0, 10};

QByteArray gifBytes() {
    return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04"
                      "\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                      "D\x01\x00;",
                      43);
}

/// A picture server in a thread of its own that answers every request with
/// a GIF after `delayMs`.
class ServerThread : public QThread {
public:
    explicit ServerThread(int delayMs)
        : m_delayMs(delayMs) {}
    std::atomic<int> port{0};

protected:
    void run() override {
        QTcpServer server;
        const QByteArray answer =
            "HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\nContent-Length: 43\r\n\r\n" + gifBytes();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                auto head = std::make_shared<QByteArray>();
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [=] {
                    head->append(socket->readAll());
                    if (!head->contains("\r\n\r\n") || head->startsWith("done"))
                        return;
                    head->prepend("done");
                    QTimer::singleShot(m_delayMs, socket, [=] {
                        socket->write(answer);
                        socket->disconnectFromHost();
                    });
                });
            }
        });
        server.listen(QHostAddress::LocalHost);
        port = server.serverPort();
        exec();
    }

private:
    int m_delayMs;
};

struct Setup {
    QTemporaryDir folder;
    std::unique_ptr<PublishedRecord> record;
    QList<PublishedListing> listings;
};

/// One check of every picture; false when a picture was not found online.
bool checkAll(Setup& setup, const PictureCheckOptions& options) {
    PictureWatch watch(*setup.record);
    QEventLoop waiting;
    QObject::connect(&watch, &PictureWatch::finished, &waiting, &QEventLoop::quit);
    watch.start(setup.listings, options);
    waiting.exec();
    if (!watch.stored())
        return false;
    for (const PictureFinding& finding : watch.findings())
        if (finding.state != PictureState::Online)
            return false;
    return watch.findings().size() == PictureCount;
}

void watchPictures(benchmark::State& state, Setup* setup, bool atOnce) {
    PictureCheckOptions options = PictureWatch::defaultOptions();
    if (!atOnce) {
        options.atOnce = 1;
        options.atOncePerHost = 1;
    }
    for (auto _ : state) {
        if (!checkAll(*setup, options))
            state.SkipWithError("a picture was not found online");
    }
}

// The console report, then the ratio for each delay.
class RatioReporter : public TimesReporter {
public:
    void printSummary() const {
        std::printf("\n");
        for (const int delay : Delays) {
            const double* watch = time(name("watch", delay));
            const double* serial = time(name("one by one", delay));
            if (!watch || !serial)
                continue;
            std::printf("%3d ms answers: watch %8.1f ms, one by one %8.1f ms, ratio %.2f\n", delay,
                        *watch, *serial, *watch / *serial);
        }
    }

    static std::string name(const char* kind, int delay) {
        return std::string(kind) + ", " + std::to_string(PictureCount) + " pictures, answers in " +
               std::to_string(delay) + " ms";
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::vector<std::unique_ptr<ServerThread>> servers;
    std::vector<std::unique_ptr<Setup>> setups;
    for (const int delay : Delays) {
        servers.push_back(std::make_unique<ServerThread>(delay));
        ServerThread& server = *servers.back();
        server.start();
        while (server.port == 0)
            QThread::msleep(10);
        auto setup = std::make_unique<Setup>();
        setup->record = std::make_unique<PublishedRecord>(
            setup->folder.filePath(QStringLiteral("published.sqlite")));
        PublishedListing listing;
        listing.published = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < PictureCount; ++i) {
            PublishedPicture picture;
            picture.address =
                QStringLiteral("http://127.0.0.1:%1/pictures/p%2.gif").arg(server.port).arg(i);
            listing.pictures.append(picture);
        }
        listing.id = setup->record->add(listing).value();
        setup->listings = {listing};
        for (const bool atOnce : {false, true}) {
            benchmark::RegisterBenchmark(
                RatioReporter::name(atOnce ? "watch" : "one by one", delay).c_str(), watchPictures,
                setup.get(), atOnce)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(2.0);
        }
        setups.push_back(std::move(setup));
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    for (auto& server : servers) {
        server->quit();
        server->wait();
    }
    return 0;
}
