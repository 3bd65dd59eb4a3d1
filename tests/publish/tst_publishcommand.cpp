#include "docmodel/docpicture.h"
#include "docmodel/documentstate.h"
#include "docmodel/eddocument.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "editor/tdoceditor.h"
#include "http/picturetestserver.h"
#include "http/uploadrun.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "listing/webphoto.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/uilanguage.h"
#include "publish/listingclipboard.h"
#include "publish/listingfindingsdialog.h"
#include "publish/publishcommand.h"
#include "publish/testimagesdialog.h"
#include "publish/uploaddialog.h"
#include "published/publishedrecord.h"
#include "settings/servermirror.h"
#include "settings/settings.h"
#include "support/sampledocument.h"
#include "support/testfolders.h"
#include "support/webdavtestserver.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

/// The seller's server as the upload sees it: what it holds, what it
/// refuses; its pictures are served on `web` under /files/ for the image
/// test.
struct FakeServer {
    PictureTestServer web;
    QHash<QString, QByteArray> files;
    /// Names the server refuses, with the problem it gives.
    QHash<QString, UploadProblem> refused;
    /// Every operation meets a certificate nobody trusts, until one is
    /// pinned.
    bool untrusted = false;
    /// Sending never ends (until cancelled).
    bool hold = false;
    /// The password of every operation.
    QStringList passwords;
    int sends = 0;

    QString publicAddress() const { return web.url(QStringLiteral("/files/")); }
    void lose(const QString& name) {
        files.remove(name);
        web.files.removeAll(name);
    }
};

class FakeFolder : public RemoteFolder {
public:
    FakeFolder(const UploadAccount& account, FakeServer& server, QObject* parent)
        : RemoteFolder(account, parent)
        , m_server(server) {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] { finish(); });
    }
    void send(const QString& remoteName, const QByteArray& bytes) override {
        ++m_server.sends;
        begin(remoteName, bytes);
    }
    void remove(const QString& remoteName) override {
        m_server.lose(remoteName);
        begin({}, {});
    }
    void test() override { begin({}, {}); }
    void cancel() override {
        m_timer.stop();
        m_busy = false;
    }
    bool isBusy() const override { return m_busy; }

private:
    void begin(const QString& name, const QByteArray& bytes) {
        m_server.passwords.append(account().password);
        m_name = name;
        m_bytes = bytes;
        m_busy = true;
        if (!m_server.hold || name.isEmpty())
            m_timer.start();
    }
    void finish() {
        m_busy = false;
        UploadOutcome outcome;
        if (m_server.untrusted && account().pinnedKey.isEmpty()) {
            outcome.problem = UploadProblem::UntrustedCertificate;
            outcome.message = QStringLiteral("The certificate of 127.0.0.1 is not trusted.");
            outcome.identity.kind = ServerIdentity::Kind::Certificate;
            outcome.identity.fingerprint = QStringLiteral("AB:CD");
            outcome.identity.trustLine = QStringLiteral("sha256//q83vEjRWeJA=");
        } else if (m_server.refused.contains(m_name)) {
            outcome.problem = m_server.refused.value(m_name);
            outcome.message = m_name + QStringLiteral(" was refused by the server.");
        } else if (!m_name.isEmpty()) {
            emit progress(m_bytes.size(), m_bytes.size());
            m_server.files.insert(m_name, m_bytes);
            if (!m_server.web.files.contains(m_name))
                m_server.web.files.append(m_name);
        }
        emit finished(outcome);
    }

    FakeServer& m_server;
    QTimer m_timer;
    QString m_name;
    QByteArray m_bytes;
    bool m_busy = false;
};

QPushButton* button(QDialog& dialog, const char* name) {
    QPushButton* found = dialog.findChild<QPushButton*>(QLatin1String(name));
    Q_ASSERT(found);
    return found;
}

/// Lets the upload dialog's run end, keeps its rows, and closes the dialog
/// when it stayed open; with `cancel`, cancels the run as soon as it began.
std::function<int(QDialog&)> upload(QStringList* rows = nullptr, bool cancel = false) {
    return [rows, cancel](QDialog& dialog) {
        auto* window = qobject_cast<UploadDialog*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        window->start();
        if (cancel)
            button(dialog, "btnUploadCancel")->click();
        // A run that never ends is cancelled by the command, and the test fails.
        if (!QTest::qWaitFor([window] { return !window->isRunning(); }, 10000))
            return int(QDialog::Rejected);
        if (rows)
            *rows = window->rowTexts();
        if (window->result() != QDialog::Accepted)
            button(dialog, "btnUploadCancel")->click();
        return window->result();
    };
}

