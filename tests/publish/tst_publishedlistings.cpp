#include "http/picturetestserver.h"
#include "publish/listingclipboard.h"
#include "publish/publishedlistingswindow.h"
#include "publish/startupwatch.h"
#include "published/picturewatch.h"
#include "settings/settings.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

constexpr int waitMs = 30000;

struct Entry {
    QString title;
    QString site;
    int daysAgo;
    QStringList pictures;
};

/// A record in a folder of its own, and the window on it.
struct Fixture {
    QTemporaryDir folder;
    PublishedRecord record{folder.filePath(QStringLiteral("published.sqlite"))};
    ScriptedDialogs dialogs;
    ListingClipboard clipboard;
    PublishedListingsWindow window{record, dialogs, clipboard};
    PictureTestServer server;

    Fixture() {
        window.setCheckOptions([] {
            PictureCheckOptions options = PictureWatch::defaultOptions();
            options.timeLimitMs = 800;
            return options;
        });
    }
    qint64 add(const Entry& entry) {
        PublishedListing listing;
        listing.title = entry.title;
        listing.site = entry.site;
        listing.published = QDateTime::currentDateTimeUtc().addDays(-entry.daysAgo);
        listing.code = QStringLiteral("<p>") + entry.title + QStringLiteral("</p>\r\n");
        listing.documentFile = QStringLiteral("/docs/") + entry.title + QStringLiteral(".vdoc");
        for (const QString& path : entry.pictures) {
            PublishedPicture picture;
            picture.address = server.url(path);
            listing.pictures.append(picture);
        }
        return record.add(listing).value();
    }
    QPushButton* button(const char* name) const {
        QPushButton* found = window.findChild<QPushButton*>(QLatin1String(name));
        Q_ASSERT(found);
        return found;
    }
    QStringList column(int column) const {
        QStringList texts;
        for (int row = 0; row < window.table()->rowCount(); ++row)
            texts << window.table()->item(row, column)->text();
        return texts;
    }
    /// Selects the listing of that title, alone or besides the selection.
    void select(const QString& title, bool add = false) {
        QTableWidget* table = window.table();
        if (!add)
            table->clearSelection();
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->item(row, PublishedListingsWindow::TitleColumn)->text() == title)
                table->selectionModel()->select(table->model()->index(row, 0),
                                                QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
        }
    }
    QStringList pictureLines() const {
        QStringList lines;
        for (int row = 0; row < window.pictureList()->count(); ++row)
            lines << window.pictureList()->item(row)->text();
        return lines;
    }
};

} // namespace

class TestPublishedListings : public QObject {
    Q_OBJECT
private slots:
    void emptyRecordSaysWhatComesHere();
    void checkShowsWhichListingLostWhichPicture();
    void sortsByEachColumn_data();
    void sortsByEachColumn();
    void checkSelectedLeavesTheOthers();
    void cancelKeepsWhatWasFound();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void codeIsShownAndCopied();
    void documentIsAskedFor();
    void startupCheck_data();
    void startupCheck();
    void startupCheckAsksOnlyWhenSomethingIsMissing_data();
    void startupCheckAsksOnlyWhenSomethingIsMissing();
};

void TestPublishedListings::emptyRecordSaysWhatComesHere() {
    Fixture f;
    f.window.show();
    QVERIFY2(f.window.statusText().startsWith("Nothing published yet"),
             qPrintable(f.window.statusText()));
    f.add({"Chair", "Auctions Nord", 1, {"/pictures/chair.gif"}});
    f.window.refresh();
    QCOMPARE(f.window.statusText(), QString());
}

