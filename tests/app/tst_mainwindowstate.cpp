#include "app/aboutdialog.h"
#include "app/appstate.h"
#include "app/closesequence.h"
#include "app/mainmenu.h"
#include "app/mainwindow.h"
#include "app/productlogo.h"
#include "app/programwindows.h"
#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"
#include "document/documenteditor.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "editor/edactionlist.h"
#include "editor/tdoceditor.h"
#include "editor/tedaction.h"
#include "layout/layout.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetext.h"
#include "pagegen/shifttext.h"
#include "platform/picturecache.h"
#include "publish/exportprogress.h"
#include "settingsui/settingsdialog.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"
#include "ui/numberedit.h"
#include "version.h"
#include "web/previewcontroller.h"
#include "web/publishpage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace {

const QByteArray defaultLayout = "[POS]\r\nAdImg=/My images/bg.jpg\r\n[OUTER]\r\nOBWidth=4\r\n";

/// Every window of the program in temporary folders, after the first
/// activation of the main window.
struct Program {
    TestFolders folders;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProgramWindows> windows;

    Program() {
        folders.write(QStringLiteral("program/Default.rbs"), defaultLayout);
        windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
        window().FormActivate();
        window().preview(); // the web parts, made after the first paint
    }
    MainWindow& window() const { return windows->mainWindow(); }
    AppState& state() const { return window().state(); }
    LayoutPage& layoutPage() const { return window().layoutControls(); }
    void showPage(int index) const { window().pages()->setCurrentIndex(index); }
    /// The user types a digit into the outer border's width.
    void typeOuterWidth(char digit) const {
        QTest::keyClick(layoutPage().controls().edtOBW, digit);
    }
    void trigger(const char* action) const {
        window().menuBar()->findChild<QAction*>(QLatin1String(action))->trigger();
    }
    void answerSavePrompt(const QString& button) {
        dialogs.modalActions.enqueue([button](QDialog& prompt) {
            prompt.findChild<QPushButton*>(button)->click();
            return prompt.result();
        });
    }
};

/// An editor whose close question is answered as the test says.
class FakeEditor : public DocumentEditor {
public:
    bool mayClose = true;
    int asked = 0;
    QWidget* widget() override { return &m_widget; }
    void newDocument() override {}
    void setReadOnly(bool) override {}
    bool isReadOnly() const override { return false; }
    bool LoadDocumentFile(const QString&) override { return false; }
    bool loadWelcomeDocument(const QString&) override { return false; }
    void RelayoutDocument() override {}
    bool DocumentModified() const override { return !mayClose; }
    bool ConfirmCloseDocument() override {
        ++asked;
        return mayClose;
    }
    void RemoveUnusedStyles(bool, bool, bool) override {}

private:
    QWidget m_widget;
};

QWidget* topLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name))
            return widget;
    }
    qFatal("no window %s", name);
}

/// The listing check's line in the publish dialog; empty when it shows none.
QString shownCheckLine(const QDialog& publish) {
    for (const char* name : {"lblListingClean", "lblListingWarnings", "lblListingErrors"}) {
        const auto* line = publish.findChild<QLabel*>(QLatin1String(name));
        if (line && line->isVisibleTo(&publish))
            return QLatin1String(name);
    }
    return {};
}

} // namespace

class TestMainWindowState : public QObject {
    Q_OBJECT

private slots:
    void captionFollowsPageAndChanges();
    void layoutPageHidesItsControlsUntilThePreviewIsShown();
    void secondShowingKeepsLayoutAndHints();
    void closeAsksAboutTheLayout_data();
    void closeAsksAboutTheLayout();
    void refusedDocumentStillAsksAboutTheLayout_data();
    void refusedDocumentStillAsksAboutTheLayout();
    void menuEntries_data();
    void menuEntries();
    void menuPicturesComeWhenAMenuFirstOpens();
    void helpKeyOpensTheHelpPage();
    void aboutBoxShowsVersionAndLinksHome();
    void logoReadFromTheCacheIsTheOneDrawn();
    void publishPageRunsTheProgressBar();
    void saveShortcutReachesTheEditorInTheWindow();
    void saveKeysSaveThePageOnShow_data();
    void saveKeysSaveThePageOnShow();
    void undoKeysUndoThePageOnShow();
    void editorDialogsStartInTheUsersFolders_data();
    void editorDialogsStartInTheUsersFolders();
    void documentPicturesAreFileUrlsInThePreview();
    void savedSettingsRefreshThePreviewFromTheLayoutPage();
    void pictureChosenFromElsewhereIsCopiedAndShown();
    void publishPutsTheListingOnTheClipboard_data();
    void publishPutsTheListingOnTheClipboard();
    void publishShowsListingFindingsBeforeTheClipboard_data();
    void publishShowsListingFindingsBeforeTheClipboard();
    void phoneToggleIsRememberedBetweenRuns();
    void fileFromTheDesktopOpens_data();
    void fileFromTheDesktopOpens();
    void recentFilesAreOfferedInTheOpenMenu();
};

