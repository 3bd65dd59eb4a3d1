#include "app/appstate.h"
#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"
#include "ui/numberedit.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QByteArray defaultLayout = "[POS]\r\nAdImg=/My images/bg.jpg\r\n[OUTER]\r\nOBWidth=4\r\n";
const QString layouts = QStringLiteral("user/Documents and Layouts/");

/// The Layout page with its commands, in temporary working folders.
struct Fixture {
    TestFolders folders;
    AppState state;
    const Layout& layout = state.layout.layout();
    ScriptedDialogs dialogs;
    LayoutPage page{state.layout, dialogs};
    LayoutCommands commands{{state.folders, state.layout, state.document}, page, dialogs};
    QStringList promptTexts;
    QStringList pageFiles;

    Fixture() {
        state.folders.ProgramFolder = folders.folders().ProgramFolder;
        state.folders.UserFolder = folders.folders().UserFolder;
        state.folders.SharedDataFolder = folders.folders().SharedDataFolder;
        state.layout.setLoadNeeded(true);
        folders.write(QStringLiteral("program/Default.rbs"), defaultLayout);
        QObject::connect(&commands, &LayoutCommands::pageFileShown,
                         [this](const QString& file) { pageFiles.append(file); });
        page.show();
        // The first showing of the page reads the default layout.
        commands.btnNewPresentClick(LayoutCommands::Form::Page);
    }

    /// A change the user makes: the outer border becomes 7 wide.
    void modify() {
        state.layout.markModified();
        page.controls().edtOBW->setText(QStringLiteral("7"));
    }
    /// The user's own layout file, not yet written.
    void ownFile(const QString& name) { state.layout.setFile(folders.path(layouts), name); }
    /// The save prompt is answered by pressing this button.
    void answer(const QString& button) {
        dialogs.modalActions.enqueue([this, button](QDialog& prompt) {
            promptTexts.append(prompt.findChild<QLabel*>(QStringLiteral("lblChangedFile"))->text());
            prompt.findChild<QPushButton*>(button)->click();
            return prompt.result();
        });
    }
    /// The next file dialog gets this name below the temporary root; an
    /// empty name cancels it.
    void chooseFile(const QString& relative) {
        dialogs.fileNames.enqueue(relative.isEmpty() ? QString() : folders.path(relative));
    }
    QString outerWidthIn(const QString& relative) const {
        return layoutfile::read(folders.path(relative))->layout.OBWidth;
    }
};

} // namespace

class TestLayoutCommands : public QObject {
    Q_OBJECT

private slots:
    void firstShowingReadsTheDefaultLaterOnesKeepTheLayout();
    void newLayoutActsOnTheSavePrompt_data();
    void newLayoutActsOnTheSavePrompt();
    void openLayout_data();
    void openLayout();
    void openedFileSetsTheControls();
    void numberThatIsNoIntegerReadsAsDefault();
    void unreadableLayoutKeepsTheCurrentOne();
    void captionFollowsTheLayoutsFile_data();
    void captionFollowsTheLayoutsFile();
    void saveLayout_data();
    void saveLayout();
    void failedSaveChangesNothing();
    void unstorablePicturePathIsReportedAndNothingWritten();
    void exampleLayout_data();
    void exampleLayout();
};

void TestLayoutCommands::firstShowingReadsTheDefaultLaterOnesKeepTheLayout() {
    Fixture f;
    QCOMPARE(f.layout.OBWidth, QStringLiteral("4"));
    QCOMPARE(f.state.layout.state().AdImageHint, QStringLiteral("Vantrel/images/My images/bg.jpg"));
    QCOMPARE(f.page.controls().btnAdImg->toolTip(), f.state.layout.state().AdImageHint);
    QVERIFY(!f.state.layout.state().LayoutLoadNeeded);
    QCOMPARE(f.pageFiles, QStringList{f.state.folders.ProgramFolder + "Blank.html"});

    f.modify();
    f.commands.btnNewPresentClick(LayoutCommands::Form::Page);
    QCOMPARE(f.layout.OBWidth, QStringLiteral("7"));
    QCOMPARE(f.state.layout.state().AdImageHint, QStringLiteral("Vantrel/images/My images/bg.jpg"));
    QVERIFY(f.state.layout.state().LayoutModified);
    // Served by the next load that runs.
    QVERIFY(f.state.layout.state().LayoutLoadRequested == LayoutLoadRequest::New);
}

