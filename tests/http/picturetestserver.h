#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <sys/socket.h>

/// A loopback port nothing listens on: connections to it are refused.
inline quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

/// A web server on 127.0.0.1 for checking pictures, answering HTTP/1.0 by
/// path. It is bounded: it serves at most `maxConnections` connections and
/// closes every connection after `maxLifeMs`, so a test can never leave it
/// streaming. It also answers proxy requests (absolute address in the
/// request line) by the address's path, and refuses every tunnel (CONNECT)
/// with 407.
///
///   /pictures/NAME.gif|.jpg   the picture, with its image content type
///   /files/NAME               the picture when the decoded NAME is one of
///                             `files` (letter case counts), else 404
///   /bare/NAME.png            a PNG picture without content type
///   /disguised/NAME.png|.svg  an HTML page sent as image/png or image/svg+xml
///   /vector/NAME.svg          an SVG picture, image/svg+xml
///   /empty/NAME.png           image/png without a byte
///   /bare/NAME.txt            text without content type
///   /missing/NAME             404
///   /moved/NAME               302 to /pictures/NAME (same name)
///   /elsewhere/NAME           302 to /errors/notfound.html, an HTML page
///   /hops/N/NAME              302 to /hops/N-1/NAME; /hops/0/NAME is the picture
///   /loop/NAME                302 to itself
///   /tofile/NAME              302 to file:///etc/passwd
///   /private/NAME             401
///   /page/NAME                200 with an HTML page
///   /stall/NAME               reads the request, never answers
///   /slow/NAME                a picture at one byte per second
///   /endless/NAME             a picture that never ends
///   /reset/NAME               resets the connection
///   /garbage/NAME             bytes that are no HTTP answer
class PictureTestServer : public QTcpServer {
public:
    static QByteArray gifBytes() {
        return QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04"
                          "\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                          "D\x01\x00;",
                          43);
    }

    explicit PictureTestServer(int maxConnections = 200, int maxLifeMs = 20000)
        : m_maxConnections(maxConnections)
        , m_maxLifeMs(maxLifeMs) {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                accept(socket);
        });
        listen(QHostAddress::LocalHost);
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }
    QString url(const QString& path) const { return base() + path; }

    /// The pictures under /files/, by their names as a file system has them.
    QStringList files;
    /// The head of every request received (request line and headers).
    QList<QByteArray> requests;
    /// Body bytes written on /endless/ and /slow/ so far.
    qint64 streamed = 0;
    int connections = 0;