void TestMainWindowState::captionFollowsPageAndChanges() {
    Program p;
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing document : Untitled.vdoc)"));
    p.showPage(1);
    QCOMPARE(p.window().windowTitle(), QStringLiteral("Vantrel (editing layout : Untitled.rbs)"));
    p.typeOuterWidth('5');
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing layout : Untitled.rbs - modified)"));
    p.dialogs.fileNames.enqueue(p.folders.path("user/Documents and Layouts/Shop.rbs"));
    p.layoutPage().buttons().btnSaveLayout->click();
    QCOMPARE(p.window().windowTitle(), QStringLiteral("Vantrel (editing layout : Shop.rbs)"));
    p.showPage(0);
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing document : Untitled.vdoc)"));
}

void TestMainWindowState::layoutPageHidesItsControlsUntilThePreviewIsShown() {
    Program p;
    // A preview that has not finished loading its page yet.
    LayoutPage& page = p.layoutPage();
    QObject::disconnect(&page, &LayoutPage::previewRequested,
                        dynamic_cast<PreviewController*>(p.window().preview()), nullptr);
    p.state().publishing.Publishing = true;
    p.showPage(1);
    QVERIFY(page.controls().gbxPage->isHidden());
    QVERIFY(page.controls().gbxTA->isHidden());
    QVERIFY(!p.state().publishing.Publishing);
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("4"));
    page.column()->setGroupsVisible(true); // the browser has loaded the page
    QVERIFY(!page.controls().gbxOB->isHidden());
}

void TestMainWindowState::secondShowingKeepsLayoutAndHints() {
    Program p;
    p.showPage(1);
    p.typeOuterWidth('8');
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("48"));
    p.showPage(0);
    p.showPage(1);
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("48"));
    QCOMPARE(p.layoutPage().controls().btnAdImg->toolTip(),
             QStringLiteral("Vantrel/images/My images/bg.jpg"));
    QCOMPARE(p.layoutPage().controls().btnFrmImg->toolTip(), QStringLiteral("No image selected"));
    QVERIFY(p.state().layout.state().LayoutModified);
}

void TestMainWindowState::closeAsksAboutTheLayout_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("how"); // "close", "Exit1" (the File menu) or "Ctrl+Q"
    QTest::addColumn<bool>("closes");

    QTest::newRow("unmodified") << false << QString() << "close" << true;
    QTest::newRow("unmodified, Ctrl+Q") << false << QString() << "Ctrl+Q" << true;
    QTest::newRow("cancel") << true << "btnCancel"
                            << "close" << false;
    QTest::newRow("cancel, from the File menu") << true << "btnCancel"
                                                << "Exit1" << false;
    QTest::newRow("cancel, Ctrl+Q") << true << "btnCancel"
                                    << "Ctrl+Q" << false;
    QTest::newRow("no") << true << "btnSaveNot"
                        << "close" << true;
    QTest::newRow("no, from the File menu") << true << "btnSaveNot"
                                            << "Exit1" << true;
    QTest::newRow("no, Ctrl+Q") << true << "btnSaveNot"
                                << "Ctrl+Q" << true;
}

void TestMainWindowState::closeAsksAboutTheLayout() {
    QFETCH(bool, modified);
    QFETCH(QString, button);
    QFETCH(QString, how);
    QFETCH(bool, closes);
    Program p;
    p.window().show();
    p.showPage(1);
    if (modified)
        p.typeOuterWidth('6');
    if (!button.isEmpty())
        p.answerSavePrompt(button);

    if (how == "Exit1") {
        p.trigger("Exit1");
    } else if (how == "Ctrl+Q") {
        QVERIFY(QTest::qWaitForWindowActive(&p.window()));
        QTest::keyClick(&p.window(), Qt::Key_Q, Qt::ControlModifier);
    } else {
        p.window().close();
    }

    QCOMPARE(p.dialogs.shownOf("modal").size(), modified ? 1 : 0);
    QCOMPARE(p.window().isVisible(), !closes);
    QCOMPARE(p.state().layout.state().LayoutModified, modified && !closes);
    // Letting the changes go resets the controls to the default layout.
    QCOMPARE(p.window().layout().OBWidth, QString(modified && !closes ? "46" : "4"));
}

void TestMainWindowState::refusedDocumentStillAsksAboutTheLayout_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("no") << "btnSaveNot";
    QTest::newRow("cancel") << "btnCancel";
}

void TestMainWindowState::refusedDocumentStillAsksAboutTheLayout() {
    QFETCH(QString, button);
    TestFolders folders;
    folders.write(QStringLiteral("program/Default.rbs"), defaultLayout);
    AppState state;
    state.folders.ProgramFolder = folders.folders().ProgramFolder;
    ScriptedDialogs dialogs;
    LayoutPage page(state.layout, dialogs);
    LayoutCommands commands({state.folders, state.layout, state.document}, page, dialogs);
    FakeEditor editor;
    editor.mayClose = false;
    state.layout.markModified();
    dialogs.modalActions.enqueue([button](QDialog& prompt) {
        prompt.findChild<QPushButton*>(button)->click();
        return prompt.result();
    });

    QVERIFY(!FormCloseQuery(state, editor, commands, dialogs));
    QCOMPARE(editor.asked, 1);
    QCOMPARE(dialogs.shownOf("modal"), QStringList{"T_frmSaveExit"});
}

