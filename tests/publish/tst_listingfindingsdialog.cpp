#include "publish/listingfindingsdialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class TestListingFindingsDialog : public QObject {
    Q_OBJECT
private slots:
    void buttonsFollowTheWorstFinding_data();
    void buttonsFollowTheWorstFinding();
    void saysWhereInTheSellersWordsAndWhatToDo_data();
    void saysWhereInTheSellersWordsAndWhatToDo();
};

void TestListingFindingsDialog::buttonsFollowTheWorstFinding_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("goOn");      // the accepting button's name
    QTest::addColumn<QString>("firstLine"); // how the list starts
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("result");
    const QString errorsAndWarnings = QStringLiteral(
        "<a href=\"http://shop.example/\">Shop</a>\n<img src=\"http://pics.example/a.jpg\">");
    const QString warningsOnly = QStringLiteral("<a href=\"http://shop.example/\">Shop</a>");
    QTest::newRow("error, back") << errorsAndWarnings << "en"
                                 << "btnPublishAnyway"
                                 << "Error: Picture over an insecure connection"
                                 << "btnBack" << int(QDialog::Rejected);
    QTest::newRow("error, publish anyway") << errorsAndWarnings << "en"
                                           << "btnPublishAnyway"
                                           << "Error: Picture over an insecure connection"
                                           << "btnPublishAnyway" << int(QDialog::Accepted);
    QTest::newRow("warnings only, continue") << warningsOnly << ""
                                             << "btnContinue"
                                             << "Warning: Link over an insecure connection"
                                             << "btnContinue" << int(QDialog::Accepted);
    QTest::newRow("warnings only, back") << warningsOnly << ""
                                         << "btnContinue"
                                         << "Warning: Link over an insecure connection"
                                         << "btnBack" << int(QDialog::Rejected);
    QTest::newRow("error in French, back") << errorsAndWarnings << "fr"
                                           << "btnPublishAnyway"
                                           << "Erreur : Image en connexion non s\u00e9curis\u00e9e"
                                           << "btnBack" << int(QDialog::Rejected);
}

void TestListingFindingsDialog::buttonsFollowTheWorstFinding() {
    QFETCH(QString, page);
    QFETCH(QString, language);
    QFETCH(QString, goOn);
    QFETCH(QString, firstLine);
    QFETCH(QString, clicked);
    QFETCH(int, result);
    ListingFindingsDialog dialog(listingrules::check(page, language), language);
    QCOMPARE(dialog.objectName(), QStringLiteral("T_frmListingFindings"));
    QCOMPARE(dialog.goOnButton()->objectName(), goOn);
    // Enter goes on only past warnings.
    QCOMPARE(dialog.goOnButton()->isDefault(), goOn == QLatin1String("btnContinue"));
    QVERIFY2(dialog.list()->item(0)->text().startsWith(firstLine),
             qPrintable(dialog.list()->item(0)->text()));
    dialog.open();
    dialog.findChild<QPushButton*>(clicked)->click();
    QCOMPARE(dialog.result(), result);
}

void TestListingFindingsDialog::saysWhereInTheSellersWordsAndWhatToDo_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("toolTip");
    const QString smallNote = QStringLiteral(
        "<table>\n<tr><td>\n<p><span style=\"font-size:7pt\">Hold Ctrl and click a link to "
        "open</span></p>");
    QTest::newRow("small text, English")
        << smallNote << "en"
        << "Warning: Font smaller than 11 px: hard to read on a phone.\n"
           "    In your text: \u00abHold Ctrl and click a link to open\u00bb\n"
           "    Make that text at least 9 pt (11 px)."
        << "small-font, line 3: font-size:7pt";
    QTest::newRow("small text, French")
        << smallNote << "fr"
        << "Avertissement : Police de moins de 11 px : difficile \u00e0 lire sur un "
           "t\u00e9l\u00e9phone.\n"
           "    Dans votre texte : \u00abHold Ctrl and click a link to open\u00bb\n"
           "    Agrandissez ce texte \u00e0 9 pt (11 px) au moins."
        << "small-font, ligne 3 : font-size:7pt";
    QTest::newRow("layout picture")
        << "<table style=\"background-image:url('http://pics.example/shop/tile.gif')\">"
        << "en"
        << "Error: Picture over an insecure connection (http://): marketplaces show only a "
           "snippet of a description with insecure content.\n"
           "    In the layout: Text Area \u25b8 Back image\n"
           "    Use an image server whose address starts with https://."
        << "http-picture, line 1: http://pics.example/shop/tile.gif";
    QTest::newRow("picture of the document")
        << "<p><img src=\"http://pics.example/shop/clock.jpg\"></p>"
        << "en"
        << "Error: Picture over an insecure connection (http://): marketplaces show only a "
           "snippet of a description with insecure content.\n"
           "    http://pics.example/shop/clock.jpg\n"
           "    Use an image server whose address starts with https://."
        << "http-picture, line 1: http://pics.example/shop/clock.jpg";
}

void TestListingFindingsDialog::saysWhereInTheSellersWordsAndWhatToDo() {
    QFETCH(QString, page);
    QFETCH(QString, language);
    QFETCH(QString, item);
    QFETCH(QString, toolTip);
    const QHash<QString, QString> layoutPictures{
        {QStringLiteral("http://pics.example/shop/tile.gif"),
         QStringLiteral("Text Area \u25b8 Back image")}};
    ListingFindingsDialog dialog(listingrules::check(page, language), language, layoutPictures);
    QCOMPARE(dialog.list()->count(), 1);
    QCOMPARE(dialog.list()->item(0)->text(), item);
    // The page's own line is for whoever reads the code.
    QCOMPARE(dialog.list()->item(0)->toolTip(), toolTip);
}

QTEST_MAIN(TestListingFindingsDialog)
#include "tst_listingfindingsdialog.moc"
