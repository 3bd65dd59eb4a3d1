#include "app/appcaption.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "layoutui/layoutpage.h"
#include "settingsui/settingsdialog.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

namespace {

QWidget* topLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}

/// Every window of the program in temporary folders, with an auction site
/// to publish on and a layout without pictures.
struct Program {
    TestFolders folders;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProgramWindows> windows;

    Program() {
        folders.write(QStringLiteral("program/Default.rbs"), "[OUTER]\r\nOBWidth=4\r\n");
        folders.write(QStringLiteral("shared/sys.dft"),
                      "[ASIA]\r\nBazaar=https://127.0.0.1:9/sell\r\n");
        windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
        window().FormActivate();
        window().preview(); // the web parts, made after the first paint
        windows->settingsDialog().setHideCheckImage(true);
        windows->settingsDialog().setHideExportHelp(false);
    }
    MainWindow& window() const { return windows->mainWindow(); }
    QTabWidget& pages() const { return *window().pages(); }
};

} // namespace

class TestPublishingController : public QObject {
    Q_OBJECT
private slots:
    void leavingPublishingClosesItsWindowsAndGoesBackToTheLayout_data();
    void leavingPublishingClosesItsWindowsAndGoesBackToTheLayout();
};

void TestPublishingController::leavingPublishingClosesItsWindowsAndGoesBackToTheLayout_data() {
    QTest::addColumn<QString>("way"); // the button that leaves; in the publish dialog: cancelled
    QTest::newRow("cancelled in the publish dialog") << "btnCancelPublish";
    QTest::newRow("back to the Layout page") << "btnBack2Layout";
    QTest::newRow("published in the default browser") << "pnlUseExtBrowser";
}

void TestPublishingController::leavingPublishingClosesItsWindowsAndGoesBackToTheLayout() {
    QFETCH(QString, way);
    Program p;
    const bool cancel = way == QLatin1String("btnCancelPublish");
    p.pages().setCurrentIndex(int(MainPage::Decorate));
    QApplication::clipboard()->setText(QStringLiteral("copied before"));
    QString clipboardWhileOpen;
    p.dialogs.modalActions.enqueue([&](QDialog& publish) {
        clipboardWhileOpen = QApplication::clipboard()->text();
        // The site opens in the computer's default browser.
        publish.findChild<QGroupBox*>(QStringLiteral("radBrowserChoice"))
            ->findChildren<QRadioButton*>()
            .at(1)
            ->click();
        const char* button = cancel ? "btnCancelPublish" : "btnPublishNow";
        publish.findChild<QPushButton*>(QLatin1String(button))->click();
        return publish.result();
    });

    p.window().layoutControls().buttons().btnExport->click();

    QVERIFY2(clipboardWhileOpen.contains(QStringLiteral("<table")),
             qPrintable(p.dialogs.shown.join('|')));
    QWidget* help = topLevel("T_frmExport1");
    QVERIFY(help);
    QWidget* panel = p.window().findChild<QWidget*>(QStringLiteral("pnlUseExtBrowser"));
    if (!cancel) {
        // On the Publish page, the help and the panel of the default browser.
        QCOMPARE(p.pages().currentIndex(), int(MainPage::Export));
        QVERIFY(help->isVisible());
        QVERIFY(panel->isVisibleTo(&p.window()));
        QCOMPARE(p.dialogs.shownOf(QStringLiteral("url")),
                 QStringList{QStringLiteral("https://127.0.0.1:9/sell")});
        qobject_cast<QAbstractButton*>(p.window().findChild<QWidget*>(way))->click();
    }

    QCOMPARE(p.pages().currentIndex(), int(MainPage::Decorate));
    QVERIFY(!help->isVisible());
    QVERIFY(!topLevel("T_frmExportInfo")->isVisible());
    QVERIFY(!panel->isVisibleTo(&p.window()));
    // The listing leaves the clipboard; what the seller copied would stay.
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QVERIFY(!p.window().state().publishing.Publishing);
}

QTEST_MAIN(TestPublishingController)
#include "tst_publishingcontroller.moc"