/// "Publish anyway" on the listing rules' findings: the test server's
/// addresses are plain http://.
int publishAnyway(QDialog& dialog) {
    return dialog.objectName() == QLatin1String("T_frmListingFindings") ? QDialog::Accepted
                                                                        : QDialog::Rejected;
}

/// Runs the image test and continues publishing, keeping the rows.
std::function<int(QDialog&)> imageTest(QStringList* rows) {
    return [rows](QDialog& dialog) {
        if (!qobject_cast<TestImagesDialog*>(&dialog))
            return int(QDialog::Rejected);
        button(dialog, "btnTestImgHttp")->click();
        *rows = static_cast<TestImagesDialog&>(dialog).rowTexts();
        button(dialog, "btnTestImgClose")->click();
        return dialog.result();
    };
}

/// The publish fixture with the seller's server taking uploads, the image
/// test and the settings that name the server.
struct UploadFixture : PublishFixture {
    FakeServer server;
    Settings settings{folders.folders().settingsFile()};
    TestImagesDialog test;
    QString password = QStringLiteral("s3cret-word");

    UploadFixture() {
        servers.UseOwnServer = true;
        servers.PrimaryServer = server.publicAddress();
        settings.setText(SettingKey::primSrv, server.publicAddress());
        settings.setInteger(SettingKey::ownSrv, 1);
        settings.setInteger(SettingKey::upProto, 2);
        settings.setText(SettingKey::upHost, QStringLiteral("127.0.0.1"));
        settings.setText(SettingKey::upUser, QStringLiteral("seller"));
        test.setUserDialogs(&dialogs);
        test.setTimeLimit(5000);
        command.setImageTest(&test, &settings);
        command.setUpload(&settings);
        command.setUploadSeams(
            [this](const UploadAccount& account, QObject* parent) {
                return std::unique_ptr<RemoteFolder>(new FakeFolder(account, server, parent));
            },
            [this](const QString&) { return Result<QString>(password); });
        type(QStringLiteral("Clock"));
        insertPicture(QStringLiteral("Sky.png"));
        folders.write(QStringLiteral("user/images/My images/Back.png"), sampledocument::pngBytes());
        layoutDocument.setText(&Layout::TxtBgImg, QStringLiteral("/My images/Back.png"));
        layoutDocument.setFlag(&Layout::TxtImgHide, false);
        QApplication::clipboard()->setText(QStringLiteral("copied before"));
    }
    bool copied() const {
        return QApplication::clipboard()->text() != QLatin1String("copied before");
    }
};

} // namespace