void TestPublishedListings::checkShowsWhichListingLostWhichPicture() {
    Fixture f;
    f.add({"Chair", "Auctions Nord", 3, {"/pictures/chair.gif", "/pictures/logo.gif"}});
    f.add({"Vase", "Auctions Sud", 2, {"/pictures/logo.gif", "/missing/vase.gif"}});
    f.window.show();
    QCOMPARE(f.column(PublishedListingsWindow::TitleColumn), (QStringList{"Vase", "Chair"}));
    QCOMPARE(f.column(PublishedListingsWindow::PicturesColumn),
             (QStringList{"2, not checked", "2, not checked"}));
    QSignalSpy finished(&f.window.watch(), &PictureWatch::finished);
    f.button("btnCheckAll")->click();
    QVERIFY(f.window.findChild<QProgressBar*>("prbCheck")->isVisible());
    QVERIFY(!f.button("btnCheckAll")->isEnabled());
    QVERIFY(finished.wait(waitMs));
    QVERIFY(!f.window.findChild<QProgressBar*>("prbCheck")->isVisible());
    QCOMPARE(f.column(PublishedListingsWindow::PicturesColumn),
             (QStringList{"1 of 2 missing", "2 OK"}));
    QVERIFY2(f.window.statusText().startsWith("1 of 3 pictures"),
             qPrintable(f.window.statusText()));
    f.select("Vase");
    const QStringList lines = f.pictureLines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), "logo.gif  OK");
    QVERIFY2(lines.at(1).startsWith("vase.gif  MISSING since " +
                                    QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) +
                                    ": NOT FOUND (404)"),
             qPrintable(lines.at(1)));
    // The whole address is a hover away.
    QCOMPARE(f.window.pictureList()->item(1)->toolTip(), f.server.url("/missing/vase.gif"));
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.shown.join('|')));
}

void TestPublishedListings::sortsByEachColumn_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("ascending");
    QTest::newRow("date") << int(PublishedListingsWindow::DateColumn)
                          << QStringList{"Oldest", "Middle", "Newest"};
    QTest::newRow("title") << int(PublishedListingsWindow::TitleColumn)
                           << QStringList{"Middle", "Newest", "Oldest"};
    QTest::newRow("site") << int(PublishedListingsWindow::SiteColumn)
                          << QStringList{"Newest", "Oldest", "Middle"};
    // Not checked first, then by how many pictures are missing.
    QTest::newRow("pictures") << int(PublishedListingsWindow::PicturesColumn)
                              << QStringList{"Middle", "Newest", "Oldest"};
}

void TestPublishedListings::sortsByEachColumn() {
    QFETCH(int, column);
    QFETCH(QStringList, ascending);
    Fixture f;
    const qint64 oldest = f.add({"Oldest", "Beta", 30, {"/a.gif", "/b.gif"}});
    f.add({"Middle", "Gamma", 20, {"/c.gif"}});
    const qint64 newest = f.add({"Newest", "Alpha", 2, {"/d.gif"}});
    const QDateTime when = QDateTime::currentDateTimeUtc();
    QVERIFY(f.record.storeFindings(
        {oldest, newest},
        {{f.server.url("/a.gif"), {PictureState::Missing, "NOT FOUND (404)"}},
         {f.server.url("/b.gif"), {PictureState::Unreachable, "TIMEOUT"}},
         {f.server.url("/d.gif"), {PictureState::Online, "OK"}}},
        when));
    f.window.show();
    f.window.table()->sortByColumn(column, Qt::AscendingOrder);
    QCOMPARE(f.column(PublishedListingsWindow::TitleColumn), ascending);
    f.window.table()->sortByColumn(column, Qt::DescendingOrder);
    std::reverse(ascending.begin(), ascending.end());
    QCOMPARE(f.column(PublishedListingsWindow::TitleColumn), ascending);
}

void TestPublishedListings::checkSelectedLeavesTheOthers() {
    Fixture f;
    f.add({"Kept", "", 3, {"/missing/a.gif"}});
    f.add({"Checked", "", 2, {"/pictures/b.gif"}});
    f.window.show();
    QVERIFY(!f.button("btnCheckSelected")->isEnabled());
    f.select("Checked");
    QVERIFY(f.button("btnCheckSelected")->isEnabled());
    QSignalSpy finished(&f.window.watch(), &PictureWatch::finished);
    f.button("btnCheckSelected")->click();
    QVERIFY(finished.wait(waitMs));
    QCOMPARE(f.window.watch().total(), 1);
    QCOMPARE(f.column(PublishedListingsWindow::PicturesColumn),
             (QStringList{"1 OK", "1, not checked"}));
    // The selection stays for the next command.
    QCOMPARE(f.window.selectedIds().size(), 1);
    QCOMPARE(f.pictureLines(), QStringList{"b.gif  OK"});
}

