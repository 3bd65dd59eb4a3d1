#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "http/picturetestserver.h"
#include "http/webpictureloader.h"
#include "platform/webpicturecache.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

/// The image the document shows for the web picture at `address`.
QImage shown(const EdDocument& document, const QString& address) {
    DocPicture picture;
    picture.address = address;
    return document.textDocument()
        ->resource(QTextDocument::ImageResource, QUrl(picture.resourceName()))
        .value<QImage>();
}

void insertWebPicture(EdDocument& document, const QString& address) {
    DocPicture picture;
    picture.address = address;
    QTextCursor cursor(document.textDocument());
    cursor.movePosition(QTextCursor::End);
    document.insertPicture(cursor, picture);
}

/// Waits until the loader has settled every picture asked for.
bool settle(WebPictureLoader& loader) {
    QSignalSpy settled(&loader, &WebPictureLoader::settled);
    // The document asks from the event loop.
    QCoreApplication::processEvents();
    return loader.pending() == 0 || settled.wait(20000);
}

} // namespace

class TestWebPictureLoader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void pictureShownAsItArrives_data();
    void pictureShownAsItArrives();
    void keptPictureShownWhenOffline();
    void clearedDocumentWhileFetching();

private:
    QTemporaryDir m_home;
};

void TestWebPictureLoader::initTestCase() {
    QVERIFY(m_home.isValid());
    qputenv("XDG_CACHE_HOME", m_home.path().toUtf8());
}

void TestWebPictureLoader::init() {
    QDir(webpicturecache::folder()).removeRecursively();
}

void TestWebPictureLoader::pictureShownAsItArrives_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("arrives");
    QTest::newRow("a picture") << "/pictures/sky.gif" << true;
    QTest::newRow("after a relocation") << "/moved/sky.gif" << true;
    QTest::newRow("missing") << "/missing/sky.gif" << false;
    QTest::newRow("a page, not a picture") << "/page/sky.gif" << false;
    QTest::newRow("connection reset") << "/reset/sky.gif" << false;
}

void TestWebPictureLoader::pictureShownAsItArrives() {
    QFETCH(QString, path);
    QFETCH(bool, arrives);
    PictureTestServer server;
    const QString address = server.url(path);
    EdDocument document;
    WebPictureLoader loader(document);
    insertWebPicture(document, address);
    // Until it arrives, a placeholder stands for it.
    const QImage placeholder = shown(document, address);
    QVERIFY(placeholder.width() > 1);
    // The same address twice is fetched once.
    insertWebPicture(document, address);
    QVERIFY(settle(loader));
    QCOMPARE(server.connections, path.startsWith(QLatin1String("/moved/")) ? 2 : 1);
    const QImage now = shown(document, address);
    if (arrives) {
        QCOMPARE(now.size(), QSize(1, 1));
        QCOMPARE(webpicturecache::read(address), PictureTestServer::gifBytes());
    } else {
        // The placeholder now says why, and nothing is kept.
        QCOMPARE(now.size(), placeholder.size());
        QVERIFY(now != placeholder);
        QVERIFY(webpicturecache::read(address).isEmpty());
    }
    // The document still holds the picture by its address alone.
    const QList<DocItem> items = document.rootData().items();
    const auto picture = std::find_if(items.begin(), items.end(), [](const DocItem& item) {
        return item.kind == DocItem::Picture;
    });
    QVERIFY(picture != items.end());
    const DocPicture held = DocPicture::fromFormat(picture->format.toImageFormat());
    QCOMPARE(held.address, address);
    QVERIFY(held.bytes.isEmpty());
}

void TestWebPictureLoader::keptPictureShownWhenOffline() {
    QString address;
    {
        PictureTestServer server;
        address = server.url(QStringLiteral("/pictures/sky.gif"));
        EdDocument document;
        WebPictureLoader loader(document);
        insertWebPicture(document, address);
        QVERIFY(settle(loader));
    }
    // The server is gone: the picture comes from the cache and stays.
    EdDocument document;
    WebPictureLoader loader(document);
    insertWebPicture(document, address);
    QVERIFY(settle(loader));
    QCOMPARE(shown(document, address).size(), QSize(1, 1));

    // A damaged cache file is not shown as the picture.
    QDir folder(webpicturecache::folder());
    const QStringList files = folder.entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QFile file(folder.filePath(files.first()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("damaged");
    file.close();
    QVERIFY(webpicturecache::read(address).isEmpty());
}

void TestWebPictureLoader::clearedDocumentWhileFetching() {
    PictureTestServer server;
    const QString address = server.url(QStringLiteral("/pictures/sky.gif"));
    EdDocument document;
    WebPictureLoader loader(document);
    insertWebPicture(document, address);
    QCoreApplication::processEvents();
    document.clear();
    QVERIFY(settle(loader));
    // Nothing of the old document comes back, and the new one still gets it.
    QVERIFY(shown(document, address).isNull());
    insertWebPicture(document, address);
    QVERIFY(settle(loader));
    QCOMPARE(shown(document, address).size(), QSize(1, 1));
}

QTEST_MAIN(TestWebPictureLoader)
#include "tst_webpictureloader.moc"