void TestLayoutCommands::newLayoutActsOnTheSavePrompt_data() {
    QTest::addColumn<bool>("titled");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("readsDefault");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("written");

    QTest::newRow("cancel") << true << "btnCancel" << QString() << false << "mine.rbs" << QString();
    QTest::newRow("no") << true << "btnSaveNot" << QString() << true << "Untitled.rbs" << QString();
    QTest::newRow("yes, own file")
        << true << "btnSaveChanges" << QString() << true << "Untitled.rbs" << layouts + "mine.rbs";
    QTest::newRow("yes, untitled, saved as") << false << "btnSaveChanges" << layouts + "new" << true
                                             << "Untitled.rbs" << layouts + "new.rbs";
    // The user asked to keep the changes: they are not thrown away.
    QTest::newRow("yes, untitled, save dialog cancelled")
        << false << "btnSaveChanges" << QString() << false << "Untitled.rbs" << QString();
}

void TestLayoutCommands::newLayoutActsOnTheSavePrompt() {
    QFETCH(bool, titled);
    QFETCH(QString, button);
    QFETCH(QString, saveAs);
    QFETCH(bool, readsDefault);
    QFETCH(QString, written);
    Fixture f;
    if (titled)
        f.ownFile(QStringLiteral("mine.rbs"));
    else
        f.state.layout.setFile(f.state.layout.state().LayoutFolder, QStringLiteral("Untitled.rbs"));
    f.modify();
    f.answer(button);
    f.chooseFile(saveAs);

    f.page.buttons().btnNewLayout->click();

    QCOMPARE(f.promptTexts, QStringList{(titled ? "mine.rbs" : "Untitled.rbs") + QString(" ?")});
    QCOMPARE(f.layout.OBWidth, QString(readsDefault ? "4" : "7"));
    QCOMPARE(f.state.layout.state().LayoutModified, !readsDefault);
    QTEST(f.state.layout.state().LayoutFileName, "fileName");
    QCOMPARE(f.state.layout.state().LayoutFolder.isEmpty(), readsDefault || !titled);
    if (!written.isEmpty())
        QCOMPARE(f.outerWidthIn(written), QStringLiteral("7"));
    QCOMPARE(f.dialogs.shownOf("error"), QStringList());
    if (!titled && button == QLatin1String("btnSaveChanges"))
        QCOMPARE(f.dialogs.lastFileDialog.initialFolder,
                 f.state.folders.UserFolder + "Documents and Layouts");
    // Kept or read again, the layout's picture keeps its hint.
    QCOMPARE(f.page.controls().btnAdImg->toolTip(),
             QStringLiteral("Vantrel/images/My images/bg.jpg"));
}

void TestLayoutCommands::openLayout_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("openName");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("outerWidth");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("modifiedAfter");

    QTest::newRow("unmodified, file chosen")
        << false << QString() << layouts + "other.rbs" << true << "9"
        << "other.rbs" << false;
    QTest::newRow("no, then open cancelled") << true << "btnSaveNot" << QString() << true << "7"
                                             << "Untitled.rbs" << false;
    QTest::newRow("cancel") << true << "btnCancel" << QString() << false << "7"
                            << "mine.rbs" << true;
    QTest::newRow("yes, saved, file chosen")
        << true << "btnSaveChanges" << layouts + "other.rbs" << true << "9"
        << "other.rbs" << false;
    QTest::newRow("typed name that does not exist")
        << false << QString() << layouts + "missing.rbs" << true << "0"
        << "missing.rbs" << false;
}

