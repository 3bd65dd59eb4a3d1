#include "app/appstate.h"
#include "layout/layout.h"
#include "layout/layoutfile.h"
#include "layoutui/colorcombo.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "layoutui/layoutpictures.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"
#include "ui/numberedit.h"
#include "ui/updown.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <map>

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

/// What the controls show of the layout.
QStringList shownControls(const LayoutPage& page) {
    const LayoutControls& c = page.controls();
    const auto flag = [](const QAbstractButton* box) {
        return QString::number(box->isChecked()) + QString::number(box->isEnabled());
    };
    return {c.edtAdW->text(),           c.edtOBW->text(),
            c.edtTxtMarginLeft->text(), c.edtTxtMarginRight->text(),
            c.edtTxtMarginTop->text(),  c.cbxOBT->currentText(),
            c.clrAd->color().name(),    flag(c.cbxAdCol),
            flag(c.cbxAdCenter),        flag(c.cbxAllMargins),
            flag(c.cbxTxtImg),          flag(c.cbxTxtRepeatX),
            c.btnTxtImg->toolTip()};
}

/// The Layout page with its picture buttons, as the program has it.
struct PicturesFixture : Fixture {
    LayoutPictures pictures{page.controls(), state.layout, state.folders, dialogs};
    int previews = 0;

    PicturesFixture() {
        QObject::connect(&pictures, &LayoutPictures::refreshNeeded, &page,
                         &LayoutPage::refreshPreview);
        QObject::connect(&page, &LayoutPage::previewRequested, [this] { ++previews; });
    }
    /// A picture from elsewhere, which the choice copies into "My images".
    QString pictureElsewhere() const {
        QDir().mkpath(state.folders.ownImagesFolder());
        const QString file = folders.path(QStringLiteral("elsewhere/Sky.png"));
        QDir().mkpath(QFileInfo(file).path());
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        if (!picture.save(file))
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }
};