void TestMainWindowState::menuEntries_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("urlOpens");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("page");

    const QString site = QStringLiteral("url: " VANTREL_WEBSITE);
    QTest::newRow("online help") << "mnuOnlineHelp" << true << QStringList{site + "/support.html"}
                                 << 0;
    QTest::newRow("home page") << "mnuWebsite" << true << QStringList{site + "/index.php"} << 0;
    QTest::newRow("home page, no browser")
        << "mnuWebsite" << false << QStringList{site + "/index.php", "message: Web Browser Error!"}
        << 0;
    QTest::newRow("about") << "mnuAbout" << true << QStringList{"modal: T_frmAbout"} << 0;
    QTest::newRow("options") << "Settings1" << true << QStringList{"modal: T_frmSettings"} << 0;
    QTest::newRow("new layout") << "mnuNewLayout" << true << QStringList{} << 1;
    QTest::newRow("open layout") << "mnuOpenLayout" << true << QStringList{"open: Open Layout"}
                                 << 1;
    QTest::newRow("save layout as")
        << "SaveLayoutAs" << true << QStringList{"save: Save Layout As"} << 1;
}

void TestMainWindowState::menuEntries() {
    QFETCH(QString, action);
    QFETCH(bool, urlOpens);
    Program p;
    p.dialogs.urlResults.enqueue(urlOpens);
    p.trigger(qPrintable(action));
    QTEST(p.dialogs.shown, "shown");
    QTEST(p.window().pages()->currentIndex(), "page");
    if (p.window().pages()->currentIndex() == 1)
        QCOMPARE(p.window().layout().OBWidth, QStringLiteral("4"));
}

void TestMainWindowState::helpKeyOpensTheHelpPage() {
    Program p;
    p.window().show();
    QVERIFY(QTest::qWaitForWindowActive(&p.window()));
    QTest::keyClick(&p.window(), Qt::Key_F1);
    QCOMPARE(p.dialogs.shown, QStringList{QStringLiteral("url: " VANTREL_WEBSITE "/support.html")});
}

void TestMainWindowState::menuPicturesComeWhenAMenuFirstOpens() {
    Program p;
    QMenuBar* bar = p.window().menuBar();
    auto* file = bar->findChild<QMenu*>(QStringLiteral("File1"));
    auto* newDocument = bar->findChild<QAction*>(QStringLiteral("mnuNewDoc"));
    auto* about = bar->findChild<QAction*>(QStringLiteral("mnuAbout"));
    QVERIFY(newDocument->icon().isNull());
    file->popup(QPoint(0, 0));
    for (QAction* entry : {newDocument, about})
        QVERIFY2(!entry->icon().pixmap(16).isNull(), qPrintable(entry->objectName()));
    file->close();
}

void TestMainWindowState::aboutBoxShowsVersionAndLinksHome() {
    ScriptedDialogs dialogs;
    AboutDialog about(dialogs);
    about.show();
    QCOMPARE(about.findChild<QLabel*>("lblVersion")->text(),
             QStringLiteral("Version: " VANTREL_VERSION_STRING " - Build 0"));
    QVERIFY(about.findChild<QLabel*>("lblLink2site")->isVisible());
    emit about.findChild<QLabel*>("lblLink2site")->linkActivated(QString());
    QCOMPARE(dialogs.shown, QStringList{"url: " VANTREL_WEBSITE "/"});
    QPushButton* close = about.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
    QVERIFY(close->isVisible());
    close->click();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Rejected));
}

void TestMainWindowState::logoReadFromTheCacheIsTheOneDrawn() {
    QFile::remove(picturecache::file(QStringLiteral("logo-123x45")));
    ProductLogo drawn;
    drawn.resize(123, 45);
    const QImage first = drawn.grab().toImage();
    QVERIFY(QFile::exists(picturecache::file(QStringLiteral("logo-123x45"))));
    ProductLogo read;
    read.resize(123, 45);
    QCOMPARE(read.grab().toImage(), first);
    // Not a blank picture: the card is white, the type blue.
    QCOMPARE(first.pixelColor(first.width() / 2, 3), QColor(Qt::white));
}

void TestMainWindowState::publishPageRunsTheProgressBar() {
    Program p;
    auto* progress = p.window().findChild<ExportProgress*>(QStringLiteral("ProgressBar1"));
    QVERIFY(!progress->timer()->isActive());
    p.showPage(2);
    QVERIFY(progress->timer()->isActive());
    QCOMPARE(progress->timer()->interval(), 1000);
    for (int tick = 0; tick < 10; ++tick)
        progress->Timer1Timer();
    QCOMPARE(progress->value(), 100);
    progress->Timer1Timer();
    QCOMPARE(progress->value(), 0);
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing document : Untitled.vdoc)"));

    // The help label opens the publishing help; the Layout page closes it.
    emit p.window().findChild<QLabel*>(QStringLiteral("lblShowHideHelp"))->linkActivated("#");
    QVERIFY(topLevel("T_frmExport1")->isVisible());
    topLevel("T_frmExportInfo")->show();
    p.showPage(1);
    QVERIFY(!topLevel("T_frmExport1")->isVisible());
    QVERIFY(!topLevel("T_frmExportInfo")->isVisible());
}

