#include "publish/exportprogress.h"
#include "web/browserbar.h"
#include "web/publishpage.h"

#include "support/webdavtestserver.h"

#include "platform/uilanguage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

/// An auction site on the loopback interface: each path is a page titled
/// by it ("/signin" gives "Sign in"); a held path waits for `release`.
class SiteServer : public QTcpServer {
public:
    SiteServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
        if (!listen(QHostAddress::LocalHost))
            qFatal("no loopback server");
    }
    QUrl address(const QString& path = QStringLiteral("/signin")) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    /// How often the page was asked for.
    int requests(const QString& path) const { return m_requests.value(path); }
    void hold(const QString& path) { m_held.insert(path); }
    /// Answers the held requests.
    void release() {
        m_held.clear();
        for (const QPointer<QTcpSocket>& socket : std::exchange(m_waiting, {}))
            if (socket)
                answer(socket);
    }

private:
    void serve(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        socket->setProperty("path", path);
        ++m_requests[path];
        if (m_held.contains(path))
            m_waiting.append(socket);
        else
            answer(socket);
    }
    static void answer(QTcpSocket* socket) {
        const QByteArray path = socket->property("path").toString().toLatin1();
        const QByteArray title = path == "/signin" ? QByteArray("Sign in") : path.mid(1);
        const QByteArray body =
            "<html><head><title>" + title + "</title></head><body>" + title + "</body></html>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                      "Connection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QHash<QString, int> m_requests;
    QSet<QString> m_held;
    QList<QPointer<QTcpSocket>> m_waiting;
};

/// An HTTPS site whose certificate no one vouches for.
class UntrustedSite : public QSslServer {
public:
    explicit UntrustedSite(const TestCertificate& certificate) {
        QFile certificateFile(certificate.certificateFile());
        QFile keyFile(certificate.keyFile());
        if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
            qFatal("no test certificate");
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(QSslCertificate(&certificateFile));
        configuration.setPrivateKey(QSslKey(&keyFile, QSsl::Rsa));
        setSslConfiguration(configuration);
        if (!listen(QHostAddress::LocalHost))
            qFatal("no loopback server");
    }
    QUrl address() const {
        return QUrl(QStringLiteral("https://127.0.0.1:%1/signin").arg(serverPort()));
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

/// The page on show, with the browser's history moved to its middle page:
/// back and forward can both go somewhere.
struct Navigated {
    QTabWidget tabs;
    QWidget* otherPage = new QWidget;
    PublishPage* page = new PublishPage;

    bool openAll(SiteServer& site) {
        tabs.addTab(otherPage, QStringLiteral("Layout"));
        tabs.addTab(page, QStringLiteral("Publish"));
        tabs.setCurrentWidget(page);
        tabs.resize(900, 600);
        tabs.show();
        QSignalSpy loaded(page->broXport(), &QWebEngineView::loadFinished);
        for (const char* path : {"/one", "/two", "/three"}) {
            const int before = loaded.size();
            page->open(site.address(QLatin1String(path)));
            if (!QTest::qWaitFor([&] { return loaded.size() > before; }, 60000))
                return false;
        }
        const int before = loaded.size();
        page->broXport()->back();
        return QTest::qWaitFor([&] { return loaded.size() > before; }, 60000) &&
               page->broXport()->title() == QLatin1String("two");
    }
};

} // namespace

class TestPublishPage : public QObject {
    Q_OBJECT

private slots:
    void siteLoadsAndTheLoadingPanelGoes();
    void panelsStayCentred();
    void siteThatCannotBeOpenedIsSaidInTheProgramsLanguage_data();
    void siteThatCannotBeOpenedIsSaidInTheProgramsLanguage();
    void barFollowsTheBrowsersHistory();
    void keysWorkWhileThePageIsOnShow_data();
    void keysWorkWhileThePageIsOnShow();
    void padlockSaysWhetherTheSiteCanBeTrusted_data();
    void padlockSaysWhetherTheSiteCanBeTrusted();
    void loadingBarShowsWhileAPageLoads();
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

void TestPublishPage::barFollowsTheBrowsersHistory() {
    SiteServer site;
    PublishPage page;
    page.resize(900, 600);
    page.show();
    auto* address = page.findChild<QLineEdit*>(QStringLiteral("edtBroAddress"));
    auto* back = page.findChild<QToolButton*>(QStringLiteral("tobBroBack"));
    auto* forward = page.findChild<QToolButton*>(QStringLiteral("tobBroForward"));
    auto* reload = page.findChild<QToolButton*>(QStringLiteral("tobBroReload"));
    QVERIFY(address->isReadOnly());
    QVERIFY(address->text().isEmpty());
    QVERIFY(!back->isEnabled() && !forward->isEnabled() && !reload->isEnabled());

    QWebEngineView* browser = page.broXport();
    QSignalSpy loaded(browser, &QWebEngineView::loadFinished);
    page.open(site.address(QStringLiteral("/one")));
    QVERIFY(loaded.wait(60000));
    QCOMPARE(address->text(), site.address(QStringLiteral("/one")).toDisplayString());
    QVERIFY(!back->isEnabled() && !forward->isEnabled());
    QVERIFY(reload->isEnabled());

    page.open(site.address(QStringLiteral("/two")));
    QVERIFY(loaded.wait(60000));
    QCOMPARE(address->text(), site.address(QStringLiteral("/two")).toDisplayString());
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());