void TestPublishedListings::cancelKeepsWhatWasFound() {
    Fixture f;
    f.window.setCheckOptions([] {
        PictureCheckOptions options = PictureWatch::defaultOptions();
        options.timeLimitMs = 60000;
        return options;
    });
    f.add({"Half", "", 1, {"/missing/quick.gif", "/stall/never.gif"}});
    f.window.show();
    QSignalSpy progress(&f.window.watch(), &PictureWatch::progress);
    f.button("btnCheckAll")->click();
    QVERIFY(progress.wait(waitMs));
    QVERIFY(f.button("btnCancelCheck")->isVisible());
    f.button("btnCancelCheck")->click();
    QVERIFY(!f.window.watch().isRunning());
    QVERIFY(!f.button("btnCancelCheck")->isVisible());
    QCOMPARE(f.window.statusText(), "Check stopped: 1 of 2 pictures were checked.");
    f.select("Half");
    const QStringList lines = f.pictureLines();
    QVERIFY2(lines.at(0).startsWith("quick.gif  MISSING since"), qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), "never.gif  not checked");
    QVERIFY(f.button("btnCheckAll")->isEnabled());
}

void TestPublishedListings::deleteAsksFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("yes") << true << QStringList{"Two"};
    QTest::newRow("no") << false << QStringList{"Three", "Two", "One"};
}

void TestPublishedListings::deleteAsksFirst() {
    QFETCH(bool, yes);
    QFETCH(QStringList, left);
    Fixture f;
    f.add({"One", "", 3, {}});
    f.add({"Two", "", 2, {}});
    f.add({"Three", "", 1, {}});
    f.window.show();
    f.select("One");
    f.select("Three", true);
    QCOMPARE(f.window.selectedIds().size(), 2);
    f.dialogs.answers.enqueue(yes ? UserDialogs::Answer::Yes : UserDialogs::Answer::No);
    f.button("btnDeleteListings")->click();
    QCOMPARE(f.dialogs.shownOf("yesno").size(), 1);
    QVERIFY(f.dialogs.shownOf("yesno").at(0).startsWith("Delete 2 listing(s)"));
    QCOMPARE(f.column(PublishedListingsWindow::TitleColumn), left);
    // What the window shows is what the record holds.
    QCOMPARE(f.record.listings().value().size(), left.size());
}

void TestPublishedListings::codeIsShownAndCopied() {
    Fixture f;
    f.add({"Lamp", "", 1, {}});
    f.window.show();
    QVERIFY(!f.button("btnViewCode")->isEnabled());
    f.select("Lamp");
    QString shown;
    f.dialogs.modalActions.enqueue([&shown](QDialog& dialog) {
        shown = dialog.findChild<QPlainTextEdit*>("memListingCode")->toPlainText();
        return int(QDialog::Rejected);
    });
    f.button("btnViewCode")->click();
    QCOMPARE(shown, QString("<p>Lamp</p>\n"));
    QApplication::clipboard()->setText("something else");
    f.button("btnCopyCode")->click();
    QCOMPARE(QApplication::clipboard()->text(), QString("<p>Lamp</p>\r\n"));
}

void TestPublishedListings::documentIsAskedFor() {
    Fixture f;
    f.add({"Lamp", "", 1, {}});
    f.window.show();
    QSignalSpy wanted(&f.window, &PublishedListingsWindow::documentWanted);
    f.select("Lamp");
    f.button("btnOpenDocument")->click();
    QCOMPARE(wanted.count(), 1);
    QCOMPARE(wanted.at(0).at(0).toString(), QString("/docs/Lamp.vdoc"));
}

