#include "http/picturetestserver.h"
#include "pagegen/publishingstate.h"
#include "publish/testimagesdialog.h"
#include "supportui/scripteddialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int shortLimitMs = 800;

QPushButton* button(QDialog& dialog, const char* name) {
    QPushButton* found = dialog.findChild<QPushButton*>(QLatin1String(name));
    Q_ASSERT(found);
    return found;
}

/// Clicks "Test image(s) online", remembers the rows, then closes the
/// dialog with `closer`.
std::function<int(QDialog&)> testThen(QStringList& rows, const char* closer) {
    return [&rows, closer](QDialog& dialog) {
        button(dialog, "btnTestImgHttp")->click();
        rows = static_cast<TestImagesDialog&>(dialog).rowTexts();
        button(dialog, closer)->click();
        return dialog.result();
    };
}

} // namespace

class TestTestImagesDialog : public QObject {
    Q_OBJECT
private slots:
    void rowText_data();
    void rowText();
    void oneRowAfterTheTest_data();
    void oneRowAfterTheTest();
    void longRowsReadWhole();
    void namesDifferingInLetterCaseAreEachChecked();
    void eachPictureHasItsOwnLimitAndTheMessageComesOnce();
    void buttonsWaitWhileAFetchWaits();
    void closeBoxStopsTheTestFirst();
    void unreachableProxyReportedOnce();
    void secondRunShowsOnlyItsResults();
    void emptyListEndsAtOnce();
    void noPicturesSaySoInsteadOfAnEmptyList_data();
    void noPicturesSaySoInsteadOfAnEmptyList();
    void showsThePictureBeingFetchedAndStops_data();
    void showsThePictureBeingFetchedAndStops();
    void decision_data();
    void decision();
    void disableCheckBoxMirrorsOnClickOnly();
    void viewInBrowserAsksForThePreview();
};

void TestTestImagesDialog::rowText_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("row");
    QTest::newRow("capitals kept") << "http://pics.example/Shop/Boat.JPG"
                                   << "Boat.JPG";
    QTest::newRow("encoded name decoded") << "http://pics.example/pic%231%20a.png"
                                          << "pic#1 a.png";
    QTest::newRow("port") << "http://pics.example:8080/a.gif"
                          << "a.gif";
    QTest::newRow("accents kept") << "http://pics.example/Été.gif"
                                  << "Été.gif";
    QTest::newRow("space kept") << "http://pics.example/my pic.gif"
                                << "my pic.gif";
}

void TestTestImagesDialog::rowText() {
    QFETCH(QString, address);
    QFETCH(QString, row);
    QCOMPARE(TestImagesDialog::rowText(address), row);
}

void TestTestImagesDialog::oneRowAfterTheTest_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("row");
    const QString notFound = QStringLiteral(" - * WARNING ! Image NOT found... *");
    QTest::newRow("picture") << "/pictures/sky.gif"
                             << "sky.gif - OK";
    QTest::newRow("capitals") << "/pictures/Boat.JPG"
                              << "Boat.JPG - OK";
    QTest::newRow("moved, same name") << "/moved/sky.gif"
                                      << "sky.gif - OK";
    QTest::newRow("moved, other name") << "/elsewhere/sky.gif"
                                       << "sky.gif" + notFound;
    QTest::newRow("404") << "/missing/sky.gif"
                         << "sky.gif" + notFound;
    QTest::newRow("HTML page") << "/page/sky.gif"
                               << "sky.gif" + notFound;
    QTest::newRow("HTML page sent as image/png") << "/disguised/sky.png"
                                                 << "sky.png" + notFound;
    QTest::newRow("401") << "/private/sky.gif"
                         << "sky.gif - * WARNING ! Image NOT AVAILABLE (password required) *";
    QTest::newRow("6 relocations") << "/hops/6/sky.gif"
                                   << "sky.gif - * WARNING ! More than 5 relocations in a row *";
    QTest::newRow("loop") << "/loop/sky.gif"
                          << "sky.gif - * WARNING ! 127.0.0.1 sends the picture round in a loop *";
    QTest::newRow("to file:")
        << "/tofile/sky.gif"
        << "sky.gif - * WARNING ! 127.0.0.1 sends the picture on to a non-web address (file:) *";
    QTest::newRow("stall") << "/stall/sky.gif"
                           << "sky.gif - * WARNING ! No answer within 0.8 seconds *";
    QTest::newRow("reset") << "/reset/sky.gif"
                           << "sky.gif - * WARNING ! Connection reset by 127.0.0.1 *";
    QTest::newRow("garbage") << "/garbage/sky.gif"
                             << "sky.gif - * WARNING ! 127.0.0.1 did not answer as a web server *";
    QTest::newRow("refused") << QStringLiteral("http://127.0.0.1:%1/sky.gif").arg(closedPort())
                             << "sky.gif - * WARNING ! Connection refused by 127.0.0.1 *";
}

