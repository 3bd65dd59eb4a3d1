#include "http/imageavailability.h"
#include "http/picturetestserver.h"
#include "http/transfer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int shortLimitMs = 800;
// Generous: the limit must end the fetch, not a scheduler on a busy machine.
constexpr int slackMs = 5000;

/// A port on 127.0.0.1 where nothing listens.
TransferRequest request(const QString& address, int timeLimitMs = 10000,
                        const QString& proxyHost = {}, const QString& proxyPort = {}) {
    TransferRequest request;
    request.address = address;
    request.timeLimitMs = timeLimitMs;
    request.proxyHost = proxyHost;
    request.proxyPort = proxyPort;
    return request;
}

/// One transfer to its end, with the event loop running meanwhile.
HttpResult fetch(const TransferRequest& request) {
    Transfer transfer(request);
    QSignalSpy finished(&transfer, &Transfer::finished);
    transfer.start();
    if (!finished.wait(60000))
        qWarning("the transfer did not finish");
    return transfer.result();
}

} // namespace

class TestHttpClient : public QObject {
    Q_OBJECT
private slots:
    void requestLineAndHeaders();
    void addressesEncodedAsABrowserDoes_data();
    void addressesEncodedAsABrowserDoes();
    void pictureVerdicts_data();
    void pictureVerdicts();
    void endlessBodyKeepsOnlyTheFirstBytes();
    void wholeBodyKeptWhenAsked();
    void proxy_data();
    void proxy();
    void environmentProxyIgnored();
    void documentName_data();
    void documentName();
    void pictureSignature_data();
    void pictureSignature();
    void expectedName_data();
    void expectedName();
};