private:
    void accept(QTcpSocket* socket) {
        if (++connections > m_maxConnections) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        auto* life = new QTimer(socket);
        life->setSingleShot(true);
        connect(life, &QTimer::timeout, socket, [socket] { socket->abort(); });
        life->start(m_maxLifeMs);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::errorOccurred, socket, [socket] { socket->deleteLater(); });
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            if (head->endsWith("\r\n\r\n")) {
                socket->readAll();
                return;
            }
            head->append(socket->readAll());
            if (head->contains("\r\n\r\n")) {
                *head = head->left(head->indexOf("\r\n\r\n") + 4);
                requests.append(*head);
                answer(socket, *head);
            }
        });
    }

    static QByteArray header(const QByteArray& status, const QByteArray& extra = {}) {
        return "HTTP/1.0 " + status + "\r\nServer: test\r\n" + extra + "\r\n";
    }

    void send(QTcpSocket* socket, const QByteArray& bytes) {
        socket->write(bytes);
        socket->disconnectFromHost();
    }

    void answer(QTcpSocket* socket, const QByteArray& head) {
        // As a proxy, no tunnel without a password.
        if (head.startsWith("CONNECT ")) {
            send(socket, header("407 Proxy Authentication Required",
                                "Proxy-Authenticate: Basic realm=\"proxy\"\r\n"));
            return;
        }
        QByteArray target = head.left(head.indexOf("\r\n")).split(' ').value(1);
        if (!target.startsWith('/'))
            target = QUrl::fromEncoded(target).path(QUrl::FullyEncoded).toLatin1();
        const QList<QByteArray> parts = target.split('/');
        const QByteArray kind = parts.value(1);
        const QByteArray name = parts.last();
        const QByteArray gif = gifBytes();
        const QByteArray imageType = name.toLower().endsWith(".jpg") ? "image/jpeg" : "image/gif";
        if (kind == "pictures") {
            send(socket, header("200 OK", "Content-Type: " + imageType + "\r\nContent-Length: " +
                                              QByteArray::number(gif.size()) + "\r\n") +
                             gif);
        } else if (kind == "files") {
            if (files.contains(QUrl::fromPercentEncoding(name)))
                send(socket, header("200 OK", "Content-Type: image/gif\r\n") + gif);
            else
                send(socket, header("404 Not Found"));
        } else if (kind == "disguised") {
            const QByteArray type = name.endsWith(".svg") ? "image/svg+xml" : "image/png";
            send(socket, header("200 OK", "Content-Type: " + type + "\r\n") +
                             "\xEF\xBB\xBF\r\n  <!DOCTYPE html><html><body>Not here</body></html>");
        } else if (kind == "vector") {
            send(socket, header("200 OK", "Content-Type: image/svg+xml\r\n") +
                             "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" "
                             "width=\"1\" height=\"1\"/>");
        } else if (kind == "empty") {
            send(socket, header("200 OK", "Content-Type: image/png\r\nContent-Length: 0\r\n"));
        } else if (kind == "bare") {
            const QByteArray body =
                name.endsWith(".png") ? QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) : "hello";
            send(socket, header("200 OK") + body);
        } else if (kind == "missing") {
            send(socket, header("404 Not Found", "Content-Type: text/html\r\n") + "<p>gone</p>");
        } else if (kind == "moved") {
            send(socket, header("302 Found", "Location: /pictures/" + name + "\r\n"));
        } else if (kind == "elsewhere") {
            send(socket, header("302 Found",
                                "Location: " + base().toLatin1() + "/errors/notfound.html\r\n"));
        } else if (kind == "errors" || kind == "page") {
            send(socket, header("200 OK", "Content-Type: text/html; charset=iso-8859-1\r\n") +
                             "<html><body>Not here</body></html>");
        } else if (kind == "hops") {
            const int left = parts.value(2).toInt();
            if (left == 0)
                send(socket, header("200 OK", "Content-Type: image/gif\r\n") + gif);
            else
                send(socket, header("302 Found", "Location: /hops/" + QByteArray::number(left - 1) +
                                                     "/" + name + "\r\n"));
        } else if (kind == "loop") {
            send(socket, header("302 Found", "Location: " + target + "\r\n"));
        } else if (kind == "tofile") {
            send(socket, header("302 Found", "Location: file:///etc/passwd\r\n"));
        } else if (kind == "private") {
            send(socket, header("401 Unauthorized", "WWW-Authenticate: Basic realm=\"pics\"\r\n"));
        } else if (kind == "stall") {
            // Says nothing until the client gives up.
        } else if (kind == "slow") {
            socket->write(header("200 OK", "Content-Type: image/gif\r\n"));
            auto* drip = new QTimer(socket);
            auto position = std::make_shared<int>(0);
            connect(drip, &QTimer::timeout, socket, [this, socket, gif, position] {
                socket->write(gif.mid(*position % gif.size(), 1));
                ++*position;
                ++streamed;
            });
            drip->start(1000);
        } else if (kind == "endless") {
            socket->write(header("200 OK", "Content-Type: image/gif\r\n") + gif);
            const QByteArray chunk(64 * 1024, 'x');
            auto more = [this, socket, chunk] {
                while (socket->state() == QAbstractSocket::ConnectedState &&
                       socket->bytesToWrite() < 4 * chunk.size()) {
                    socket->write(chunk);
                    streamed += chunk.size();
                }
            };
            connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
        } else if (kind == "reset") {
            const linger hard{1, 0};
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard,
                         sizeof hard);
            socket->abort();
        } else if (kind == "garbage") {
            send(socket, QByteArray("\x16\x03\x01 not a web server \x00\x01\r\n\r\nxx", 31));
        } else {
            send(socket, header("404 Not Found"));
        }
    }

    int m_maxConnections;
    int m_maxLifeMs;
};
