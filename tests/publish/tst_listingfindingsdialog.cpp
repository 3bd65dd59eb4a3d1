#include "publish/listingfindingsdialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class TestListingFindingsDialog : public QObject {
    Q_OBJECT
private slots:
    void buttonsFollowTheWorstFinding_data();
    void buttonsFollowTheWorstFinding();
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
                                 << "Error, line 2: Picture over an insecure connection"
                                 << "btnBack" << int(QDialog::Rejected);
    QTest::newRow("error, publish anyway") << errorsAndWarnings << "en"
                                           << "btnPublishAnyway"
                                           << "Error, line 2: Picture over an insecure connection"
                                           << "btnPublishAnyway" << int(QDialog::Accepted);
    QTest::newRow("warnings only, continue") << warningsOnly << ""
                                             << "btnContinue"
                                             << "Warning, line 1: Link over an insecure connection"
                                             << "btnContinue" << int(QDialog::Accepted);
    QTest::newRow("warnings only, back") << warningsOnly << ""
                                         << "btnContinue"
                                         << "Warning, line 1: Link over an insecure connection"
                                         << "btnBack" << int(QDialog::Rejected);
    QTest::newRow("error in French, back")
        << errorsAndWarnings << "fr"
        << "btnPublishAnyway"
        << "Erreur, ligne 2 : Image en connexion non s\u00e9curis\u00e9e"
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

QTEST_MAIN(TestListingFindingsDialog)
#include "tst_listingfindingsdialog.moc"