void pickEntry(ColorCombo* combo, const QString& text) {
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex index = view->model()->index(combo->findText(text), 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

/// What a seller does to one control of the Layout page.
const std::map<QString, std::function<void(PicturesFixture&)>>& controlChanges() {
    static const std::map<QString, std::function<void(PicturesFixture&)>> table = {
        {"typing 120 into the page width",
         [](PicturesFixture& f) {
             NumberEdit* width = f.page.controls().edtAdW;
             f.page.controls().radAdManual->click();
             width->selectAll();
             QTest::keyClicks(width, "120");
         }},
        {"stepping the outer border with its arrow",
         [](PicturesFixture& f) {
             QToolButton* up = nullptr;
             for (QToolButton* arrow : f.page.controls().UpDown1->findChildren<QToolButton*>()) {
                 if (arrow->arrowType() == Qt::UpArrow)
                     up = arrow;
             }
             for (int i = 0; i < 3; ++i)
                 QTest::mouseClick(up, Qt::LeftButton);
         }},
        {"a colour",
         [](PicturesFixture& f) {
             QTest::mouseClick(f.page.controls().cbxAdCol, Qt::LeftButton, {},
                               QPoint(8, f.page.controls().cbxAdCol->height() / 2));
             f.state.layout.endBurst();
             pickEntry(f.page.controls().clrAd, QStringLiteral("Red"));
         }},
        {"a border type",
         [](PicturesFixture& f) { QTest::keyClick(f.page.controls().cbxOBT, Qt::Key_Down); }},
        {"a check box",
         [](PicturesFixture& f) {
             QAbstractButton* box = f.page.controls().cbxAdCenter;
             QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
         }},
        {"equal margins",
         [](PicturesFixture& f) {
             QAbstractButton* box = f.page.controls().cbxAllMargins;
             if (box->isChecked())
                 QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
             f.page.controls().edtTxtMarginLeft->setText(QStringLiteral("5"));
             f.state.layout.endBurst();
             QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
         }},
        {"a picture",
         [](PicturesFixture& f) {
             f.dialogs.fileNames.enqueue(f.pictureElsewhere());
             f.pictures.btnTxtImgClick();
         }},
    };
    return table;
}

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
    void undoPutsBackTheControlsAndThePreview_data();
    void undoPutsBackTheControlsAndThePreview();
    void undonePictureStaysInTheSellersFolder();
    void openedLayoutIsOneStep();
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

void TestLayoutCommands::undoPutsBackTheControlsAndThePreview_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("steps"); // the last of them is undone and redone

    QTest::newRow("number typed") << "typing 120 into the page width" << 2;
    QTest::newRow("number stepped") << "stepping the outer border with its arrow" << 1;
    QTest::newRow("colour, with the area made to show it") << "a colour" << 2;
    QTest::newRow("border type") << "a border type" << 1;
    QTest::newRow("check box") << "a check box" << 1;
    QTest::newRow("equal margins, with the margins copied") << "equal margins" << 3;
    QTest::newRow("picture, with its box and hint") << "a picture" << 1;
}

void TestLayoutCommands::undoPutsBackTheControlsAndThePreview() {
    QFETCH(QString, change);
    QFETCH(int, steps);
    PicturesFixture f;
    const LayoutButtons& b = f.page.buttons();
    QVERIFY(!b.btnLayoutUndo->isEnabled());
    QVERIFY(!b.btnLayoutRedo->isEnabled());
    controlChanges().at(change)(f);
    QCOMPARE(f.state.layout.history().count(), steps);
    // The state before the last step, as the controls showed it.
    f.state.layout.undo();
    const Layout before = f.layout;
    const QStringList shownBefore = shownControls(f.page);
    f.state.layout.redo();
    const Layout after = f.layout;
    const QStringList shownAfter = shownControls(f.page);
    QVERIFY(before != after);
    QVERIFY(b.btnLayoutUndo->isEnabled());

    f.previews = 0;
    QSignalSpy caption(&f.commands, &LayoutCommands::captionChanged);
    b.btnLayoutUndo->click();
    QVERIFY(f.layout == before);
    QCOMPARE(shownControls(f.page), shownBefore);
    QCOMPARE(f.previews, 1);
    QCOMPARE(caption.size(), 1);
    QVERIFY(b.btnLayoutRedo->isEnabled());

    b.btnLayoutRedo->click();
    QVERIFY(f.layout == after);
    QCOMPARE(shownControls(f.page), shownAfter);
    QCOMPARE(f.previews, 2);
    QVERIFY(!b.btnLayoutRedo->isEnabled());
    // Showing a step makes none of its own.
    QCOMPARE(f.state.layout.history().count(), steps);
    QCOMPARE(f.state.layout.history().index(), steps);
}

void TestLayoutCommands::undonePictureStaysInTheSellersFolder() {
    PicturesFixture f;
    f.dialogs.fileNames.enqueue(f.pictureElsewhere());
    f.pictures.btnTxtImgClick();
    const QString copy = f.state.folders.ownImagesFolder() + QStringLiteral("/Sky.png");
    QVERIFY(QFile::exists(copy));
    QCOMPARE(f.layout.TxtBgImg, QStringLiteral("/My images/Sky.png"));

    f.commands.undo();
    QVERIFY(f.layout.TxtBgImg.isEmpty());
    QCOMPARE(f.state.layout.state().TextImageFileName, QString());
    QCOMPARE(f.page.controls().btnTxtImg->toolTip(), QStringLiteral("No image selected"));
    QVERIFY(QFile::exists(copy));
}

void TestLayoutCommands::openedLayoutIsOneStep() {
    PicturesFixture f;
    f.folders.write(layouts + "Other.rbs", "[OUTER]\r\nOBWidth=9\r\n");
    f.modify();
    const QString nameBefore = f.state.layout.state().LayoutFileName;
    f.answer(QStringLiteral("btnSaveNot")); // its changes are let go
    f.chooseFile(layouts + "Other.rbs");
    f.commands.openLayout();
    QCOMPARE(f.page.controls().edtOBW->text(), QStringLiteral("9"));
    QVERIFY(!f.state.layout.state().LayoutModified);

    f.commands.undo();
    // The changes let go come back, unsaved, under the name they had.
    QCOMPARE(f.page.controls().edtOBW->text(), QStringLiteral("7"));
    QCOMPARE(f.state.layout.state().LayoutFileName, nameBefore);
    QVERIFY(f.state.layout.state().LayoutModified);
    f.commands.undo();
    QCOMPARE(f.page.controls().edtOBW->text(), QStringLiteral("4"));

    f.commands.redo();
    f.commands.redo();
    QCOMPARE(f.page.controls().edtOBW->text(), QStringLiteral("9"));
    QCOMPARE(f.state.layout.state().LayoutFileName, QStringLiteral("Other.rbs"));
    QVERIFY(!f.state.layout.state().LayoutModified);
}

QTEST_MAIN(TestLayoutCommands)
#include "tst_layoutcommands.moc"
