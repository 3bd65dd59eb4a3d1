#include "docmodel/docpicture.h"
#include "docmodel/documentstate.h"
#include "docmodel/eddocument.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "editor/tdoceditor.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "publish/listingclipboard.h"
#include "publish/publishcommand.h"
#include "settings/servermirror.h"
#include "support/sampledocument.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kNotSet = QStringLiteral("yesno: Your personal image server is not set");

/// The publish command on a real document page and page generator, the way
/// the main window wires them, without the publish dialog and the image test.
struct PublishFixture {
    TestFolders folders;
    ScriptedDialogs dialogs;
    DocumentState documentState;
    LayoutDocument layoutDocument;
    PublishingState publishing;
    ServerMirror servers;
    std::array<QString, 3> productServers = {QStringLiteral("https://s0.example/"),
                                             QStringLiteral("https://s1.example/"),
                                             QStringLiteral("https://s2.example/")};
    QString languageCode = QStringLiteral("en");
    DocumentPage page{dialogs,
                      {folders.folders(), documentState, layoutDocument, publishing, servers}};
    PageGenerator generator{folders.folders(), layoutDocument.state(), publishing,
                            layoutDocument.layout()};
    ListingClipboard clipboard;
    PublishCommand command{{documentState, layoutDocument, publishing, servers, productServers,
                            generator, clipboard, folders.folders(), languageCode},
                           dialogs,
                           nullptr};

    PublishFixture() {
        layoutDocument.setLayout(Layout::withDefaults());
        QDir().mkpath(folders.folders().ownImagesFolder());
        generator.setDocumentExport([this] { return page.richEditor().exportHtmlFragment(); });
        servers.DefaultServer = 1;
        servers.OwnServer = 1;
    }
    TDocEditor& editor() { return page.richEditor().editor(); }
    void type(const QString& text) {
        QTextCursor cursor = editor().textCursor();
        cursor.movePosition(QTextCursor::End);
        editor().edDocument().insertText(cursor, text, 0);
    }
    /// A picture inserted from a file of the own pictures folder.
    void insertPicture(const QString& name) {
        const QString file = folders.write(QStringLiteral("user/images/My images/") + name,
                                           sampledocument::pngBytes());
        DocPicture picture;
        QVERIFY(DocPicture::fromFile(file, picture));
        QTextCursor cursor = editor().textCursor();
        cursor.movePosition(QTextCursor::End);
        editor().edDocument().insertPicture(cursor, picture);
    }
};

} // namespace

class TestPublishCommand : public QObject {
    Q_OBJECT
private slots:
    void picturesWithoutAnAddressStopPublishing_data();
    void picturesWithoutAnAddressStopPublishing();
};

void TestPublishCommand::picturesWithoutAnAddressStopPublishing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("picture"); // inserted into the document; empty: none
    QTest::addColumn<bool>("layoutPicture");
    QTest::addColumn<bool>("useOwnServer"); // for the layout's pictures
    QTest::addColumn<int>("ownServer");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("published"); // a part of the copied code; empty: nothing copied
    QTest::newRow("nominal: description says file:")
        << "Seller profile: top rated, see file: 12"
        << "" << true << true << 1 << "https://mine.example/pics/"
        << "Seller profile: top rated, see file: 12";
    QTest::newRow("nominal: description says file:, with a picture")
        << "Seller profile: top rated"
        << "Sky.png" << false << false << 1 << "https://mine.example/pics/"
        << "src=\"https://mine.example/pics/Sky.png\"";
    QTest::newRow("robustness: document picture, personal server not set")
        << "Clock"
        << "Sky.png" << false << false << 1 << ""
        << "";
    QTest::newRow("robustness: document picture, no personal server chosen")
        << "Clock"
        << "Sky.png" << false << false << 0 << "https://mine.example/pics/"
        << "";
    QTest::newRow("robustness: layout picture, personal server not set")
        << "Clock"
        << "" << true << true << 1 << ""
        << "";
}

void TestPublishCommand::picturesWithoutAnAddressStopPublishing() {
    QFETCH(QString, text);
    QFETCH(QString, picture);
    QFETCH(bool, layoutPicture);
    QFETCH(bool, useOwnServer);
    QFETCH(int, ownServer);
    QFETCH(QString, primary);
    QFETCH(QString, published);
    PublishFixture f;
    f.type(text);
    if (!picture.isEmpty())
        f.insertPicture(picture);
    if (layoutPicture) {
        f.layoutDocument.setText(&Layout::TxtBgImg, QStringLiteral("/My images/Back.png"));
        f.layoutDocument.setFlag(&Layout::TxtImgHide, false);
    }
    f.servers.UseOwnServer = useOwnServer;
    f.servers.OwnServer = ownServer;
    f.servers.PrimaryServer = primary;
    QApplication::clipboard()->setText(QStringLiteral("copied before"));
    QSignalSpy settingsRequested(&f.command, &PublishCommand::settingsRequested);
    f.dialogs.answers.enqueue(UserDialogs::Answer::Yes);

    const bool done = f.command.btnExportClick();

    QCOMPARE(done, !published.isEmpty());
    if (published.isEmpty()) {
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY2(f.dialogs.shown.constFirst().startsWith(kNotSet),
                 qPrintable(f.dialogs.shown.join('|')));
        QCOMPARE(settingsRequested.size(), 1);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copied before"));
        return;
    }
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.shown.join('|')));
    QVERIFY(f.publishing.UnplacedPictures.isEmpty());
    const QString code = QApplication::clipboard()->text();
    QVERIFY2(code.contains(published), qPrintable(code.right(600)));
}

QTEST_MAIN(TestPublishCommand)
#include "tst_publishcommand.moc"