void TestLayoutCommands::openLayout() {
    QFETCH(bool, modified);
    QFETCH(QString, button);
    QFETCH(QString, openName);
    QFETCH(bool, dialogShown);
    Fixture f;
    f.folders.write(layouts + "other.rbs", "[OUTER]\r\nOBWidth=9\r\n");
    f.ownFile(QStringLiteral("mine.rbs"));
    if (modified)
        f.modify();
    if (!button.isEmpty())
        f.answer(button);
    f.chooseFile(openName);

    f.page.buttons().btnOpenLayout->click();

    QCOMPARE(f.dialogs.shownOf("open").size(), dialogShown ? 1 : 0);
    QTEST(f.layout.OBWidth, "outerWidth");
    QTEST(f.state.layout.state().LayoutFileName, "fileName");
    QTEST(f.state.layout.state().LayoutModified, "modifiedAfter");
    if (button == QLatin1String("btnSaveChanges"))
        QCOMPARE(f.outerWidthIn(layouts + "mine.rbs"), QStringLiteral("7"));
    if (!openName.isEmpty())
        QCOMPARE(f.state.layout.state().LayoutFolder, f.folders.path(layouts));
    // Whatever happened, the controls go on refreshing the preview.
    QVERIFY(!f.state.layout.state().LayoutLoadNeeded);
    f.page.controls().edtFW->setText(QStringLiteral("3"));
    QCOMPARE(f.layout.FWidth, QStringLiteral("3"));
    if (dialogShown) {
        const UserDialogs::FileDialogOptions& d = f.dialogs.lastFileDialog;
        QCOMPARE(d.filter, QStringLiteral("Vantrel Layout Files (*.rbs)|*.rbs"));
        QCOMPARE(d.initialFolder, f.state.folders.UserFolder + "Documents and Layouts");
        QCOMPARE(d.defaultExtension, QStringLiteral("rbs"));
        QCOMPARE(d.filterIndex, 1);
        QVERIFY(!d.mustExist);
    }
}

void TestLayoutCommands::openedFileSetsTheControls() {
    Fixture f;
    QVERIFY(f.page.controls().radAdFull->isChecked());
    f.folders.write(layouts + "set.rbs",
                    "[POS]\r\nAdWidthType=2\r\n[FRAME]\r\nFWidth=5\r\nFBgImg=/My images/f.gif\r\n"
                    "FImgHide=0\r\n[TEXT]\r\nTxtAllMargins=0\r\nTxtPadLeft=5\r\n"
                    "TxtPadRight=10\r\n");
    f.chooseFile(layouts + "set.rbs");
    f.page.buttons().btnOpenLayout->click();

    const LayoutControls& c = f.page.controls();
    // An unknown width type shows as user-defined and is captured as such.
    QVERIFY(c.radAdManual->isChecked());
    QCOMPARE(f.layout.AdWidthType, QStringLiteral("0"));
    QCOMPARE(f.state.layout.state().AdImageHint, QStringLiteral("No image selected"));
    QCOMPARE(c.btnAdImg->toolTip(), QStringLiteral("No image selected"));
    QCOMPARE(f.state.layout.state().FrameImageHint,
             QStringLiteral("Vantrel/images/My images/f.gif"));
    QCOMPARE(c.btnFrmImg->toolTip(), f.state.layout.state().FrameImageHint);
    QVERIFY(!c.cbxFrmImg->isChecked());
    QVERIFY(c.cbxFRepeatX->isEnabled());
    QVERIFY(!c.cbxAllMargins->isChecked());
    QCOMPARE(f.layout.TxtPadLeft, QStringLiteral("5"));
    QCOMPARE(f.layout.TxtPadRight, QStringLiteral("10"));
}

void TestLayoutCommands::numberThatIsNoIntegerReadsAsDefault() {
    Fixture f;
    f.folders.write(layouts + "mine.rbs", "[OUTER]\r\nOBWidth=3x\r\n[FRAME]\r\nFWidth=5\r\n");
    f.chooseFile(layouts + "mine.rbs");
    f.page.buttons().btnOpenLayout->click();

    QCOMPARE(f.dialogs.shownOf("error"), QStringList());
    QCOMPARE(f.layout.OBWidth, QStringLiteral("0"));
    QCOMPARE(f.layout.FWidth, QStringLiteral("5"));
    QVERIFY(!f.state.layout.state().LayoutLoadNeeded);

    // Showing the page again keeps the opened layout, and saving it writes
    // its own values back.
    f.commands.btnNewPresentClick(LayoutCommands::Form::Page);
    QCOMPARE(f.layout.FWidth, QStringLiteral("5"));
    QCOMPARE(f.state.layout.state().LayoutFileName, QStringLiteral("mine.rbs"));
    f.page.buttons().btnSaveLayout->click();
    QCOMPARE(layoutfile::read(f.folders.path(layouts + "mine.rbs"))->layout.FWidth,
             QStringLiteral("5"));
    QCOMPARE(f.dialogs.shownOf("error"), QStringList());
}