class TestPublishCommand : public QObject {
    Q_OBJECT
private slots:
    void picturesWithoutAnAddressStopPublishing_data();
    void picturesWithoutAnAddressStopPublishing();
    void uploadWhilePublishing_data();
    void uploadWhilePublishing();
    void cancelledUploadCopiesNothing();
    void uploadShowsThePictureBeingSentAndHowToStop();
    void findingsNameTheLayoutControlOfAPicture_data();
    void findingsNameTheLayoutControlOfAPicture();
    void untrustedServerIsAskedAbout_data();
    void untrustedServerIsAskedAbout();
    void lostPictureIsSentAgain();
    void publishesThroughARealWebDavServer();
    void publishedListingIsNoted_data();
    void publishedListingIsNoted();
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

void TestPublishCommand::uploadWhilePublishing_data() {
    QTest::addColumn<bool>("configured");
    QTest::addColumn<QString>("refused");  // a picture the server refuses; empty: none
    QTest::addColumn<int>("problem");      // UploadProblem of the refusal
    QTest::addColumn<QString>("password"); // as the secret store has it
    QTest::addColumn<bool>("goOn");        // the seller's answer on the failures
    QTest::addColumn<QString>("message");  // a part of the failure message; empty: none
    QTest::addColumn<bool>("copied");
    const int none = int(UploadProblem::None);
    QTest::newRow("nominal: every picture sent, image test, copied")
        << true << "" << none << "s3cret-word" << false << "" << true;
    QTest::newRow("nominal: no upload server set, published as before")
        << false << "" << none << "s3cret-word" << false << "" << true;
    QTest::newRow("robustness: a picture refused, the seller stops")
        << true << "Back.png" << int(UploadProblem::ServerFull) << "s3cret-word" << false
        << "Back.png: Back.png was refused by the server." << false;
    QTest::newRow("robustness: a picture refused, the seller goes on")
        << true << "Sky.png" << int(UploadProblem::NameRefused) << "s3cret-word" << true
        << "Sky.png: Sky.png was refused by the server." << true;
    QTest::newRow("robustness: login refused without a stored password says where to set it")
        << true << "Sky.png" << int(UploadProblem::WrongLogin) << "" << false
        << "set the password in Options > Upload" << false;
}

void TestPublishCommand::uploadWhilePublishing() {
    QFETCH(bool, configured);
    QFETCH(QString, refused);
    QFETCH(int, problem);
    QFETCH(QString, password);
    QFETCH(bool, goOn);
    QFETCH(QString, message);
    QFETCH(bool, copied);
    UploadFixture f;
    if (!configured)
        f.settings.setInteger(SettingKey::upProto, 0);
    // Without the upload the pictures are already where the listing says.
    if (!configured)
        f.server.web.files = QStringList{QStringLiteral("Back.png"), QStringLiteral("Sky.png")};
    if (!refused.isEmpty())
        f.server.refused.insert(refused, UploadProblem(problem));
    f.password = password;
    QStringList uploadRows;
    QStringList testRows;
    if (configured)
        f.dialogs.modalActions.enqueue(upload(&uploadRows));
    f.dialogs.modalActions.enqueue(publishAnyway);
    f.dialogs.modalActions.enqueue(imageTest(&testRows));
    f.dialogs.answers.enqueue(goOn ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);

    const bool done = f.command.btnExportClick();

    QVERIFY2(done == copied, qPrintable(f.dialogs.shown.join('|')));
    QCOMPARE(f.copied(), copied);
    const QStringList questions = f.dialogs.shownOf(QStringLiteral("yesno"));
    if (message.isEmpty()) {
        QVERIFY2(questions.isEmpty(), qPrintable(questions.join('|')));
    } else {
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.constFirst().contains(message), qPrintable(questions.constFirst()));
    }
    QStringList expectedModals;
    if (configured)
        expectedModals << QStringLiteral("T_frmUpload");
    if (copied)
        expectedModals << QStringLiteral("T_frmListingFindings") << QStringLiteral("T_TestImages");
    QCOMPARE(f.dialogs.shownOf(QStringLiteral("modal")), expectedModals);
    if (copied) {
        // Every picture the listing names loads from the seller's server,
        // except the one it refused.
        QCOMPARE(testRows.size(), 2);
        for (const QString& row : std::as_const(testRows))
            QCOMPARE(row.endsWith(QLatin1String(" - OK")),
                     !row.startsWith(refused + " ") || refused.isEmpty());
        QVERIFY(QApplication::clipboard()->text().contains(f.server.publicAddress() +
                                                           QStringLiteral("Back.png")));
    }
    if (!configured) {
        QCOMPARE(f.server.sends, 0);
        return;
    }
    QCOMPARE(uploadRows.size(), 2);
    for (const QString& name : {QStringLiteral("Back.png"), QStringLiteral("Sky.png")})
        QCOMPARE(f.server.files.contains(name), name != refused);
    // The password reaches the server and no text the seller sees.
    QVERIFY(f.server.passwords.contains(password));
    if (!password.isEmpty())
        QVERIFY(!f.dialogs.shown.join('|').contains(password));
}

void TestPublishCommand::cancelledUploadCopiesNothing() {
    UploadFixture f;
    f.server.hold = true;
    f.dialogs.modalActions.enqueue(upload(nullptr, true));

    QVERIFY(!f.command.btnExportClick());

    QVERIFY(!f.copied());
    QCOMPARE(f.dialogs.shownOf(QStringLiteral("modal")), QStringList{"T_frmUpload"});
    QVERIFY(f.server.files.isEmpty());
    QVERIFY2(f.dialogs.shownOf(QStringLiteral("yesno")).isEmpty(),
             qPrintable(f.dialogs.shown.join('|')));
}