void TestPublishedListings::startupCheck_data() {
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<int>("hoursSinceLast"); // -1: never checked
    QTest::addColumn<bool>("starts");
    QTest::newRow("not chosen (the default)") << false << -1 << false;
    QTest::newRow("chosen, never checked") << true << -1 << true;
    QTest::newRow("chosen, checked this morning") << true << 5 << false;
    QTest::newRow("chosen, checked yesterday") << true << 25 << true;
    QTest::newRow("chosen, clock set back since") << true << -48 << true;
}

void TestPublishedListings::startupCheck() {
    QFETCH(bool, chosen);
    QFETCH(int, hoursSinceLast);
    QFETCH(bool, starts);
    Fixture f;
    f.add({"Chair", "", 1, {"/pictures/a.gif"}});
    Settings settings(f.folder.filePath("defaults.ini"));
    QVERIFY(!settings.flag(SettingKey::watchAtStart));
    settings.setFlag(SettingKey::watchAtStart, chosen);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (hoursSinceLast != -1)
        QVERIFY(f.record.setLastWholeCheck(now.addSecs(-3600 * hoursSinceLast)));
    QWidget window;
    StartupWatch startup(f.record, settings, f.dialogs, &window);
    QSignalSpy finished(&startup.watch(), &PictureWatch::finished);
    window.show();
    // It starts after the first paint, not before.
    QVERIFY(!startup.watch().isRunning());
    QCOMPARE(finished.wait(starts ? waitMs : 500), starts);
    if (starts) {
        QVERIFY(f.record.listings().value().at(0).allOnline());
        QVERIFY(f.record.lastWholeCheck() >= now);
        // Once a day: the next start the same day checks nothing.
        QVERIFY(!startup.startIfDue(now.addSecs(3600)));
        QVERIFY(startup.startIfDue(now.addSecs(25 * 3600)));
    }
    QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.shown.join('|')));
}

void TestPublishedListings::startupCheckAsksOnlyWhenSomethingIsMissing_data() {
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<bool>("asked");
    QTest::newRow("all online") << QStringList{"/pictures/a.gif"} << false;
    QTest::newRow("one missing") << QStringList{"/pictures/a.gif", "/missing/b.gif"} << true;
    // Nothing answered at all: the computer is offline.
    QTest::newRow("no server answers") << QStringList{"refused"} << false;
}

void TestPublishedListings::startupCheckAsksOnlyWhenSomethingIsMissing() {
    QFETCH(QStringList, pictures);
    QFETCH(bool, asked);
    Fixture f;
    PublishedListing listing;
    listing.title = QStringLiteral("Chair");
    listing.published = QDateTime::currentDateTimeUtc();
    for (const QString& path : pictures) {
        PublishedPicture picture;
        picture.address = path == QLatin1String("refused")
                              ? QStringLiteral("http://127.0.0.1:%1/a.gif").arg(closedPort())
                              : f.server.url(path);
        listing.pictures.append(picture);
    }
    QVERIFY(f.record.add(listing));
    Settings settings(f.folder.filePath("defaults.ini"));
    settings.setFlag(SettingKey::watchAtStart, true);
    StartupWatch startup(f.record, settings, f.dialogs, nullptr);
    QSignalSpy wanted(&startup, &StartupWatch::listingsWanted);
    QSignalSpy finished(&startup.watch(), &PictureWatch::finished);
    f.dialogs.answers.enqueue(UserDialogs::Answer::Yes);
    QVERIFY(startup.startIfDue());
    QVERIFY(finished.wait(waitMs));
    const QStringList questions = f.dialogs.shownOf("yesno");
    QCOMPARE(questions.size(), asked ? 1 : 0);
    QCOMPARE(wanted.count(), asked ? 1 : 0);
    if (asked)
        QVERIFY2(questions.at(0).startsWith("Pictures of 1 published listing(s)"),
                 qPrintable(questions.at(0)));
}

QTEST_MAIN(TestPublishedListings)
#include "tst_publishedlistings.moc"