void TestTestImagesDialog::oneRowAfterTheTest() {
    QFETCH(QString, path);
    QFETCH(QString, row);
    PictureTestServer server;
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    dialog.setTimeLimit(shortLimitMs);
    QStringList rows;
    dialogs.modalActions.enqueue(testThen(rows, "btnTestImgClose"));
    const QString address = path.startsWith(QLatin1Char('/')) ? server.url(path) : path;
    QCOMPARE(dialog.testImages({address}, QString(), QStringLiteral("80")), int(QDialog::Accepted));
    QCOMPARE(rows, QStringList{row});
    QCOMPARE(dialog.height(), 340);
}

void TestTestImagesDialog::longRowsReadWhole() {
    PictureTestServer server;
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    const QString address = server.url(QStringLiteral("/tofile/a-rather-long-picture-name.gif"));
    QStringList problems;
    dialogs.modalActions.enqueue([&](QDialog& shown) {
        shown.show();
        button(shown, "btnTestImgHttp")->click();
        QCoreApplication::processEvents();
        auto* list = shown.findChild<QListWidget*>(QStringLiteral("lbxImages"));
        const QListWidgetItem* item = list->item(0);
        const QRect rect = list->visualItemRect(item);
        const QRect needed = list->fontMetrics().boundingRect(QRect(0, 0, rect.width(), 10000),
                                                              Qt::TextWordWrap, item->text());
        if (list->fontMetrics().horizontalAdvance(item->text()) <= list->viewport()->width())
            problems << QStringLiteral("the row is not long: ") + item->text();
        if (rect.right() > list->viewport()->width() || needed.height() > rect.height())
            problems << QStringLiteral("cut: ") + item->text();
        if (!item->toolTip().contains(address) || !item->toolTip().contains(item->text()))
            problems << QStringLiteral("tooltip: ") + item->toolTip();
        button(shown, "btnTestImgClose")->click();
        return shown.result();
    });
    dialog.testImages({address}, QString(), QStringLiteral("80"));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestTestImagesDialog::namesDifferingInLetterCaseAreEachChecked() {
    PictureTestServer server;
    server.files = QStringList{"Sky.jpg"};
    PublishingState publishing;
    for (const char* name : {"sky.jpg", "Sky.jpg", "sky.jpg"})
        publishing.RequiredImages.add(server.url(QStringLiteral("/files/")) + QLatin1String(name));
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    QStringList rows;
    dialogs.modalActions.enqueue(testThen(rows, "btnTestImgClose"));
    dialog.testImages(publishing.RequiredImages.items(), QString(), QStringLiteral("80"));
    QCOMPARE(rows, (QStringList{"Sky.jpg - OK", "sky.jpg - * WARNING ! Image NOT found... *"}));
}

void TestTestImagesDialog::eachPictureHasItsOwnLimitAndTheMessageComesOnce() {
    PictureTestServer server;
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    dialog.setTimeLimit(shortLimitMs);
    QStringList rows;
    dialogs.modalActions.enqueue(testThen(rows, "btnTestImgClose"));
    dialog.testImages({server.url(QStringLiteral("/stall/a.gif")),
                       server.url(QStringLiteral("/slow/b.gif")),
                       server.url(QStringLiteral("/pictures/c.gif"))},
                      QString(), QString());
    QCOMPARE(rows, (QStringList{"a.gif - * WARNING ! No answer within 0.8 seconds *",
                                "b.gif - * WARNING ! Picture not received in full within 0.8 "
                                "seconds *",
                                "c.gif - OK"}));
    QCOMPARE(dialogs.shown,
             (QStringList{"modal: T_TestImages", "message: Connection to server timed out.\n"
                                                 "Please check your Internet access."}));
}

void TestTestImagesDialog::buttonsWaitWhileAFetchWaits() {
    PictureTestServer server;
    TestImagesDialog dialog;
    dialog.setTimeLimit(shortLimitMs);
    dialog.setRequiredImages({server.url(QStringLiteral("/stall/a.gif"))});
    QList<bool> enabledWhileWaiting;
    QTimer::singleShot(200, &dialog, [&] {
        for (const char* name :
             {"btnTestImgHttp", "btnTestImgClose", "btnPreviewInBrowser", "btnAbortPublish"})
            enabledWhileWaiting.append(button(dialog, name)->isEnabled());
    });
    dialog.runTest();
    QCOMPARE(enabledWhileWaiting, (QList<bool>{false, false, false, false}));
    for (const char* name :
         {"btnTestImgHttp", "btnTestImgClose", "btnPreviewInBrowser", "btnAbortPublish"})
        QVERIFY(button(dialog, name)->isEnabled());
}

void TestTestImagesDialog::closeBoxStopsTheTestFirst() {
    PictureTestServer server;
    TestImagesDialog dialog;
    dialog.setTimeLimit(60000);
    dialog.setRequiredImages({server.url(QStringLiteral("/pictures/a.gif")),
                              server.url(QStringLiteral("/stall/b.gif")),
                              server.url(QStringLiteral("/pictures/c.gif"))});
    dialog.show();
    QTimer::singleShot(300, &dialog, [&dialog] { dialog.close(); });
    dialog.runTest();
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isTesting());
    QCOMPARE(dialog.rowTexts(),
             (QStringList{"a.gif - OK", "b.gif - not tested", "c.gif - not tested"}));
    // Once the test has stopped, the close box closes.
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestTestImagesDialog::unreachableProxyReportedOnce() {
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    dialog.setTimeLimit(5000);
    const QString port = QString::number(closedPort());
    QStringList rows;
    dialogs.modalActions.enqueue(testThen(rows, "btnAbortPublish"));
    QCOMPARE(dialog.testImages({"http://pics.example/a.gif", "http://pics.example/b.gif",
                                "http://pics.example/c.gif"},
                               QStringLiteral("127.0.0.1"), port),
             int(QDialog::Rejected));
    const QString reason =
        QStringLiteral("The proxy server 127.0.0.1:%1 cannot be reached").arg(port);
    QCOMPARE(rows, (QStringList{"a.gif - * WARNING ! " + reason + " *", "b.gif - not tested",
                                "c.gif - not tested"}));
    QCOMPARE(dialogs.shownOf(QStringLiteral("message")),
             QStringList{reason + ".\nPlease check the proxy settings."});
}

void TestTestImagesDialog::secondRunShowsOnlyItsResults() {
    PictureTestServer server;
    TestImagesDialog dialog;
    dialog.setRequiredImages({server.url(QStringLiteral("/pictures/a.gif"))});
    dialog.runTest();
    dialog.runTest();
    QCOMPARE(dialog.rowTexts(), QStringList{"a.gif - OK"});
    QCOMPARE(server.requests.size(), 2);
}

void TestTestImagesDialog::emptyListEndsAtOnce() {
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    QStringList rows{"stale"};
    dialogs.modalActions.enqueue(testThen(rows, "btnTestImgClose"));
    QCOMPARE(dialog.testImages({}, QString(), QString()), int(QDialog::Accepted));
    QCOMPARE(rows, QStringList());
}

void TestTestImagesDialog::noPicturesSaySoInsteadOfAnEmptyList_data() {
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("then");
    const QStringList none;
    const QStringList one{"http://pics.example/a.gif"};
    QTest::newRow("none") << none << none;
    QTest::newRow("one") << one << one;
    QTest::newRow("none, then one") << none << one;
    QTest::newRow("one, then none") << one << none;
}

void TestTestImagesDialog::noPicturesSaySoInsteadOfAnEmptyList() {
    QFETCH(QStringList, first);
    QFETCH(QStringList, then);
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    struct Seen {
        bool list = false;
        bool note = false;
    } seen;
    auto look = [&seen](QDialog& shown) {
        shown.show();
        seen.list = shown.findChild<QListWidget*>(QStringLiteral("lbxImages"))->isVisible();
        seen.note = shown.findChild<QLabel*>(QStringLiteral("lblTestImgNone"))->isVisible();
        button(shown, "btnTestImgClose")->click();
        return shown.result();
    };
    for (const QStringList& images : {first, then}) {
        dialogs.modalActions.enqueue(look);
        dialog.testImages(images, QString(), QString());
        QCOMPARE(seen.note, images.isEmpty());
        QCOMPARE(seen.list, !images.isEmpty());
    }
}

void TestTestImagesDialog::showsThePictureBeingFetchedAndStops_data() {
    QTest::addColumn<bool>("escape"); // else the close box
    QTest::newRow("Esc") << true;
    QTest::newRow("close box") << false;
}

void TestTestImagesDialog::showsThePictureBeingFetchedAndStops() {
    QFETCH(bool, escape);
    PictureTestServer server;
    TestImagesDialog dialog;
    dialog.setTimeLimit(60000);
    dialog.setRequiredImages({server.url(QStringLiteral("/pictures/a.gif")),
                              server.url(QStringLiteral("/stall/b.gif")),
                              server.url(QStringLiteral("/pictures/c.gif"))});
    dialog.show();
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("pbTestImages"));
    auto* hint = dialog.findChild<QLabel*>(QStringLiteral("lblTestImgHint"));
    QVERIFY(bar && hint);
    QVERIFY(!bar->isVisible());
    struct Seen {
        QStringList rows;
        int busyRow = -1;
        QString bar;
        bool barShown = false;
        bool hintShown = false;
    };
    QList<Seen> seen;
    // Each step of the bar: the first picture fetched, the second one waits.
    connect(bar, &QProgressBar::valueChanged, &dialog, [&](int value) {
        if (value != 1 || !dialog.isTesting())
            return;
        seen.append({dialog.rowTexts(), dialog.busyRow(), bar->text(), bar->isVisible(),
                     hint->isVisible()});
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
    });
    dialog.runTest();
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.at(0).rows, (QStringList{"a.gif - OK", "b.gif - checking...", "c.gif"}));
    QCOMPARE(seen.at(0).busyRow, 1);
    QCOMPARE(seen.at(0).bar, QStringLiteral("Checking picture 2 of 3"));
    QVERIFY(seen.at(0).barShown);
    QVERIFY(seen.at(0).hintShown);
    QCOMPARE(hint->text(), QStringLiteral("Esc stops the test."));
    // Stopped, not closed: what was found stays in view, the bar goes.
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isTesting());
    QCOMPARE(dialog.busyRow(), -1);
    QCOMPARE(dialog.rowTexts(),
             (QStringList{"a.gif - OK", "b.gif - not tested", "c.gif - not tested"}));
    QVERIFY(!bar->isVisible());
}