void TestPublishCommand::uploadShowsThePictureBeingSentAndHowToStop() {
    UploadFixture f;
    f.server.hold = true;
    struct Seen {
        int busyRow = -1;
        bool hint = false;
        QString bar;
        QString hintText;
    } whileSending, afterwards;
    f.dialogs.modalActions.enqueue([&](QDialog& dialog) {
        auto* window = qobject_cast<UploadDialog*>(&dialog);
        if (!window)
            return int(QDialog::Rejected);
        auto* hint = dialog.findChild<QLabel*>(QStringLiteral("lblUploadHint"));
        auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("pbUploadTotal"));
        window->start();
        // The first picture waits on the server until the seller stops it.
        if (!QTest::qWaitFor([window] { return window->busyRow() >= 0; }, 10000))
            return int(QDialog::Rejected);
        whileSending = {window->busyRow(), hint->isVisibleTo(window), bar->text(), hint->text()};
        QTest::keyClick(window, Qt::Key_Escape);
        if (!QTest::qWaitFor([window] { return !window->isRunning(); }, 10000))
            return int(QDialog::Rejected);
        afterwards = {window->busyRow(), hint->isVisibleTo(window), bar->text(), hint->text()};
        return window->result();
    });

    QVERIFY(!f.command.btnExportClick());

    QCOMPARE(whileSending.busyRow, 0);
    QVERIFY(whileSending.hint);
    QCOMPARE(whileSending.hintText, QStringLiteral("Esc or Cancel stops sending."));
    QCOMPARE(whileSending.bar, QStringLiteral("0 of 2 pictures done"));
    QCOMPARE(afterwards.busyRow, -1);
    QVERIFY(!afterwards.hint);
    QVERIFY(!f.copied());
}

void TestPublishCommand::findingsNameTheLayoutControlOfAPicture_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("places");
    QTest::newRow("English") << "en"
                             << QStringList{"Ad's Background, Width & Position \u25b8 Back image",
                                            "Text Area \u25b8 Back image"};
    QTest::newRow("French") << "fr"
                            << QStringList{"Fond, largeur & position de l'annonce \u25b8 Image de "
                                           "fond",
                                           "Zone de texte \u25b8 Image de fond"};
}

void TestPublishCommand::findingsNameTheLayoutControlOfAPicture() {
    QFETCH(QString, language);
    QFETCH(QStringList, places);
    uilanguage::setCurrent(QCoreApplication::applicationDirPath() + QLatin1Char('/'), language);
    const auto english =
        qScopeGuard([] { uilanguage::setCurrent(QString(), QStringLiteral("en")); });
    UploadFixture f;
    f.folders.write(QStringLiteral("user/images/My images/Page.png"), sampledocument::pngBytes());
    f.layoutDocument.setText(&Layout::AdImg, QStringLiteral("/My images/Page.png"));
    f.layoutDocument.setFlag(&Layout::AdImgHide, false);
    f.settings.setInteger(SettingKey::upProto, 0);
    f.server.web.files = QStringList{QStringLiteral("Back.png"), QStringLiteral("Sky.png")};
    QStringList items;
    f.dialogs.modalActions.enqueue([&items](QDialog& dialog) {
        if (auto* findings = qobject_cast<ListingFindingsDialog*>(&dialog))
            for (int row = 0; row < findings->list()->count(); ++row)
                items.append(findings->list()->item(row)->text());
        return int(QDialog::Rejected);
    });

    QVERIFY(!f.command.btnExportClick());

    // The layout's picture by the control it is chosen with, the document's
    // by its address; neither by a line of the page.
    const QString documentPicture = f.server.publicAddress() + QStringLiteral("Sky.png");
    for (const QString& place : std::as_const(places))
        QVERIFY2(items.filter(QStringLiteral(": ") + place + QLatin1Char('\n')).size() == 1,
                 qPrintable(place + QStringLiteral(" in ") + items.join('|')));
    QCOMPARE(items.filter(documentPicture).size(), 1);
    QVERIFY2(items.filter(QStringLiteral("line")).isEmpty(), qPrintable(items.join('|')));
}