void TestMainWindowState::saveShortcutReachesTheEditorInTheWindow() {
    Program p;
    p.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.window()));
    p.dialogs.fileNames.enqueue(QString()); // the save dialog is cancelled
    QTest::keyClick(&p.window(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(p.dialogs.shown.last(), QStringLiteral("save: Save As"));
}

void TestMainWindowState::saveKeysSaveThePageOnShow_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("layout, Ctrl+S") << 1 << false << "save: Save Layout As";
    QTest::newRow("layout, Ctrl+Shift+S") << 1 << true << "save: Save Layout As";
    QTest::newRow("document, Ctrl+Shift+S") << 0 << true << "save: Save As";
}

void TestMainWindowState::saveKeysSaveThePageOnShow() {
    QFETCH(int, page);
    QFETCH(bool, shift);
    Program p;
    p.window().show();
    p.showPage(page);
    QVERIFY(QTest::qWaitForWindowActive(&p.window()));
    p.dialogs.fileNames.enqueue(QString()); // the save dialog is cancelled
    QTest::keyClick(&p.window(), Qt::Key_S,
                    shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    // One dialog, of the page on show: the other page's keys stay quiet.
    QCOMPARE(p.dialogs.shownOf("save").size(), 1);
    QTEST(p.dialogs.shown.last(), "dialog");
}

void TestMainWindowState::undoKeysUndoThePageOnShow() {
    Program p;
    p.window().show();
    p.showPage(1);
    QVERIFY(QTest::qWaitForWindowActive(&p.window()));
    TDocEditor& editor = p.window().documentPage().richEditor().editor();
    p.showPage(0);
    p.trigger("mnuNewDoc");
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("Brass clock"));
    const QString written = editor.document()->toPlainText();
    QVERIFY(written.contains(QStringLiteral("Brass clock")));
    p.showPage(1);
    NumberEdit* outer = p.layoutPage().controls().edtOBW;
    outer->setFocus();
    p.typeOuterWidth('5');
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing layout : Untitled.rbs - modified)"));

    // The focused field leaves the keys to the page: the layout's step is
    // undone, not the field's own text.
    QTest::keyClick(&p.window(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("4"));
    QCOMPARE(outer->text(), QStringLiteral("4"));
    QCOMPARE(p.window().windowTitle(), QStringLiteral("Vantrel (editing layout : Untitled.rbs)"));
    QCOMPARE(editor.document()->toPlainText(), written);
    QTest::keyClick(&p.window(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("45"));
    QCOMPARE(p.window().windowTitle(),
             QStringLiteral("Vantrel (editing layout : Untitled.rbs - modified)"));
    QTest::keyClick(&p.window(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&p.window(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("45"));

    // On the Document page the same key undoes the editor's typing alone.
    p.showPage(0);
    editor.setFocus();
    QTest::keyClick(&p.window(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!editor.document()->toPlainText().contains(QStringLiteral("Brass clock")));
    QCOMPARE(p.window().layout().OBWidth, QStringLiteral("45"));
    QVERIFY(p.state().layout.canUndo());
}

void TestMainWindowState::editorDialogsStartInTheUsersFolders_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("folder");
    QTest::newRow("open") << "edActionOpen1"
                          << "user/Documents and Layouts";
    QTest::newRow("save as") << "edActionSaveAs1"
                             << "user/Documents and Layouts";
    QTest::newRow("picture") << "edActionInsertPicture1"
                             << "user/images/";
}

void TestMainWindowState::editorDialogsStartInTheUsersFolders() {
    QFETCH(QString, action);
    QFETCH(QString, folder);
    Program p;
    RichDocumentEditor& editor = p.window().documentPage().richEditor();
    editor.setReadOnly(false);
    p.dialogs.fileNames.enqueue(QString()); // cancelled
    editor.actions().action(action)->trigger();
    QCOMPARE(p.dialogs.lastFileDialog.initialFolder, p.folders.path(folder));
}

void TestMainWindowState::documentPicturesAreFileUrlsInThePreview() {
    Program p;
    const QString file = p.folders.path(QStringLiteral("user/images/My images/Sky (1).png"));
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(file, "PNG"));
    DocPicture inserted;
    QVERIFY(DocPicture::fromFile(file, inserted));
    TDocEditor& editor = p.window().documentPage().richEditor().editor();
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertPicture(cursor, inserted);

    const QString code = p.window().pageGenerator().generate().ListingCode.join(QLatin1Char('\n'));
    QVERIFY2(code.contains(QStringLiteral("src=\"") + PathToFileUrl(file) + QLatin1Char('"')),
             qPrintable(code));
}

void TestMainWindowState::savedSettingsRefreshThePreviewFromTheLayoutPage() {
    Program p;
    p.showPage(1);
    p.window().pages()->setTabVisible(2, true);
    p.showPage(2);
    QSignalSpy refreshed(&p.layoutPage(), &LayoutPage::previewRequested);
    int pageWhileOpen = -1;
    qsizetype beforeSave = -1;
    p.dialogs.modalActions.enqueue([&](QDialog& settings) {
        pageWhileOpen = p.window().pages()->currentIndex();
        beforeSave = refreshed.size();
        settings.findChild<QLineEdit*>(QStringLiteral("edtServer4"))
            ->setText(QStringLiteral("http://mine.example/pics"));
        settings.findChild<QPushButton*>(QStringLiteral("btnSettingsSave"))->click();
        return settings.result();
    });
    p.trigger("Settings1");
    QCOMPARE(pageWhileOpen, 1);
    QCOMPARE(refreshed.size(), beforeSave + 1);
    // Counts at once, even where closing the dialog sends no activation.
    QCOMPARE(p.state().servers.PrimaryServer, QStringLiteral("http://mine.example/pics/"));
}

void TestMainWindowState::pictureChosenFromElsewhereIsCopiedAndShown() {
    Program p;
    QVERIFY(QDir().mkpath(p.folders.path(QStringLiteral("user/images/My images"))));
    const QString chosen = p.folders.path(QStringLiteral("Pictures/Sky.PNG"));
    QVERIFY(QDir().mkpath(QFileInfo(chosen).path()));
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(chosen, "PNG"));
    p.showPage(1);
    const LayoutControls& c = p.layoutPage().controls();
    c.cbxTxtImg->setChecked(true);
    p.state().layout.markSaved();
    p.dialogs.fileNames.enqueue(chosen);

    c.btnTxtImg->click();

    const QString copy = p.folders.path(QStringLiteral("user/images/My images/Sky.PNG"));
    QVERIFY(QFileInfo::exists(copy));
    QVERIFY(p.dialogs.lastFileDialog.picturePreview);
    QCOMPARE(p.dialogs.lastFileDialog.initialFolder,
             p.folders.path(QStringLiteral("user/images/")));
    QCOMPARE(p.window().layout().TxtBgImg, QStringLiteral("/My images/Sky.PNG"));
    QCOMPARE(c.btnTxtImg->toolTip(), QStringLiteral("Vantrel/images/My images/Sky.PNG"));
    QCOMPARE(p.state().layout.state().TextImageFileName, QStringLiteral("Sky.PNG"));
    QCOMPARE(p.state().publishing.LastPictureCopy, QFileInfo(copy).canonicalFilePath());
    QVERIFY(!c.cbxTxtImg->isChecked());
    QVERIFY(!p.window().layout().TxtImgHide);
    QVERIFY(p.state().layout.state().LayoutModified);
    const QString code = p.window().pageGenerator().generate().ListingCode.join(QLatin1Char('\n'));
    QVERIFY2(code.contains(PathToFileUrl(QFileInfo(copy).canonicalFilePath())), qPrintable(code));
}

void TestMainWindowState::publishPutsTheListingOnTheClipboard_data() {
    QTest::addColumn<bool>("example");
    QTest::addColumn<bool>("useOwnServer");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("pictureAddress"); // empty: nothing published
    QTest::addColumn<QString>("said");           // the first thing shown
    QTest::addColumn<bool>("imageTest");         // the image test shows, and is aborted
    QTest::newRow("nominal: personal server") << false << true << "https://mine.example/pics/"
                                              << "https://mine.example/pics/Sky.PNG"
                                              << "modal: T_frmExportInfo" << false;
    QTest::newRow("nominal: product server") << false << false << "https://mine.example/pics/"
                                             << "https://s1.example/Sky.PNG"
                                             << "modal: T_frmExportInfo" << false;
    QTest::newRow("nominal: image test aborted") << false << true << "https://mine.example/pics/"
                                                 << ""
                                                 << "modal: T_TestImages" << true;
    QTest::newRow("robustness: personal server not set")
        << false << true << "your primary server *"
        << ""
        << "yesno: Your personal image server is not set" << false;
    QTest::newRow("robustness: example")
        << true << true << "http://mine.example/pics/"
        << ""
        << "message: Cannot publish Examples or Tutorials..." << false;
}

void TestMainWindowState::publishPutsTheListingOnTheClipboard() {
    QFETCH(bool, example);
    QFETCH(bool, useOwnServer);
    QFETCH(QString, primary);
    QFETCH(QString, pictureAddress);
    QFETCH(QString, said);
    QFETCH(bool, imageTest);
    Program p;
    p.windows->settingsDialog().setHideCheckImage(!imageTest);
    p.showPage(1);
    AppState& state = p.state();
    state.document.ExampleOpen = example;
    state.servers.UseOwnServer = useOwnServer;
    state.servers.OwnServer = 1;
    state.servers.DefaultServer = 2;
    state.servers.PrimaryServer = primary;
    state.ProductServer = {QStringLiteral("https://s0.example/"),
                           QStringLiteral("https://s1.example/"),
                           QStringLiteral("https://s2.example/")};
    LayoutDocument& layout = p.window().layoutDocument();
    layout.setText(&Layout::TxtBgImg, QStringLiteral("/My images/Sky.PNG"));
    layout.setFlag(&Layout::TxtImgHide, false);
    state.publishing.RequiredImages.add(QStringLiteral("http://stale.example/old.jpg"));
    TDocEditor& editor = p.window().documentPage().richEditor().editor();
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.edDocument().insertText(cursor, QStringLiteral("Pendule \u00e9maill\u00e9e, \u00a340"),
                                   0);
    QApplication::clipboard()->setText(QStringLiteral("copied before"));
    p.folders.write(QStringLiteral("shared/sys.dft"),
                    "[ASIA]\r\nBazaar=https://127.0.0.1:9/sell\r\n");
    QString clipboardWhileOpen;
    QString checkLine;
    // Without an action the image test is aborted, as the row wants.
    if (!imageTest)
        p.dialogs.modalActions.enqueue([&](QDialog& publish) {
            clipboardWhileOpen = QApplication::clipboard()->text();
            checkLine = shownCheckLine(publish);
            publish.findChild<QPushButton*>(QStringLiteral("btnPublishNow"))->click();
            return publish.result();
        });
    p.dialogs.shown.clear();

    p.layoutPage().buttons().btnExport->click();

    QVERIFY2(p.dialogs.shown.value(0).startsWith(said), qPrintable(p.dialogs.shown.join('|')));
    const QString clipboard = QApplication::clipboard()->text();
    if (pictureAddress.isEmpty()) {
        QCOMPARE(clipboard, QStringLiteral("copied before"));
        return;
    }
    QString code;
    for (const QString& line : state.publishing.ListingCode)
        code += line + QStringLiteral("\r\n");
    QCOMPARE(clipboardWhileOpen, code);
    QCOMPARE(clipboard, code);
    QCOMPARE(checkLine, QStringLiteral("lblListingClean"));
    // The site opens in the Publish page's own browser.
    QCOMPARE(p.window().pages()->currentIndex(), 2);
    auto* publishPage = dynamic_cast<PublishPage*>(p.window().publishPage());
    QVERIFY(publishPage);
    QTRY_COMPARE(publishPage->broXport()->page()->requestedUrl(),
                 QUrl(QStringLiteral("https://127.0.0.1:9/sell")));
    // Letters of the code page arrive as they are; the pound sign, the
    // template's delimiter, as its reference.
    QVERIFY2(clipboard.contains(QStringLiteral("Pendule \u00e9maill\u00e9e, &#163;40")),
             qPrintable(clipboard.right(400)));
    QVERIFY2(clipboard.contains(pictureAddress), qPrintable(clipboard));
    QVERIFY(!clipboard.contains(QStringLiteral("file:")));
    QCOMPARE(state.publishing.RequiredImages.items(), QStringList{pictureAddress});
}

void TestMainWindowState::publishShowsListingFindingsBeforeTheClipboard_data() {
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("pageStart"); // put before the template's first line
    QTest::addColumn<QString>("language");
    // Where the first finding the list shows is, in the seller's terms.
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QString>("message"); // how that line starts its message
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("checkLine"); // in the publish dialog; empty: not copied
    QTest::newRow("http picture, back") << "http://mine.example/pics/"
                                        << ""
                                        << "en"
                                        << "In the layout: Text Area \u25b8 Back image"
                                        << "Picture over an insecure connection"
                                        << "btnBack"
                                        << "";
    QTest::newRow("script, back") << "https://mine.example/pics/"
                                  << "<script>track()</script>"
                                  << "en"
                                  << "<script>"
                                  << "Script:"
                                  << "btnBack"
                                  << "";
    QTest::newRow("http picture, publish anyway") << "http://mine.example/pics/"
                                                  << ""
                                                  << "en"
                                                  << "In the layout: Text Area \u25b8 Back image"
                                                  << "Picture over an insecure connection"
                                                  << "btnPublishAnyway"
                                                  << "lblListingErrors";
    QTest::newRow("small font, continue") << "https://mine.example/pics/"
                                          << "<p style=\"font-size:8px\">Fine print</p>"
                                          << "en"
                                          << "In your text: \u00abFine print\u00bb"
                                          << "Font smaller than 11 px"
                                          << "btnContinue"
                                          << "lblListingWarnings";
    QTest::newRow("http picture in French, back") << "http://mine.example/pics/"
                                                  << ""
                                                  << "fr"
                                                  << "Dans la pr\u00e9sentation : "
                                                  << "Image en connexion non s\u00e9curis\u00e9e"
                                                  << "btnBack"
                                                  << "";
}

void TestMainWindowState::publishShowsListingFindingsBeforeTheClipboard() {
    QFETCH(QString, primary);
    QFETCH(QString, pageStart);
    QFETCH(QString, language);
    QFETCH(QString, finding);
    QFETCH(QString, message);
    QFETCH(QString, button);
    QFETCH(QString, checkLine);
    const bool copied = !checkLine.isEmpty();
    Program p;
    p.windows->settingsDialog().setHideCheckImage(true);
    if (!pageStart.isEmpty()) {
        const QString templateFile = p.folders.path(QStringLiteral("program/Default.tmpl"));
        QFile stored(templateFile);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const QByteArray plain =
            pageStart.toLatin1() + "\r\n" + ShiftText(stored.readAll(), shiftkeys::TemplateKey);
        stored.close();
        p.folders.write(QStringLiteral("program/Default.tmpl"),
                        ShiftText(plain, 256 - shiftkeys::TemplateKey));
    }
    p.showPage(1);
    AppState& state = p.state();
    state.LanguageCode = language;
    state.servers.UseOwnServer = true;
    state.servers.OwnServer = 1;
    state.servers.PrimaryServer = primary;
    LayoutDocument& layout = p.window().layoutDocument();
    layout.setText(&Layout::TxtBgImg, QStringLiteral("/My images/Sky.PNG"));
    layout.setFlag(&Layout::TxtImgHide, false);
    QApplication::clipboard()->setText(QStringLiteral("copied before"));
    QString clipboardWhileShown;
    QString firstLine;
    p.dialogs.modalActions.enqueue([&](QDialog& findings) {
        clipboardWhileShown = QApplication::clipboard()->text();
        if (auto* list = findings.findChild<QListWidget*>(QStringLiteral("lstFindings")))
            firstLine = list->item(0)->text();
        findings.findChild<QPushButton*>(button)->click();
        return findings.result();
    });
    QString shownLine;
    p.dialogs.modalActions.enqueue([&](QDialog& publish) {
        shownLine = shownCheckLine(publish);
        return int(QDialog::Rejected);
    });
    p.dialogs.shown.clear();

    p.layoutPage().buttons().btnExport->click();

    QVERIFY2(p.dialogs.shown.value(0) == QStringLiteral("modal: T_frmListingFindings"),
             qPrintable(p.dialogs.shown.join('|')));
    QCOMPARE(clipboardWhileShown, QStringLiteral("copied before"));
    const bool warning = button == QLatin1String("btnContinue");
    const QString severity = language == QLatin1String("fr")
                                 ? QStringLiteral("Erreur")
                                 : (warning ? QStringLiteral("Warning") : QStringLiteral("Error"));
    QVERIFY2(firstLine.startsWith(severity) && firstLine.contains(finding) &&
                 firstLine.contains(message),
             qPrintable(firstLine));
    if (!copied) {
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copied before"));
        QCOMPARE(p.dialogs.shown.size(), 1);
        return;
    }
    QString code;
    for (const QString& line : state.publishing.ListingCode)
        code += line + QStringLiteral("\r\n");
    QCOMPARE(QApplication::clipboard()->text(), code);
    QVERIFY(p.dialogs.shown.value(1).startsWith(QStringLiteral("modal: T_frmExportInfo")));
    QCOMPARE(shownLine, checkLine);
}

void TestMainWindowState::phoneToggleIsRememberedBetweenRuns() {
    Program p;
    for (const bool phone : {true, false}) {
        QPushButton* toggle = p.layoutPage().buttons().btnPhonePreview;
        QCOMPARE(toggle->isChecked(), !phone);
        toggle->click();
        p.windows.reset();
        p.windows = std::make_unique<ProgramWindows>(p.dialogs, p.folders.folders());
        QCOMPARE(p.layoutPage().buttons().btnPhonePreview->isChecked(), phone);
    }
    QVERIFY(p.dialogs.shownOf(QStringLiteral("error")).isEmpty());
}

void TestMainWindowState::fileFromTheDesktopOpens_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption"); // empty: refused with an error
    QTest::newRow("nominal: layout") << "Shop.rbs" << 1 << "Vantrel (editing layout : Shop.rbs)";
    QTest::newRow("nominal: document")
        << "Clock.vdoc" << 0 << "Vantrel (editing document : Clock.vdoc)";
    QTest::newRow("robustness: other file") << "notes.txt" << 0 << "";
    // A file moved since the desktop listed it: said, and nothing changes.
    QTest::newRow("robustness: missing document") << "gone/Clock.vdoc" << 0 << "";
    QTest::newRow("robustness: missing layout") << "gone/Shop.rbs" << 0 << "";
}

