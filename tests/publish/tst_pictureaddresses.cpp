#include "http/picturetestserver.h"
#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "listing/imageservers.h"
#include "pagegen/documentpictures.h"
#include "pagegen/listingvariables.h"
#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "publish/testimagesdialog.h"
#include "settings/servermirror.h"
#include "supportui/scripteddialogs.h"

#include <QPushButton>
#include <QTest>

namespace {

const QString kUserFolder = QStringLiteral("/home/ann/Documents/Vantrel/");
const QString kOwnPictures = kUserFolder + QStringLiteral("images/My images/");
const QString kServer = QStringLiteral("https://pics.example/shop/");

/// The address as a browser takes it: valid as written, nothing after the
/// path, and the path's last element the file's name.
void checkBrowserFindsTheFile(const QString& address, const QString& name) {
    const QUrl url(address, QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(address + QStringLiteral(": ") + url.errorString()));
    QVERIFY2(!url.hasQuery() && !url.hasFragment(), qPrintable(address));
    QCOMPARE(url.fileName(QUrl::FullyDecoded), name);
}

QString variable(const QList<ListingVariable>& variables, const QString& name) {
    for (const ListingVariable& v : variables) {
        if (v.name == name)
            return v.value;
    }
    return {};
}

void addNames() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("segment"); // the name as the address writes it
    QTest::newRow("hash") << "pic#1.png"
                          << "pic%231.png";
    QTest::newRow("question mark") << "a?b.png"
                                   << "a%3Fb.png";
    QTest::newRow("percent") << "100%.png"
                             << "100%25.png";
    QTest::newRow("percent and digits") << "50%20off.png"
                                        << "50%2520off.png";
    QTest::newRow("TAB") << "a\tb.png"
                         << "a%09b.png";
    QTest::newRow("backslash") << "back\\slash.png"
                               << "back%5Cslash.png";
    QTest::newRow("space") << "My Sky.jpg"
                           << "My%20Sky.jpg";
    QTest::newRow("colon") << "10:30.jpg"
                           << "10%3A30.jpg";
    QTest::newRow("accents") << "\u00c9t\u00e9.png"
                             << "%C3%89t%C3%A9.png";
    QTest::newRow("capitals kept") << "Sky.PNG"
                                   << "Sky.PNG";
}

} // namespace

class TestPictureAddresses : public QObject {
    Q_OBJECT
private slots:
    void documentPicture_data();
    void documentPicture();
    void layoutPicture_data();
    void layoutPicture();
    void documentAndLayoutTakeTheSameServerAddress();
    void imageTestFindsEveryPicture();
};

void TestPictureAddresses::documentPicture_data() {
    addNames();
}

void TestPictureAddresses::documentPicture() {
    QFETCH(QString, name);
    QFETCH(QString, segment);
    const QString file = kOwnPictures + name;
    ServerMirror servers;
    servers.OwnServer = 2;
    servers.SecondaryServer = kServer;
    PublishingState publishing;

    QString preview;
    QVERIFY(documentPictureLocation(publishing, servers, 0, file, preview));
    const QUrl local(preview, QUrl::StrictMode);
    QVERIFY2(local.isValid(), qPrintable(preview));
    QCOMPARE(local.toLocalFile(), file);

    publishing.Publishing = true;
    QString published;
    QVERIFY(documentPictureLocation(publishing, servers, 0, file, published));
    QCOMPARE(published, kServer + segment);
    checkBrowserFindsTheFile(published, name);
    QCOMPARE(publishing.RequiredImages.items(), QStringList{published});
}

void TestPictureAddresses::layoutPicture_data() {
    addNames();
}

void TestPictureAddresses::layoutPicture() {
    QFETCH(QString, name);
    QFETCH(QString, segment);
    Layout layout = Layout::withDefaults();
    layout.FBgImg = QStringLiteral("/My images/") + name;
    layout.FImgHide = false;

    PublishingState preview;
    const QUrl local(variable(listingVariables(layout, {kUserFolder, preview}), "fimg"),
                     QUrl::StrictMode);
    QVERIFY2(local.isValid(), qPrintable(local.toString()));
    QCOMPARE(local.toLocalFile(), kOwnPictures + name);

    PublishingState publishing;
    LayoutState layoutState;
    imageservers::placeLayoutPictures(layout, kServer, layoutState, publishing);
    QCOMPARE(layoutState.FrameImageFileName, name);
    QCOMPARE(publishing.FrameImageURL, kServer + segment);
    checkBrowserFindsTheFile(publishing.FrameImageURL, name);
    QCOMPARE(publishing.RequiredImages.items(), QStringList{publishing.FrameImageURL});
    // The page takes the address as it is: nothing is left to encode.
    publishing.Publishing = true;
    QCOMPARE(variable(listingVariables(layout, {kUserFolder, publishing}), "fimg"),
             publishing.FrameImageURL);
}

void TestPictureAddresses::documentAndLayoutTakeTheSameServerAddress() {
    // Typed without its last "/": both kinds of pictures go below it.
    ServerMirror servers;
    servers.UseOwnServer = true;
    servers.OwnServer = 1;
    servers.PrimaryServer = QStringLiteral("https://pics.example/shop");
    PublishingState publishing;
    publishing.Publishing = true;
    QString document;
    documentPictureLocation(publishing, servers, 0, kOwnPictures + QStringLiteral("Sky.png"),
                            document);
    Layout layout = Layout::withDefaults();
    layout.TxtBgImg = QStringLiteral("/My images/Sky.png");
    layout.TxtImgHide = false;
    LayoutState layoutState;
    imageservers::placeLayoutPictures(layout, imageservers::layoutPictureServer(servers, {}),
                                      layoutState, publishing);
    QCOMPARE(document, QStringLiteral("https://pics.example/shop/Sky.png"));
    QCOMPARE(publishing.TextImageURL, document);
    QCOMPARE(publishing.RequiredImages.items(), QStringList{document});
}

void TestPictureAddresses::imageTestFindsEveryPicture() {
    PictureTestServer server;
    const QStringList names = {"pic#1.png",    "a?b.png",  "100%.png",
                               "50%20off.png", "a\tb.png", "back\\slash.png"};
    ServerMirror servers;
    servers.OwnServer = 1;
    servers.PrimaryServer = server.url(QStringLiteral("/files/"));
    PublishingState publishing;
    publishing.Publishing = true;
    for (const QString& name : names) {
        server.files.append(name);
        QString location;
        documentPictureLocation(publishing, servers, 0, kOwnPictures + name, location);
    }
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    QStringList rows;
    dialogs.modalActions.enqueue([&rows](QDialog& shown) {
        shown.findChild<QPushButton*>(QStringLiteral("btnTestImgHttp"))->click();
        rows = static_cast<TestImagesDialog&>(shown).rowTexts();
        return int(QDialog::Accepted);
    });
    dialog.testImages(publishing.RequiredImages.items(), QString(), QStringLiteral("80"));
    // Each row names its picture as the seller's folder has it.
    QStringList expected;
    for (const QString& name : names)
        expected.append(name + QStringLiteral(" - OK"));
    rows.sort();
    expected.sort();
    QCOMPARE(rows, expected);
}

QTEST_MAIN(TestPictureAddresses)
#include "tst_pictureaddresses.moc"