void TestPublishCommand::untrustedServerIsAskedAbout_data() {
    QTest::addColumn<bool>("trusted"); // the seller's answer
    QTest::newRow("nominal: the seller trusts the certificate, sent and copied") << true;
    QTest::newRow("robustness: the seller does not trust it, nothing sent or copied") << false;
}

void TestPublishCommand::untrustedServerIsAskedAbout() {
    QFETCH(bool, trusted);
    UploadFixture f;
    f.server.untrusted = true;
    QStringList testRows;
    f.dialogs.modalActions.enqueue(upload());
    f.dialogs.modalActions.enqueue(upload());
    f.dialogs.modalActions.enqueue(publishAnyway);
    f.dialogs.modalActions.enqueue(imageTest(&testRows));
    f.dialogs.answers.enqueue(trusted ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);

    QCOMPARE(f.command.btnExportClick(), trusted);

    QCOMPARE(f.copied(), trusted);
    const QStringList questions = f.dialogs.shownOf(QStringLiteral("yesno"));
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.constFirst().contains(QLatin1String("AB:CD")),
             qPrintable(questions.constFirst()));
    // Once trusted, the run goes again with the pinned key.
    QCOMPARE(f.server.files.size(), trusted ? 2 : 0);
    QCOMPARE(f.settings.text(SettingKey::upPin).isEmpty(), !trusted);
    QCOMPARE(f.dialogs.shownOf(QStringLiteral("modal")).size(), trusted ? 4 : 1);
}

void TestPublishCommand::lostPictureIsSentAgain() {
    UploadFixture f;
    QStringList testRows;
    f.dialogs.modalActions.enqueue(upload());
    f.dialogs.modalActions.enqueue(publishAnyway);
    f.dialogs.modalActions.enqueue(imageTest(&testRows));
    QVERIFY(f.command.btnExportClick());
    QCOMPARE(f.server.sends, 2);

    // The server lost a picture the record says is there.
    f.server.lose(QStringLiteral("Sky.png"));
    QStringList uploadRows;
    f.dialogs.shown.clear();
    f.dialogs.modalActions.enqueue(upload(&uploadRows));
    f.dialogs.modalActions.enqueue(publishAnyway);
    f.dialogs.modalActions.enqueue(imageTest(&testRows));
    f.dialogs.modalActions.enqueue(upload());
    f.dialogs.modalActions.enqueue(imageTest(&testRows));
    f.dialogs.answers.enqueue(UserDialogs::Answer::Yes);
    QVERIFY(f.command.btnExportClick());

    // Nothing was sent the first time round; the test found the hole, and
    // the picture went again.
    QCOMPARE(f.server.sends, 3);
    QVERIFY2(uploadRows.filter(QStringLiteral("sent")).isEmpty(), qPrintable(uploadRows.join('|')));
    const QStringList questions = f.dialogs.shownOf(QStringLiteral("yesno"));
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.constFirst().contains(QLatin1String("Sky.png")),
             qPrintable(questions.constFirst()));
    QVERIFY(f.server.files.contains(QStringLiteral("Sky.png")));
    QCOMPARE(testRows, (QStringList{"Back.png - OK", "Sky.png - OK"}));
}

void TestPublishCommand::publishesThroughARealWebDavServer() {
    QTemporaryDir folder;
    const QString root = folder.filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(root));
    const QString password = QStringLiteral("pass word");
    QString why;
    // Its certificate is one of its own, which the seller pinned.
    const std::unique_ptr<WebDavTestServer> webDav =
        WebDavTestServer::start(root, QStringLiteral("seller"), password, {}, &why);
    QVERIFY2(webDav, qPrintable(why));
    UploadFixture f;
    f.command.setUploadSeams({}, [&](const QString&) { return Result<QString>(password); });
    f.settings.setInteger(SettingKey::upPort, webDav->port());
    f.settings.setText(SettingKey::upFolder, QStringLiteral("shop/pics"));
    f.settings.setText(SettingKey::upPin, webDav->pin());
    // The image test would need the folder on a public web server.
    f.settings.setHideCheckImage(true);
    QStringList rows;
    f.dialogs.modalActions.enqueue(upload(&rows));
    f.dialogs.modalActions.enqueue(publishAnyway);

    QVERIFY2(f.command.btnExportClick(), qPrintable(f.dialogs.shown.join('|')));

    QCOMPARE(rows, (QStringList{"Back.png: sent", "Sky.png: sent"}));
    const QByteArray web = webphoto::prepare(sampledocument::pngBytes()).value().bytes;
    for (const QString& name : {QStringLiteral("Back.png"), QStringLiteral("Sky.png")}) {
        QFile sent(root + QStringLiteral("/shop/pics/") + name);
        QVERIFY2(sent.open(QIODevice::ReadOnly), qPrintable(sent.fileName()));
        QCOMPARE(sent.readAll(), web);
    }
    QVERIFY(f.copied());

    // Published again, nothing is sent: the server has every picture.
    f.dialogs.modalActions.enqueue(upload(&rows));
    f.dialogs.modalActions.enqueue(publishAnyway);
    QVERIFY2(f.command.btnExportClick(), qPrintable(f.dialogs.shown.join('|')));
    QCOMPARE(rows,
             (QStringList{"Back.png: already on the server", "Sky.png: already on the server"}));
}