void TestTestImagesDialog::decision_data() {
    QTest::addColumn<QString>("closer");
    QTest::addColumn<int>("result");
    QTest::newRow("Continue Publishing") << "btnTestImgClose" << int(QDialog::Accepted);
    QTest::newRow("Abort Publishing") << "btnAbortPublish" << int(QDialog::Rejected);
    QTest::newRow("Esc") << "Esc" << int(QDialog::Rejected);
    QTest::newRow("Enter") << "Enter" << int(QDialog::Accepted);
}

void TestTestImagesDialog::decision() {
    QFETCH(QString, closer);
    QFETCH(int, result);
    ScriptedDialogs dialogs;
    TestImagesDialog dialog;
    dialog.setUserDialogs(&dialogs);
    dialogs.modalActions.enqueue([closer](QDialog& shown) {
        shown.show();
        if (closer == QLatin1String("Esc"))
            QTest::keyClick(&shown, Qt::Key_Escape);
        else if (closer == QLatin1String("Enter"))
            QTest::keyClick(&shown, Qt::Key_Return);
        else
            button(shown, qPrintable(closer))->click();
        return shown.result();
    });
    QCOMPARE(dialog.testImages({"http://pics.example/a.gif"}, QString(), QString()), result);
    QCOMPARE(dialog.rowTexts(), QStringList{"a.gif"});
}

void TestTestImagesDialog::disableCheckBoxMirrorsOnClickOnly() {
    TestImagesDialog dialog;
    QSignalSpy clicked(&dialog, &TestImagesDialog::disableImgWinClicked);
    QVERIFY(!dialog.disableImgWin());
    dialog.setDisableImgWin(true);
    QCOMPARE(clicked.size(), 0);
    auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("cbxDisableImgWin"));
    box->click();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toBool(), false);
    QVERIFY(!dialog.disableImgWin());
}

void TestTestImagesDialog::viewInBrowserAsksForThePreview() {
    TestImagesDialog dialog;
    QSignalSpy preview(&dialog, &TestImagesDialog::viewInBrowserRequested);
    button(dialog, "btnPreviewInBrowser")->click();
    QCOMPARE(preview.size(), 1);
}

QTEST_MAIN(TestTestImagesDialog)
#include "tst_testimagesdialog.moc"