    // Each step ends when its page has arrived.
    const auto press = [&loaded](QToolButton* button) {
        const int before = loaded.size();
        button->click();
        return QTest::qWaitFor([&] { return loaded.size() > before; }, 60000);
    };
    QVERIFY(press(back));
    QCOMPARE(browser->title(), QStringLiteral("one"));
    QCOMPARE(address->text(), site.address(QStringLiteral("/one")).toDisplayString());
    QVERIFY(forward->isEnabled());
    QVERIFY(!back->isEnabled());

    QVERIFY(press(forward));
    QCOMPARE(browser->title(), QStringLiteral("two"));
    QCOMPARE(address->text(), site.address(QStringLiteral("/two")).toDisplayString());
    QVERIFY(!forward->isEnabled());
    QVERIFY(back->isEnabled());

    const int asked = site.requests(QStringLiteral("/two"));
    QVERIFY(press(reload));
    QCOMPARE(site.requests(QStringLiteral("/two")), asked + 1);
    QCOMPARE(address->text(), site.address(QStringLiteral("/two")).toDisplayString());
}

void TestPublishPage::keysWorkWhileThePageIsOnShow_data() {
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("title"); // the page the browser shows afterwards
    QTest::addColumn<int>("reloads");   // new requests for the middle page
    QTest::newRow("Alt+Left goes back") << (Qt::ALT | Qt::Key_Left) << "actBroBack"
                                        << "one" << 0;
    QTest::newRow("Alt+Right goes forward") << (Qt::ALT | Qt::Key_Right) << "actBroForward"
                                            << "three" << 0;
    QTest::newRow("F5 reloads") << QKeyCombination(Qt::Key_F5) << "actBroReload"
                                << "two" << 1;
    QTest::newRow("Ctrl+R reloads") << (Qt::CTRL | Qt::Key_R) << "actBroReload"
                                    << "two" << 1;
}

void TestPublishPage::keysWorkWhileThePageIsOnShow() {
    QFETCH(QKeyCombination, key);
    QFETCH(QString, action);
    QFETCH(QString, title);
    SiteServer site;
    Navigated shown;
    QVERIFY(shown.openAll(site));
    QVERIFY(QTest::qWaitForWindowActive(&shown.tabs));
    QWebEngineView* browser = shown.page->broXport();
    const int twoRequests = site.requests(QStringLiteral("/two"));
    QSignalSpy triggered(shown.page->findChild<QAction*>(action), &QAction::triggered);
    QSignalSpy loaded(browser, &QWebEngineView::loadFinished);

    // With another page on show the key is left to that page.
    shown.tabs.setCurrentWidget(shown.otherPage);
    QTest::keyClick(&shown.tabs, key.key(), key.keyboardModifiers());
    QCOMPARE(triggered.size(), 0);

    shown.tabs.setCurrentWidget(shown.page);
    QTest::keyClick(&shown.tabs, key.key(), key.keyboardModifiers());
    QCOMPARE(triggered.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(loaded.size() > 0, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(browser->title(), title, 60000);
    QTEST(site.requests(QStringLiteral("/two")) - twoRequests, "reloads");
}

void TestPublishPage::padlockSaysWhetherTheSiteCanBeTrusted_data() {
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("hint"); // words of the padlock's tooltip
    QTest::newRow("http is not encrypted") << "http"
                                           << "not encrypted";
    QTest::newRow("https with a certificate no one vouches for") << "untrusted https"
                                                                 << "certificate is not valid";
    QTest::newRow("a site that cannot be reached") << "closed"
                                                   << "could not be opened";
}

void TestPublishPage::padlockSaysWhetherTheSiteCanBeTrusted() {
    QFETCH(QString, site);
    QFETCH(QString, hint);
    SiteServer plain;
    QTemporaryDir folder;
    TestCertificate certificate;
    QVERIFY2(certificate.make(folder.path(), QStringLiteral("site")), "openssl is needed");
    UntrustedSite untrusted(certificate);
    const QUrl address = site == QLatin1String("http") ? plain.address()
                         : site == QLatin1String("untrusted https")
                             ? untrusted.address()
                             : QUrl(QStringLiteral("http://127.0.0.1:%1/signin").arg(closedPort()));
    PublishPage page;
    page.resize(900, 600);
    page.show();
    auto* bar = page.findChild<BrowserBar*>();
    QCOMPARE(bar->security(), BrowserBar::Security::None);
    page.open(address);
    QTRY_VERIFY_WITH_TIMEOUT(bar->securityHint().contains(hint), 60000);
    QCOMPARE(bar->security(), BrowserBar::Security::Insecure);
    // Once the page is on show, a failure page of the program's included,
    // the address is the site's, not the page's own.
    QTRY_VERIFY_WITH_TIMEOUT(!page.broXport()->title().isEmpty(), 60000);
    QTest::qWait(0);
    QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("edtBroAddress"))->text(),
             address.toDisplayString());
    QCOMPARE(bar->security(), BrowserBar::Security::Insecure);
    QVERIFY2(bar->securityHint().contains(hint), qPrintable(bar->securityHint()));
}

void TestPublishPage::loadingBarShowsWhileAPageLoads() {
    SiteServer site;
    site.hold(QStringLiteral("/slow"));
    PublishPage page;
    page.resize(900, 600);
    page.show();
    auto* loading = page.findChild<QProgressBar*>(QStringLiteral("prgBroLoading"));
    auto* reload = page.findChild<QToolButton*>(QStringLiteral("tobBroReload"));
    QVERIFY(!loading->isVisible());
    QSignalSpy loaded(page.broXport(), &QWebEngineView::loadFinished);

    // Stopped by the seller: the bar goes, reload comes back.
    page.open(site.address(QStringLiteral("/slow")));
    QTRY_COMPARE_WITH_TIMEOUT(site.requests(QStringLiteral("/slow")), 1, 60000);
    QVERIFY(loading->isVisible());
    QCOMPARE(reload->defaultAction()->objectName(), QStringLiteral("actBroStop"));
    reload->click();
    QTRY_VERIFY_WITH_TIMEOUT(loaded.size() == 1, 60000);
    QVERIFY(!loading->isVisible());
    QCOMPARE(reload->defaultAction()->objectName(), QStringLiteral("actBroReload"));

    // Answered: the bar goes once the page is there.
    page.open(site.address(QStringLiteral("/slow")));
    QTRY_COMPARE_WITH_TIMEOUT(site.requests(QStringLiteral("/slow")), 2, 60000);
    QVERIFY(loading->isVisible());
    site.release();
    QTRY_VERIFY_WITH_TIMEOUT(loaded.size() == 2, 60000);
    QVERIFY(loaded.constLast().constFirst().toBool());
    QCOMPARE(page.broXport()->title(), QStringLiteral("slow"));
    QVERIFY(!loading->isVisible());
    QCOMPARE(reload->defaultAction()->objectName(), QStringLiteral("actBroReload"));
    // The button is reload alone again, with no menu of what it was.
    QCOMPARE(reload->actions().size(), 1);
}

QTEST_MAIN(TestPublishPage)
#include "tst_publishpage.moc"