void TestPublishCommand::publishedListingIsNoted_data() {
    QTest::addColumn<QString>("record"); // "sound", "damaged" (garbage), "unusable" (a folder)
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("listings");
    QTest::newRow("sound record") << "sound" << QStringList() << 1;
    QTest::newRow("damaged record: set aside, listing noted in a new one")
        << "damaged" << QStringList{"The record of published listings was damaged"} << 1;
    QTest::newRow("record cannot be opened: published all the same")
        << "unusable" << QStringList{"The listing code is on the clipboard, but"} << 0;
}

void TestPublishCommand::publishedListingIsNoted() {
    QFETCH(QString, record);
    QFETCH(QStringList, messages);
    QFETCH(int, listings);
    PublishFixture f;
    const QString file = PublishedRecord::fileIn(f.folders.folders().SharedDataFolder);
    QDir().mkpath(f.folders.folders().SharedDataFolder);
    if (record == QLatin1String("damaged"))
        f.folders.write(QStringLiteral("shared/published.sqlite"),
                        QByteArray("garbage, no database ").repeated(300));
    if (record == QLatin1String("unusable"))
        QVERIFY(QDir().mkpath(file));
    QVERIFY(file.startsWith(f.folders.folders().SharedDataFolder));
    PublishedRecord published(file);
    f.command.setRecord(&published);
    f.type(QStringLiteral("Oak chair, as new"));
    f.insertPicture(QStringLiteral("Sky.png"));
    f.servers.UseOwnServer = false;
    f.servers.PrimaryServer = QStringLiteral("https://mine.example/pics/");
    f.documentState.DocumentPath = QStringLiteral("/home/seller/chair.vdoc");
    f.layoutDocument.setFile(QStringLiteral("/home/seller/"), QStringLiteral("Oak.rbs"));

    QVERIFY(f.command.btnExportClick());

    const QString code = QApplication::clipboard()->text();
    QVERIFY(code.contains(QLatin1String("https://mine.example/pics/Sky.png")));
    const QStringList shown = f.dialogs.shownOf(QStringLiteral("message"));
    QCOMPARE(shown.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(shown.at(i).startsWith(messages.at(i)), qPrintable(shown.at(i)));
    if (record == QLatin1String("unusable"))
        return;
    const auto read = published.listings();
    QVERIFY(read);
    QCOMPARE(read.value().size(), listings);
    const PublishedListing& listing = read.value().at(0);
    QCOMPARE(listing.title, QStringLiteral("Oak chair, as new"));
    QCOMPARE(listing.code, code);
    QCOMPARE(listing.site, QString());
    QCOMPARE(listing.documentFile, QStringLiteral("/home/seller/chair.vdoc"));
    QCOMPARE(listing.layoutFile, QStringLiteral("/home/seller/Oak.rbs"));
    QVERIFY(listing.published.secsTo(QDateTime::currentDateTimeUtc()) < 600);
    QCOMPARE(listing.pictures.size(), 1);
    QCOMPARE(listing.pictures.at(0).address, QStringLiteral("https://mine.example/pics/Sky.png"));
    QCOMPARE(listing.pictures.at(0).hash,
             QString::fromLatin1(
                 QCryptographicHash::hash(sampledocument::pngBytes(), QCryptographicHash::Sha256)
                     .toHex()));
}

QTEST_MAIN(TestPublishCommand)
#include "tst_publishcommand.moc"