void TestLayoutCommands::unreadableLayoutKeepsTheCurrentOne() {
    Fixture f;
    f.ownFile(QStringLiteral("mine.rbs"));
    const QString big = f.folders.write(layouts + "big.rbs", "[OUTER]\r\nOBWidth=9\r\n" +
                                                                 QByteArray(2 << 20, ';') + "\r\n");
    f.chooseFile(layouts + "big.rbs");
    f.page.buttons().btnOpenLayout->click();

    const QStringList errors = f.dialogs.shownOf("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(big), qPrintable(errors.first()));
    QCOMPARE(f.layout.OBWidth, QStringLiteral("4"));
    QCOMPARE(f.state.layout.state().LayoutFileName, QStringLiteral("mine.rbs"));
    QCOMPARE(f.state.layout.state().LayoutFolder, f.folders.path(layouts));
    QCOMPARE(f.state.layout.state().AdImageHint, QStringLiteral("Vantrel/images/My images/bg.jpg"));
    // The controls go on refreshing the preview, and a later showing of the
    // page does not read the default over them.
    QVERIFY(!f.state.layout.state().LayoutLoadNeeded);
    f.page.controls().edtFW->setText(QStringLiteral("3"));
    QCOMPARE(f.layout.FWidth, QStringLiteral("3"));
}

void TestLayoutCommands::captionFollowsTheLayoutsFile_data() {
    QTest::addColumn<bool>("example");
    QTest::newRow("opened layout") << false;
    QTest::newRow("example layout") << true;
}

void TestLayoutCommands::captionFollowsTheLayoutsFile() {
    QFETCH(bool, example);
    Fixture f;
    // The file the caption would name each time it is computed.
    QStringList captions;
    QObject::connect(&f.commands, &LayoutCommands::captionChanged,
                     [&] { captions.append(f.state.layout.state().LayoutFileName); });
    QString expected;
    if (example) {
        expected = f.folders.write(QStringLiteral("shared/Examples/Jewel.rbs"), "[OUTER]\r\n");
        f.state.document.DocumentFileName =
            f.folders.path(QStringLiteral("shared/Examples/Jewel.vdoc"));
        f.state.layout.requestLoad(LayoutLoadRequest::Example);
        f.commands.LoadComponents();
    } else {
        expected = QStringLiteral("other.rbs");
        f.folders.write(layouts + expected, "[OUTER]\r\nOBWidth=9\r\n");
        f.chooseFile(layouts + expected);
        f.page.buttons().btnOpenLayout->click();
    }
    QCOMPARE(f.state.layout.state().LayoutFileName, expected);
    QVERIFY(!captions.isEmpty());
    QCOMPARE(captions.last(), expected);
}

void TestLayoutCommands::saveLayout_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("written");

    QTest::newRow("own file") << layouts << "mine.rbs" << QString() << false
                              << layouts + "mine.rbs";
    QTest::newRow("untitled, dialog cancelled")
        << QString() << "Untitled.rbs" << QString() << true << QString();
    QTest::newRow("untitled, saved")
        << QString() << "Untitled.rbs" << layouts + "new.rbs" << true << layouts + "new.rbs";
    // Never written over, nor to the two paths joined.
    QTest::newRow("example layout")
        << layouts << "shared/Examples/ex.rbs" << layouts + "copy" << true << layouts + "copy.rbs";
}