void TestHttpClient::requestLineAndHeaders() {
    PictureTestServer server;
    const HttpResult result = fetch(request(server.url(QStringLiteral("/pictures/sky.gif"))));
    QVERIFY2(!result.failed(), qPrintable(result.errorText));
    QCOMPARE(server.requests.size(), 1);
    const QByteArray request = server.requests.first();
    QVERIFY2(request.startsWith("GET /pictures/sky.gif HTTP/1.0\r\n"), request.constData());
    QVERIFY(request.contains("\r\nUser-Agent: Mozilla/4.0 (compatible; Vantrel)\r\n"));
    QVERIFY(request.contains("\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                             "*/*\r\n"));
    // Caching stays allowed.
    QVERIFY(!request.toLower().contains("no-cache"));
    QCOMPARE(result.status, 200);
    QCOMPARE(result.contentType, QStringLiteral("image/gif"));
    QCOMPARE(result.firstBytes, PictureTestServer::gifBytes());
    QCOMPARE(result.documentName, QStringLiteral("sky.gif"));
}

void TestHttpClient::addressesEncodedAsABrowserDoes_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("requestLine");
    QTest::newRow("space") << "/pictures/my pic.gif" << QByteArray("GET /pictures/my%20pic.gif");
    QTest::newRow("accents") << "/pictures/été.gif"
                             << QByteArray("GET /pictures/%C3%A9t%C3%A9.gif");
    QTest::newRow("already encoded")
        << "/pictures/my%20pic.gif" << QByteArray("GET /pictures/my%20pic.gif");
}

void TestHttpClient::addressesEncodedAsABrowserDoes() {
    QFETCH(QString, path);
    QFETCH(QByteArray, requestLine);
    PictureTestServer server;
    const HttpResult result = fetch(request(server.url(path)));
    QVERIFY2(!result.failed(), qPrintable(result.errorText));
    QCOMPARE(server.requests.size(), 1);
    QVERIFY2(server.requests.first().startsWith(requestLine + " HTTP/1.0\r\n"),
             server.requests.first().constData());
    QCOMPARE(judgeImage(result, expectedDocumentName(path)).summary, QStringLiteral("OK"));
}

void TestHttpClient::pictureVerdicts_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("errorText");
    const int none = int(HttpError::None);
    QTest::newRow("picture") << "/pictures/sky.gif" << none << "OK"
                             << "";
    QTest::newRow("capital letters") << "/pictures/Boat.JPG" << none << "OK"
                                     << "";
    QTest::newRow("no type, PNG inside") << "/bare/sky.png" << none << "OK"
                                         << "";
    QTest::newRow("no type, text inside")
        << "/bare/notes.txt" << none << "NOT AN IMAGE (no picture inside)"
        << "";
    QTest::newRow("404") << "/missing/sky.gif" << int(HttpError::HttpStatus) << "NOT FOUND (404)"
                         << "127.0.0.1 answered 404 Not Found";
    QTest::newRow("moved, same name") << "/moved/sky.gif" << none << "OK"
                                      << "";
    QTest::newRow("moved to an error page")
        << "/elsewhere/sky.gif" << none << "NOT FOUND (sent on to notfound.html)"
        << "";
    QTest::newRow("5 relocations") << "/hops/5/sky.gif" << none << "OK"
                                   << "";
    QTest::newRow("6 relocations")
        << "/hops/6/sky.gif" << int(HttpError::TooManyRedirects) << "TOO MANY REDIRECTS"
        << "More than 5 relocations in a row";
    QTest::newRow("loop") << "/loop/sky.gif" << int(HttpError::RedirectLoop) << "REDIRECT LOOP"
                          << "127.0.0.1 sends the picture round in a loop";
    QTest::newRow("relocation to file:")
        << "/tofile/sky.gif" << int(HttpError::RedirectNotWeb) << "FAILED"
        << "127.0.0.1 sends the picture on to a non-web address (file:)";
    QTest::newRow("401") << "/private/sky.gif" << none << "NOT AVAILABLE (password required)"
                         << "";
    QTest::newRow("HTML page") << "/page/sky.gif" << none << "NOT AN IMAGE (text/html)"
                               << "";
    QTest::newRow("HTML page sent as image/png")
        << "/disguised/sky.png" << none << "NOT AN IMAGE (no picture inside)"
        << "";
    QTest::newRow("HTML page sent as image/svg+xml")
        << "/disguised/sky.svg" << none << "NOT AN IMAGE (no picture inside)"
        << "";
    QTest::newRow("image/png without a byte")
        << "/empty/sky.png" << none << "NOT AN IMAGE (no picture inside)"
        << "";
    QTest::newRow("SVG picture") << "/vector/sky.svg" << none << "OK"
                                 << "";
    QTest::newRow("stall") << "/stall/sky.gif" << int(HttpError::TimedOut) << "TIMEOUT"
                           << "No answer within 0.8 seconds";
    QTest::newRow("one byte a second") << "/slow/sky.gif" << int(HttpError::TimedOut) << "TIMEOUT"
                                       << "Picture not received in full within 0.8 seconds";
    QTest::newRow("endless") << "/endless/sky.gif" << int(HttpError::TimedOut) << "TIMEOUT"
                             << "Picture not received in full within 0.8 seconds";
    QTest::newRow("reset") << "/reset/sky.gif" << int(HttpError::ConnectionReset) << "FAILED"
                           << "Connection reset by 127.0.0.1";
    QTest::newRow("garbage") << "/garbage/sky.gif" << int(HttpError::BadAnswer) << "FAILED"
                             << "127.0.0.1 did not answer as a web server";
    QTest::newRow("refused") << QStringLiteral("http://127.0.0.1:%1/sky.gif").arg(closedPort())
                             << int(HttpError::ConnectFailed) << "FAILED"
                             << "Connection refused by 127.0.0.1";
    QTest::newRow("not a web address")
        << "file:///etc/sky.gif" << int(HttpError::NotWebAddress) << "NOT A WEB ADDRESS"
        << "file:///etc/sky.gif is not a web address";
    QTest::newRow("relative address")
        << "images/sky.gif" << int(HttpError::NotWebAddress) << "NOT A WEB ADDRESS"
        << "images/sky.gif is not a web address";
}

void TestHttpClient::pictureVerdicts() {
    QFETCH(QString, path);
    QFETCH(int, error);
    QFETCH(QString, summary);
    QFETCH(QString, errorText);
    PictureTestServer server;
    const QString address = path.startsWith(QLatin1Char('/')) ? server.url(path) : path;
    QElapsedTimer clock;
    clock.start();
    const HttpResult result = fetch(request(address, shortLimitMs));
    QVERIFY2(clock.elapsed() < shortLimitMs + slackMs,
             qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(int(result.error), error);
    if (!errorText.isEmpty())
        QCOMPARE(result.errorText, errorText);
    QCOMPARE(judgeImage(result, expectedDocumentName(address)).summary, summary);
    if (error == int(HttpError::NotWebAddress))
        QCOMPARE(server.connections, 0);
}

void TestHttpClient::endlessBodyKeepsOnlyTheFirstBytes() {
    PictureTestServer server;
    const HttpResult result = fetch(request(server.url(QStringLiteral("/endless/sky.gif")), 1500));
    QCOMPARE(result.error, HttpError::TimedOut);
    // Far more arrived than is kept.
    QVERIFY2(result.bodyBytes > 1024 * 1024, qPrintable(QString::number(result.bodyBytes)));
    QCOMPARE(result.firstBytes.size(), Transfer::keptBytes);
    QVERIFY(hasPictureSignature(result.firstBytes));
}

void TestHttpClient::wholeBodyKeptWhenAsked() {
    PictureTestServer server;
    TransferRequest whole = request(server.url(QStringLiteral("/moved/sky.gif")));
    whole.keepBody = 1024;
    const HttpResult kept = fetch(whole);
    QVERIFY2(!kept.failed(), qPrintable(kept.errorText));
    QCOMPARE(kept.body, PictureTestServer::gifBytes());

    // An answer past the limit is not half kept: it fails with the reason.
    TransferRequest endless = request(server.url(QStringLiteral("/endless/sky.gif")));
    endless.keepBody = 256 * 1024;
    const HttpResult cut = fetch(endless);
    QCOMPARE(cut.error, HttpError::Other);
    QVERIFY(cut.body.isEmpty());
    QCOMPARE(cut.errorText, QStringLiteral("The answer is larger than 0.25 MB."));
}

void TestHttpClient::proxy_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("requestLine");
    QTest::addColumn<QString>("summary");
    QTest::newRow("http") << "http://pictures.example/pictures/sky.gif"
                          << QByteArray("GET http://pictures.example/pictures/sky.gif HTTP/1.0")
                          << "OK";
    QTest::newRow("encoded") << "http://pictures.example/pictures/my pic.gif"
                             << QByteArray("GET http://pictures.example/pictures/my%20pic.gif "
                                           "HTTP/1.0")
                             << "OK";
    QTest::newRow("https, tunnel needs a password")
        << "https://pictures.example/pictures/sky.gif"
        << QByteArray("CONNECT pictures.example:443 HTTP/1.1")
        << "NOT AVAILABLE (password required)";
}

void TestHttpClient::proxy() {
    QFETCH(QString, address);
    QFETCH(QByteArray, requestLine);
    QFETCH(QString, summary);
    PictureTestServer proxyServer;
    qputenv("no_proxy", "pictures.example");
    // The picture's host does not resolve: only the proxy can answer.
    const HttpResult result = fetch(request(address, 5000, QStringLiteral("127.0.0.1"),
                                            QString::number(proxyServer.serverPort())));
    qunsetenv("no_proxy");
    QVERIFY2(!result.failed(), qPrintable(result.errorText));
    QCOMPARE(proxyServer.requests.size(), 1);
    QVERIFY2(proxyServer.requests.first().startsWith(requestLine + "\r\n"),
             proxyServer.requests.first().constData());
    QCOMPARE(judgeImage(result, expectedDocumentName(address)).summary, summary);
}

void TestHttpClient::environmentProxyIgnored() {
    PictureTestServer server;
    const QByteArray deadProxy = "http://127.0.0.1:" + QByteArray::number(closedPort());
    qputenv("http_proxy", deadProxy);
    qputenv("HTTPS_PROXY", deadProxy);
    qputenv("all_proxy", deadProxy);
    const QString address = server.url(QStringLiteral("/pictures/sky.gif"));
    const HttpResult direct = fetch(request(address));
    QVERIFY2(!direct.failed(), qPrintable(direct.errorText));

    // A proxy that cannot be reached is reported as the proxy's fault.
    const QString port = QString::number(closedPort());
    const HttpResult viaProxy = fetch(request(address, 10000, QStringLiteral("127.0.0.1"), port));
    QCOMPARE(viaProxy.error, HttpError::ProxyUnreachable);
    QCOMPARE(viaProxy.errorText,
             QStringLiteral("The proxy server 127.0.0.1:%1 cannot be reached").arg(port));
    QCOMPARE(judgeImage(viaProxy, QStringLiteral("sky.gif")).availability,
             ImageAvailability::ProxyUnreachable);

    QCOMPARE(
        fetch(request(address, 10000, QStringLiteral("127.0.0.1"), QStringLiteral("eighty"))).error,
        HttpError::BadProxySetting);
    qunsetenv("http_proxy");
    qunsetenv("HTTPS_PROXY");
    qunsetenv("all_proxy");
}

void TestHttpClient::documentName_data() {
    QTest::addColumn<QString>("finalUrl");
    QTest::addColumn<QString>("contentType");
    QTest::addColumn<bool>("hasBody");
    QTest::addColumn<QString>("name");
    QTest::newRow("query dropped") << "http://h/a/pic.gif?x=1"
                                   << "image/gif" << true << "pic.gif";
    QTest::newRow("path ends with /") << "http://h/a/"
                                      << "text/html" << true << "document.htm";
    QTest::newRow("empty path") << "http://h"
                                << "text/html" << true << "document.htm";
    QTest::newRow("HTML without extension") << "http://h/cgi/show"
                                            << "text/html" << true << "show.htm";
    QTest::newRow("HTML named .exe") << "http://h/setup.EXE"
                                     << "text/html" << true << "setup.htm";
    QTest::newRow("picture named .exe") << "http://h/setup.exe"
                                        << "image/gif" << true << "setup.exe";
    QTest::newRow("HTML with extension") << "http://h/page.html"
                                         << "text/html" << true << "page.html";
    QTest::newRow("no body") << "http://h/show"
                             << "text/html" << false << "show";
    QTest::newRow("decoded") << "http://h/my%20pic.gif"
                             << "image/gif" << true << "my pic.gif";
}

void TestHttpClient::documentName() {
    QFETCH(QString, finalUrl);
    QFETCH(QString, contentType);
    QFETCH(bool, hasBody);
    QFETCH(QString, name);
    QCOMPARE(::documentName(QUrl(finalUrl), contentType, hasBody), name);
}

void TestHttpClient::pictureSignature_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("picture");
    QTest::newRow("GIF87a") << QByteArray("GIF87a\x01\x00") << true;
    QTest::newRow("GIF89a") << PictureTestServer::gifBytes() << true;
    QTest::newRow("JPEG") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF") << true;
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1A\n\0\0", 10) << true;
    QTest::newRow("WebP") << QByteArray("RIFF\x10\x00\x00\x00WEBPVP8 ", 16) << true;
    QTest::newRow("WAVE") << QByteArray("RIFF\x10\x00\x00\x00WAVEfmt ", 16) << false;
    QTest::newRow("HTML") << QByteArray("<html>") << false;
    QTest::newRow("GIF cut short") << QByteArray("GIF8") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestHttpClient::pictureSignature() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, picture);
    QCOMPARE(hasPictureSignature(bytes), picture);
}

void TestHttpClient::expectedName_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "http://h/pics/Boat.JPG"
                           << "Boat.JPG";
    QTest::newRow("query") << "http://h/pic.php?id=3"
                           << "pic.php";
    QTest::newRow("fragment") << "http://h/pic.gif#top"
                              << "pic.gif";
    QTest::newRow("backslash") << "http:\\\\h\\pics\\a.gif"
                               << "a.gif";
    QTest::newRow("encoded") << "http://h/my%20pic.gif"
                             << "my pic.gif";
    QTest::newRow("no path") << "http://h/"
                             << "";
}

void TestHttpClient::expectedName() {
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(expectedDocumentName(address), name);
}

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"
