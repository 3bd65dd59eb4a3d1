#include "publish/exportprogress.h"
#include "web/publishpage.h"

#include "platform/uilanguage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

/// An auction site on the loopback interface: every request gets one page.
class SiteServer : public QTcpServer {
public:
    SiteServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    socket->readAll();
                    const QByteArray body = "<html><head><title>Sign in</title></head>"
                                            "<body>Sign in</body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                                  "Connection: close\r\nContent-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
        if (!listen(QHostAddress::LocalHost))
            qFatal("no loopback server");
    }
    QUrl address() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/signin").arg(serverPort()));
    }
};

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

QString shownText(QWebEngineView* browser) {
    QString text;
    QEventLoop wait;
    browser->page()->toPlainText([&](const QString& shown) {
        text = shown;
        wait.quit();
    });
    wait.exec();
    return text;
}

} // namespace

class TestPublishPage : public QObject {
    Q_OBJECT

private slots:
    void siteLoadsAndTheLoadingPanelGoes();
    void panelsStayCentred();
    void siteThatCannotBeOpenedIsSaidInTheProgramsLanguage_data();
    void siteThatCannotBeOpenedIsSaidInTheProgramsLanguage();
    void cleanup() { uilanguage::setCurrent(QString(), QStringLiteral("en")); }
};

void TestPublishPage::siteLoadsAndTheLoadingPanelGoes() {
    SiteServer site;
    PublishPage page;
    page.resize(900, 600);
    page.show();
    QWidget* loading = page.findChild<QWidget*>(QStringLiteral("pnlExportConn"));
    QVERIFY(loading->isVisible());
    page.progress().timer()->start();

    QSignalSpy loaded(page.broXport(), &QWebEngineView::loadFinished);
    page.open(site.address());
    QVERIFY(loaded.wait(60000));
    QCOMPARE(loaded.constFirst().constFirst().toBool(), true);
    QTRY_COMPARE(page.broXport()->title(), QStringLiteral("Sign in"));
    QVERIFY(!loading->isVisible());
    QVERIFY(!page.progress().timer()->isActive());
}

void TestPublishPage::panelsStayCentred() {
    PublishPage page;
    page.resize(900, 600);
    page.show();
    page.showExternalBrowserPanel(true);
    QSignalSpy back(&page, &PublishPage::backToLayoutRequested);
    for (const QSize size : {QSize(900, 600), QSize(1200, 800)}) {
        page.resize(size);
        QTest::qWait(0);
        const QWidget* area = page.findChild<QWidget*>(QStringLiteral("pnlBroExportBack"));
        for (const char* name : {"pnlExportConn", "pnlUseExtBrowser"}) {
            const QWidget* panel = page.findChild<QWidget*>(QLatin1String(name));
            QTRY_COMPARE(panel->x(), (area->width() - panel->width()) / 2);
            QCOMPARE(panel->y(), (area->height() - panel->height()) / 2);
        }
    }
    page.findChild<QPushButton*>(QStringLiteral("pnlUseExtBrowser"))->click();
    QCOMPARE(back.size(), 1);
}

void TestPublishPage::siteThatCannotBeOpenedIsSaidInTheProgramsLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("words");
    QTest::newRow("English") << "en"
                             << "could not be opened";
    QTest::newRow("French") << "fr" << QString::fromUtf8("n'a pas pu être ouverte");
}

void TestPublishPage::siteThatCannotBeOpenedIsSaidInTheProgramsLanguage() {
    QFETCH(QString, code);
    QFETCH(QString, words);
    uilanguage::setCurrent(QCoreApplication::applicationDirPath() + QLatin1Char('/'), code);
    PublishPage page;
    page.resize(900, 600);
    page.show();
    QSignalSpy loaded(page.broXport(), &QWebEngineView::loadFinished);
    const QUrl address(QStringLiteral("http://127.0.0.1:%1/signin").arg(closedPort()));
    page.open(address);
    // The failed load, then the page that says so.
    QTRY_VERIFY_WITH_TIMEOUT(loaded.size() >= 2, 60000);
    QVERIFY(!loaded.constFirst().constFirst().toBool());
    QVERIFY(loaded.constLast().constFirst().toBool());
    const QString text = shownText(page.broXport());
    QVERIFY2(text.contains(words), qPrintable(text));
    QVERIFY2(text.contains(address.toDisplayString()), qPrintable(text));
    QVERIFY(!page.findChild<QWidget*>(QStringLiteral("pnlExportConn"))->isVisible());
}

QTEST_MAIN(TestPublishPage)
#include "tst_publishpage.moc"