void TestLayoutCommands::saveLayout() {
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QString, saveAs);
    QFETCH(bool, dialogShown);
    QFETCH(QString, written);
    Fixture f;
    f.state.layout.setFile(folder.isEmpty() ? QString() : f.folders.path(folder),
                           fileName.contains(QLatin1Char('/')) ? f.folders.path(fileName)
                                                               : fileName);
    f.modify();
    f.chooseFile(saveAs);

    f.page.buttons().btnSaveLayout->click();

    QCOMPARE(f.dialogs.shownOf("save").size(), dialogShown ? 1 : 0);
    QCOMPARE(f.state.layout.state().LayoutModified, written.isEmpty());
    if (!written.isEmpty()) {
        QCOMPARE(f.outerWidthIn(written), QStringLiteral("7"));
        QCOMPARE(f.state.layout.state().LayoutFolder + f.state.layout.state().LayoutFileName,
                 f.folders.path(written));
    }
    QVERIFY(!QFile::exists(f.folders.path("shared/Examples/ex.rbs")));
    if (dialogShown) {
        const UserDialogs::FileDialogOptions& d = f.dialogs.lastFileDialog;
        QCOMPARE(d.filter, QStringLiteral("Vantrel Layout Files (*.rbs)|*.rbs"));
        QCOMPARE(d.initialFolder, f.state.folders.UserFolder + "Documents and Layouts");
        QVERIFY(d.fileName.isEmpty());
        QVERIFY(d.overwritePrompt);
    }
}

void TestLayoutCommands::failedSaveChangesNothing() {
    Fixture f;
    f.state.layout.setFile(f.state.layout.state().LayoutFolder, QStringLiteral("Untitled.rbs"));
    f.modify();
    f.chooseFile(QStringLiteral("no such folder/new.rbs"));

    f.page.buttons().btnSaveAs->click();

    const QStringList errors = f.dialogs.shownOf("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("new.rbs")), qPrintable(errors.first()));
    QCOMPARE(f.state.layout.state().LayoutFileName, QStringLiteral("Untitled.rbs"));
    QVERIFY(f.state.layout.state().LayoutFolder.isEmpty());
    QVERIFY(f.state.layout.state().LayoutModified);
}

void TestLayoutCommands::unstorablePicturePathIsReportedAndNothingWritten() {
    Fixture f;
    f.ownFile(QStringLiteral("mine.rbs"));
    const QByteArray before("[POS]\r\nAdImg=/My images/old.jpg\r\n");
    const QString file = f.folders.write(layouts + "mine.rbs", before);
    const QString picture = QString::fromUtf8("/My images/\u7D19.jpg");
    f.state.layout.setText(&Layout::AdImg, picture);
    f.modify();

    f.page.buttons().btnSaveLayout->click();

    const QStringList errors = f.dialogs.shownOf("error");
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(file) && errors.first().contains(picture),
             qPrintable(errors.first()));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), before);
    QVERIFY(f.state.layout.state().LayoutModified);
}

void TestLayoutCommands::exampleLayout_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("readsExample");

    QTest::newRow("unmodified") << false << QString() << true;
    QTest::newRow("modified, no") << true << "btnSaveNot" << true;
    QTest::newRow("modified, yes") << true << "btnSaveChanges" << true;
    QTest::newRow("modified, cancel keeps the layout") << true << "btnCancel" << false;
}

void TestLayoutCommands::exampleLayout() {
    QFETCH(bool, modified);
    QFETCH(QString, button);
    QFETCH(bool, readsExample);
    Fixture f;
    const QString example =
        f.folders.write(QStringLiteral("shared/Examples/Jewel.rbs"), "[OUTER]\r\nOBWidth=2\r\n");
    f.ownFile(QStringLiteral("mine.rbs"));
    if (modified)
        f.modify();
    if (!button.isEmpty())
        f.answer(button);
    f.pageFiles.clear();
    f.state.document.DocumentFileName =
        f.folders.path(QStringLiteral("shared/Examples/Jewel.vdoc"));
    f.state.layout.requestLoad(LayoutLoadRequest::Example);

    f.commands.LoadComponents();

    QVERIFY(f.state.document.ExampleOpen);
    QVERIFY(f.state.layout.state().LayoutLoadRequested != LayoutLoadRequest::Example);
    QCOMPARE(f.layout.OBWidth, QString(readsExample ? "2" : modified ? "7" : "4"));
    QCOMPARE(f.state.layout.state().LayoutFileName,
             readsExample ? example : QStringLiteral("mine.rbs"));
    QCOMPARE(f.pageFiles.size(), readsExample ? 1 : 0);
    QCOMPARE(f.state.layout.state().LayoutModified, modified && !readsExample);
    if (button == QLatin1String("btnSaveChanges"))
        QCOMPARE(f.outerWidthIn(layouts + "mine.rbs"), QStringLiteral("7"));
}

QTEST_MAIN(TestLayoutCommands)
#include "tst_layoutcommands.moc"