void TestMainWindowState::fileFromTheDesktopOpens() {
    QFETCH(QString, name);
    QFETCH(int, page);
    QFETCH(QString, caption);
    Program p;
    QFile welcome(QCoreApplication::applicationDirPath() + QStringLiteral("/Entry.vdoc"));
    QVERIFY(welcome.open(QIODevice::ReadOnly));
    const QByteArray bytes = name.endsWith(QLatin1String(".rbs"))
                                 ? QByteArray("[OUTER]\r\nOBWidth=6\r\n")
                                 : welcome.readAll();
    const bool missing = name.startsWith(QLatin1String("gone/"));
    const QString file = missing ? p.folders.path(QStringLiteral("user/") + name)
                                 : p.folders.write(QStringLiteral("user/") + name, bytes);
    const QString captionBefore = p.window().windowTitle();

    p.window().openFromDesktop(file);

    QCOMPARE(p.window().pages()->currentIndex(), page);
    if (caption.isEmpty()) {
        const QStringList errors = p.dialogs.shownOf(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        if (missing) {
            QVERIFY2(errors.first().contains(QLatin1String("was not found")),
                     qPrintable(errors.first()));
            QCOMPARE(p.window().windowTitle(), captionBefore);
        }
        return;
    }
    QCOMPARE(p.window().windowTitle(), caption);
    QVERIFY(p.dialogs.shownOf(QStringLiteral("error")).isEmpty());
    if (page == 1) {
        QCOMPARE(p.window().layout().OBWidth, QStringLiteral("6"));
    } else {
        QVERIFY(!p.window().editor().isReadOnly());
        QVERIFY(!p.window().editor().DocumentModified());
    }
}

/// The files opened and saved last come back in File > Open, newest first,
/// with their folder on hover; one that is gone is said and taken off.
void TestMainWindowState::recentFilesAreOfferedInTheOpenMenu() {
    // The desktop's list of recent files is written: never the real one.
    QTemporaryDir dataHome;
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldDataHome); });
    Program p;
    QFile welcome(QCoreApplication::applicationDirPath() + QStringLiteral("/Entry.vdoc"));
    QVERIFY(welcome.open(QIODevice::ReadOnly));
    const QByteArray document = welcome.readAll();
    QVERIFY(QDir().mkpath(p.folders.path(QStringLiteral("user/A & B"))));
    const QString clock = p.folders.write(QStringLiteral("user/A & B/Clock.vdoc"), document);
    const QString lamp = p.folders.write(QStringLiteral("user/Lamp.vdoc"), document);
    const QString shop =
        p.folders.write(QStringLiteral("user/Shop.rbs"), "[OUTER]\r\nOBWidth=6\r\n");
    const MainMenuActions& menu = p.window().mainMenu().actions();
    QVERIFY(!menu.recentDocs->menuAction()->isEnabled());

    p.window().openFromDesktop(clock);
    p.window().openFromDesktop(lamp);
    p.window().openFromDesktop(shop);
    const QString saved = p.folders.path(QStringLiteral("user/Shop 2.rbs"));
    p.dialogs.fileNames.enqueue(saved);
    p.layoutPage().buttons().btnSaveAs->click();
    QVERIFY(p.dialogs.shownOf(QStringLiteral("error")).isEmpty());

    const auto entries = [](QMenu* m) {
        emit m->aboutToShow();
        QStringList texts;
        for (QAction* a : m->actions())
            texts << a->text() + QStringLiteral(" @ ") + a->toolTip();
        return texts;
    };
    const auto folderOf = [](const QString& file) {
        return QDir::toNativeSeparators(QFileInfo(file).absolutePath());
    };
    QCOMPARE(entries(menu.recentDocs),
             (QStringList{QStringLiteral("&1 Lamp.vdoc @ ") + folderOf(lamp),
                          QStringLiteral("&2 Clock.vdoc @ ") + folderOf(clock)}));
    QCOMPARE(entries(menu.recentLayouts),
             (QStringList{QStringLiteral("&1 Shop 2.rbs @ ") + folderOf(saved),
                          QStringLiteral("&2 Shop.rbs @ ") + folderOf(shop)}));
    // The desktop's own list has them too.
    QFile list(dataHome.filePath(QStringLiteral("recently-used.xbel")));
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QByteArray listed = list.readAll();
    for (const QString& file : {clock, lamp, shop, saved})
        QVERIFY2(listed.contains(QUrl::fromLocalFile(file).toEncoded().replace("&", "&amp;")),
                 qPrintable(file));

    // Chosen, an entry opens its file.
    menu.recentDocs->actions().at(1)->trigger();
    QCOMPARE(p.window().windowTitle(), QStringLiteral("Vantrel (editing document : Clock.vdoc)"));
    QCOMPARE(entries(menu.recentDocs).first(),
             QStringLiteral("&1 Clock.vdoc @ ") + folderOf(clock));

    // Gone: said, taken off, and the work on show stays.
    QVERIFY(QFile::remove(lamp));
    menu.recentDocs->actions().at(1)->trigger();
    const QStringList errors = p.dialogs.shownOf(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QLatin1String("taken off")), qPrintable(errors.first()));
    QCOMPARE(p.window().windowTitle(), QStringLiteral("Vantrel (editing document : Clock.vdoc)"));
    QCOMPARE(entries(menu.recentDocs),
             QStringList{QStringLiteral("&1 Clock.vdoc @ ") + folderOf(clock)});
}

QTEST_MAIN(TestMainWindowState)
#include "tst_mainwindowstate.moc"
