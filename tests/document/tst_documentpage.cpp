#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "docmodel/docproperties.h"
#include "docmodel/eddocument.h"
#include "docmodel/vdocwriter.h"
#include "document/documentpage.h"
#include "document/documenttools.h"
#include "document/insertpicinfodialog.h"
#include "document/richdocumenteditor.h"
#include "editor/edfilecommands.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tablesizepicker.h"
#include "editor/tdoceditor.h"
#include "http/picturetestserver.h"
#include "settings/settingsfile.h"
#include "settingsui/settingsdialog.h"
#include "support/sampledocument.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>
#include <QToolButton>
#include <memory>

namespace {

/// A one-paragraph document file, as the examples are.
QByteArray documentBytes(const QString& text) {
    EdDocument document;
    QTextCursor cursor(document.textDocument());
    document.insertText(cursor, text, 0);
    return VDocWriter::write(document);
}

/// Every window of the program in temporary folders, with three small
/// examples (one damaged, one missing) beside the default layout.
struct Program {
    TestFolders folders;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProgramWindows> windows;

    Program() {
        folders.write(QStringLiteral("program/Default.rbs"), "[OUTER]\r\nOBWidth=4\r\n");
        for (const char* name : {"Simpledoc", "Layout_Special1", "DocTutor"}) {
            const QString base = QStringLiteral("shared/Examples/") + QLatin1String(name);
            folders.write(base + QStringLiteral(".vdoc"),
                          documentBytes(QStringLiteral("Example ") + QLatin1String(name)));
            folders.write(base + QStringLiteral(".rbs"), "[OUTER]\r\nOBWidth=7\r\n");
        }
        folders.write(QStringLiteral("shared/Examples/Doc_tables1.vdoc"), "not a document");
        windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
        window().FormActivate();
        dialogs.shown.clear();
    }
    MainWindow& window() const { return windows->mainWindow(); }
    DocumentPage& page() const { return window().documentPage(); }
    TDocEditor& editor() const { return page().richEditor().editor(); }
    QString example(const QString& name) const {
        return folders.path(QStringLiteral("shared/Examples/") + name + QStringLiteral(".vdoc"));
    }
    void trigger(const QString& name) const {
        QAction* action = window().menuBar()->findChild<QAction*>(name);
        QVERIFY2(action, qPrintable(name));
        action->trigger();
    }
    /// Runs one step of a state table row.
    void step(const QString& step) {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString argument = step.section(QLatin1Char(':'), 1);
        if (verb == QLatin1String("new")) {
            trigger(QStringLiteral("mnuNewDoc"));
        } else if (verb == QLatin1String("type")) {
            editor().setFocus();
            QTest::keyClicks(&editor(), QStringLiteral("Camera"));
        } else if (verb == QLatin1String("open")) {
            dialogs.fileNames.enqueue(
                folders.write(QStringLiteral("user/") + argument, documentBytes(argument)));
            trigger(QStringLiteral("mnuOpenDoc"));
        } else if (verb == QLatin1String("save")) {
            // A name in a folder that does not exist cannot be written.
            dialogs.fileNames.enqueue(argument.startsWith(QLatin1String("nowhere/"))
                                          ? folders.path(QStringLiteral("none/") + argument)
                                          : folders.path(QStringLiteral("user/") + argument));
            page().btnSaveDoc->click();
        } else if (verb == QLatin1String("name")) {
            dialogs.fileNames.enqueue(folders.path(QStringLiteral("user/") + argument));
        } else if (verb == QLatin1String("answer")) {
            dialogs.answers.enqueue(argument == QLatin1String("yes") ? UserDialogs::Answer::Yes
                                    : argument == QLatin1String("no")
                                        ? UserDialogs::Answer::No
                                        : UserDialogs::Answer::Cancel);
        } else if (verb == QLatin1String("import")) {
            // A listing page of the fixtures, a missing one ("gone..."), a
            // file that is no page (".jpg"), or a small page of that title.
            const QString fixture = QStringLiteral(VANTREL_LISTING_PAGES "/") + argument;
            QString path;
            if (argument.isEmpty())
                path = QString();
            else if (QFileInfo(fixture).isFile())
                path = fixture;
            else if (argument.startsWith(QLatin1String("gone")))
                path = folders.path(QStringLiteral("user/") + argument);
            else if (argument.endsWith(QLatin1String(".jpg")))
                path = folders.write(QStringLiteral("user/") + argument,
                                     QByteArray("\xff\xd8\xff\0\0JFIF", 10));
            else
                path = folders.write(QStringLiteral("user/") + argument,
                                     "<h1>" + argument.toUtf8() + "</h1>");
            dialogs.fileNames.enqueue(path);
            trigger(QStringLiteral("mnuOpenListing"));
        } else if (verb == QLatin1String("example")) {
            trigger(QStringLiteral("mnu") + argument);
        } else {
            QFAIL(qPrintable(step));
        }
    }
};

/// Types as the seller does: into whatever has the keyboard.
void typeIntoFocus(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "nothing has the keyboard");
    QTest::keyClicks(focus, text);
}

/// A dialog as the seller meets it: shown on the screen and active, then
/// closed with OK; the desktop then gives the main window back its activity.
int showAndAccept(QDialog& dialog, QWidget& mainWindow) {
    const auto activate = [](QWidget& window) {
        window.activateWindow();
        if (!QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }))
            qWarning() << window.objectName() << "did not become active";
    };
    dialog.show();
    activate(dialog);
    dialog.accept();
    activate(mainWindow);
    return QDialog::Accepted;
}

/// The first link of the document: its text and target.
QPair<QString, QString> firstLink(TDocEditor& editor) {
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.hasProperty(docprop::StyleNo) &&
                editor.Style().TextStyles.at(format.intProperty(docprop::StyleNo)).Jump)
                return {it.fragment().text(), format.stringProperty(docprop::Tag)};
        }
    }
    return {};
}

} // namespace

class TestDocumentPage : public QObject {
    Q_OBJECT

private slots:
    void documentStates_data();
    void documentStates();
    void newDocumentHasOneVerdanaStyle();
    void fontBoxes_data();
    void fontBoxes();
    void typedLinks_data();
    void typedLinks();
    void pastedLinks_data();
    void pastedLinks();
    void linksInThePage_data();
    void linksInThePage();
    void insertedPictures_data();
    void insertedPictures();
    void pictureWindowsHideBoxIsTheSetting();
    void linkWindowFollowsInsertedLinks_data();
    void linkWindowFollowsInsertedLinks();
    void tableSizePickerDropsBelowItsButton();
    void typingGoesOnAfterACommand_data();
    void typingGoesOnAfterACommand();
    void everyToolButtonHasIconAndHint();
    void webPicturesOfAnOpenedPageArrive();
};

void TestDocumentPage::documentStates_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("fileName"); // "@Name": the full path of that example
    QTest::addColumn<bool>("example");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("shown"); // what the user saw, by kind and start
    QTest::addColumn<QString>("text");      // how the document begins

    const QString note = "message: PLEASE NOTE : Example & Tutorial documents are read only";
    QTest::newRow("new") << QStringList{"new"} << "Untitled.vdoc" << false << false << 0
                         << QStringList{} << "";
    QTest::newRow("typed") << QStringList{"new", "type"} << "Untitled.vdoc" << false << true << 0
                           << QStringList{} << "Camera";
    QTest::newRow("saved") << QStringList{"new", "type", "save:camera.vdoc"} << "camera.vdoc"
                           << false << false << 0 << QStringList{"save: Save As"} << "Camera";
    QTest::newRow("save fails, stays modified")
        << QStringList{"new", "type", "save:nowhere/camera.vdoc"} << "Untitled.vdoc" << false
        << true << 0 << QStringList{"save: Save As", "message: Error saving file."} << "Camera";
    QTest::newRow("opened") << QStringList{"open:dress.vdoc"} << "dress.vdoc" << false << false << 0
                            << QStringList{"open: Open"} << "dress.vdoc";
    QTest::newRow("example") << QStringList{"example:Layout_Special1"} << "@Layout_Special1" << true
                             << false << 1 << QStringList{note} << "Example Layout_Special1";
    QTest::newRow("note once") << QStringList{"example:Simpledoc", "example:Layout_Special1"}
                               << "@Layout_Special1" << true << false << 1 << QStringList{note}
                               << "Example Layout_Special1";
    QTest::newRow("tutorial stays on the page")
        << QStringList{"example:DocTutor"} << "@DocTutor" << true << false << 0 << QStringList{note}
        << "Example DocTutor";
    QTest::newRow("example over changes, cancel")
        << QStringList{"new", "type", "answer:cancel", "example:Simpledoc"} << "Untitled.vdoc"
        << false << true << 0 << QStringList{"yesnocancel: Save changes to Untitled.vdoc?"}
        << "Camera";
    QTest::newRow("example over changes, no")
        << QStringList{"new", "type", "answer:no", "example:Simpledoc"} << "@Simpledoc" << true
        << false << 1 << QStringList{"yesnocancel: Save changes", note} << "Example Simpledoc";
    QTest::newRow("example over changes, yes saves first")
        << QStringList{"new", "type", "answer:yes", "name:camera.vdoc", "example:Simpledoc"}
        << "@Simpledoc" << true << false << 1
        << QStringList{"yesnocancel: Save changes", "save: Save As", note} << "Example Simpledoc";
    QTest::newRow("save of an example asks for a name")
        << QStringList{"open:mine.vdoc", "example:DocTutor", "save:copy.vdoc"} << "copy.vdoc"
        << true << false << 0 << QStringList{"open: Open", note, "save: Save As"}
        << "Example DocTutor";
    QTest::newRow("new after an example")
        << QStringList{"example:DocTutor", "new"} << "Untitled.vdoc" << false << false << 0
        << QStringList{note} << "";
    const QString page = "open: Open a Listing Page (HTML)";
    QTest::newRow("listing page") << QStringList{"import:script.html"} << "Untitled.vdoc" << false
                                  << false << 0
                                  << QStringList{page, "message: Left out: 4 scripts, 1 embedded "
                                                       "frame or media."}
                                  << "Silver pocket watch";
    QTest::newRow("listing page with nothing left out")
        << QStringList{"import:lamp.html"} << "Untitled.vdoc" << false << false << 0
        << QStringList{page} << "lamp.html";
    QTest::newRow("listing page changed")
        << QStringList{"import:form.html", "type"} << "Untitled.vdoc" << false << true << 0
        << QStringList{page, "message: Left out: 1 form."} << "CameraAntique brass compass";
    QTest::newRow("listing page saved under a new name")
        << QStringList{"import:form.html", "save:compass.vdoc"} << "compass.vdoc" << false << false
        << 0 << QStringList{page, "message: Left out: 1 form.", "save: Save As"}
        << "Antique brass compass";
    QTest::newRow("listing page over changes, cancel")
        << QStringList{"new", "type", "answer:cancel", "import:form.html"} << "Untitled.vdoc"
        << false << true << 0 << QStringList{"yesnocancel: Save changes to Untitled.vdoc?"}
        << "Camera";
    QTest::newRow("listing page over changes, no")
        << QStringList{"new", "type", "answer:no", "import:lamp.html"} << "Untitled.vdoc" << false
        << false << 0 << QStringList{"yesnocancel: Save changes to Untitled.vdoc?", page}
        << "lamp.html";
    QTest::newRow("listing page not chosen")
        << QStringList{"new", "type", "answer:no", "import:"} << "Untitled.vdoc" << false << true
        << 0 << QStringList{"yesnocancel: Save changes", page} << "Camera";
    QTest::newRow("listing page gone")
        << QStringList{"new", "type", "answer:no", "import:gone.html"} << "Untitled.vdoc" << false
        << true << 0 << QStringList{"yesnocancel: Save changes", page, "message: \""} << "Camera";
    QTest::newRow("listing page that is a picture")
        << QStringList{"new", "type", "answer:no", "import:photo.jpg"} << "Untitled.vdoc" << false
        << true << 0 << QStringList{"yesnocancel: Save changes", page, "message: \""} << "Camera";
    QTest::newRow("listing page after an example")
        << QStringList{"example:DocTutor", "import:form.html"} << "Untitled.vdoc" << false << false
        << 0 << QStringList{note, page, "message: Left out: 1 form."} << "Antique brass compass";
    QTest::newRow("damaged example")
        << QStringList{"new", "type", "example:Doc_tables1"} << "Untitled.vdoc" << false << true
        << 0 << QStringList{"message: The example or tutorial \"@Doc_tables1\" is damaged"}
        << "Camera";
    QTest::newRow("missing example")
        << QStringList{"new", "type", "example:Doc_tables2"} << "Untitled.vdoc" << false << true
        << 0 << QStringList{"message: The example or tutorial \"@Doc_tables2\" cannot be found"}
        << "Camera";
}

void TestDocumentPage::documentStates() {
    QFETCH(QStringList, steps);
    QFETCH(QString, fileName);
    QFETCH(bool, example);
    QFETCH(bool, modified);
    QFETCH(int, page);
    QFETCH(QStringList, shown);
    QFETCH(QString, text);
    Program p;
    const auto resolve = [&p](QString value) {
        const int at = value.indexOf(QLatin1Char('@'));
        if (at < 0)
            return value;
        const int end = value.indexOf(QLatin1Char('"'), at);
        const QString name = value.mid(at + 1, end < 0 ? -1 : end - at - 1);
        return value.replace(QLatin1Char('@') + name, p.example(name));
    };
    const QByteArray exampleBefore = QFile(p.example("DocTutor")).exists()
                                         ? [&] {
                                               QFile f(p.example("DocTutor"));
                                               f.open(QIODevice::ReadOnly);
                                               return f.readAll();
                                           }()
                                         : QByteArray();
    for (const QString& step : steps)
        p.step(step);

    QCOMPARE(p.window().state().document.DocumentFileName, resolve(fileName));
    QCOMPARE(p.window().state().document.ExampleOpen, example);
    QCOMPARE(p.editor().isReadOnly(), example);
    QCOMPARE(p.editor().DocumentModified(), modified);
    QCOMPARE(p.window().pages()->currentIndex(), page);
    QVERIFY2(p.editor().toPlainText().startsWith(text), qPrintable(p.editor().toPlainText()));
    QCOMPARE(p.dialogs.shown.size(), shown.size());
    for (int i = 0; i < shown.size(); ++i)
        QVERIFY2(p.dialogs.shown.at(i).startsWith(resolve(shown.at(i))),
                 qPrintable(p.dialogs.shown.join(QLatin1Char('|'))));
    if (page == 0) {
        const QString name = QFileInfo(resolve(fileName)).fileName();
        QCOMPARE(p.window().windowTitle(),
                 QStringLiteral("Vantrel (editing document : ") + name +
                     (modified ? QStringLiteral(" - modified)") : QStringLiteral(")")));
    } else {
        // The example's own layout came with it.
        QCOMPARE(p.window().layout().OBWidth, QStringLiteral("7"));
    }
    // An example is never written over.
    QFile tutorial(p.example("DocTutor"));
    QVERIFY(tutorial.open(QIODevice::ReadOnly));
    QCOMPARE(tutorial.readAll(), exampleBefore);
}

void TestDocumentPage::newDocumentHasOneVerdanaStyle() {
    Program p;
    p.trigger(QStringLiteral("mnuNewDoc"));
    const TTextStyleInfos& styles = p.editor().Style().TextStyles;
    QCOMPARE(styles.count(), 1);
    QCOMPARE(styles.at(0).FontName, QStringLiteral("Verdana"));
    QCOMPARE(styles.at(0).Size, 10);
    QCOMPARE(p.page().tools().EdFontName->currentText(), QStringLiteral("Verdana"));
    QCOMPARE(p.page().tools().cbxFontSize->currentText(), QStringLiteral("10"));
}

void TestDocumentPage::fontBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fontName"); // of the selected text afterwards
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<bool>("leave"); // the box is left instead of Enter pressed

    QTest::newRow("size") << "cbxFontSize"
                          << "14"
                          << "Verdana" << 14 << false << false;
    QTest::newRow("largest size") << "cbxFontSize"
                                  << "999"
                                  << "Verdana" << 999 << false << false;
    QTest::newRow("size too large") << "cbxFontSize"
                                    << "99999"
                                    << "Verdana" << 10 << true << false;
    QTest::newRow("size zero") << "cbxFontSize"
                               << "0"
                               << "Verdana" << 10 << true << false;
    QTest::newRow("size not a number") << "cbxFontSize"
                                       << "12x"
                                       << "Verdana" << 10 << true << false;
    QTest::newRow("size, box left") << "cbxFontSize"
                                    << "16"
                                    << "Verdana" << 16 << false << true;
    QTest::newRow("size not a number, box left") << "cbxFontSize"
                                                 << "12x"
                                                 << "Verdana" << 10 << true << true;
    QTest::newRow("name in other case") << "EdFontName"
                                        << "georgia"
                                        << "georgia" << 10 << false << false;
    QTest::newRow("name not listed") << "EdFontName"
                                     << "Wingdings"
                                     << "Verdana" << 10 << true << false;
}

void TestDocumentPage::fontBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    Program p;
    p.trigger(QStringLiteral("mnuNewDoc"));
    QTest::keyClicks(&p.editor(), QStringLiteral("Lens"));
    p.editor().selectAll();
    auto* combo = p.page().tools().findChild<QComboBox*>(box);
    combo->lineEdit()->setText(typed);
    QFETCH(bool, leave);
    if (leave) {
        QFocusEvent left(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(combo->lineEdit(), &left);
    } else {
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    }

    const TTextStyleInfo& style = p.editor().Style().TextStyles.at(p.editor().CaretTextStyle());
    QTEST(style.FontName, "fontName");
    QTEST(style.Size, "size");
    QTEST(p.dialogs.shown.contains(QStringLiteral("beep: ")), "beep");
    if (box == QLatin1String("EdFontName") && !p.dialogs.shown.contains(QStringLiteral("beep: ")))
        QCOMPARE(p.page().tools().EdFontName->currentIndex(),
                 DocumentTools::fontNames().indexOf(QStringLiteral("Georgia")));
}

void TestDocumentPage::typedLinks_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("linkText");
    QTest::addColumn<QString>("target");

    QTest::newRow("www and comma") << "see www.shop.example, then"
                                   << "www.shop.example"
                                   << "www.shop.example";
    QTest::newRow("full stop alone") << "see www.shop.example."
                                     << ""
                                     << "";
    QTest::newRow("web address and space") << "at https://shop.example/lens?id=4 now"
                                           << "https://shop.example/lens?id=4"
                                           << "https://shop.example/lens?id=4";
    QTest::newRow("e-mail and semicolon") << "ask bob@shop.example;"
                                          << "bob@shop.example"
                                          << "mailto:bob@shop.example";
    QTest::newRow("plain words") << "a vintage dress, size 12; "
                                 << ""
                                 << "";
}

void TestDocumentPage::typedLinks() {
    QFETCH(QString, typed);
    Program p;
    p.trigger(QStringLiteral("mnuNewDoc"));
    QTest::keyClicks(&p.editor(), typed);
    const auto [text, target] = firstLink(p.editor());
    QTEST(text, "linkText");
    QTEST(target, "target");
    // What follows the link is typed in the normal style.
    if (!text.isEmpty())
        QVERIFY(!p.editor().toPlainText().endsWith(text));
}

void TestDocumentPage::pastedLinks_data() {
    QTest::addColumn<QString>("mimeType");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("target");

    QTest::newRow("bare address") << "text/plain"
                                  << "https://shop.example/tools"
                                  << "https://shop.example/tools";
    QTest::newRow("bare e-mail") << "text/plain"
                                 << "bob@shop.example"
                                 << "mailto:bob@shop.example";
    QTest::newRow("sentence") << "text/plain"
                              << "see https://shop.example/tools"
                              << "";
    QTest::newRow("link with a line break") << "text/html"
                                            << "<a href=\"https://shop.exa\nmple/\">shop</a>"
                                            << "https://shop.example/";
}

void TestDocumentPage::pastedLinks() {
    QFETCH(QString, mimeType);
    QFETCH(QString, pasted);
    Program p;
    p.trigger(QStringLiteral("mnuNewDoc"));
    QMimeData data;
    data.setData(mimeType, pasted.toUtf8());
    p.editor().insertMimeData(data);
    QTEST(firstLink(p.editor()).second, "target");
}

void TestDocumentPage::linksInThePage_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("publishing");
    QTest::addColumn<bool>("newWindow");
    QTest::addColumn<QString>("anchor"); // empty: the text without a link
    QTest::addColumn<bool>("followed");  // Ctrl+click hands it to the desktop

    const QString shop = "https://shop.example/lens";
    QTest::newRow("preview") << shop << false << true << "" << true;
    QTest::newRow("published, new window")
        << shop << true << true << "<a href=\"https://shop.example/lens\" target=_blank>" << true;
    QTest::newRow("published, same window")
        << shop << true << false << "<a href=\"https://shop.example/lens\">" << true;
    QTest::newRow("mail") << "mailto:bob@shop.example" << true << false
                          << "<a href=\"mailto:bob@shop.example\">" << true;
    QTest::newRow("ftp") << "ftp://files.shop.example/" << true << false
                         << "<a href=\"ftp://files.shop.example/\">" << true;
    QTest::newRow("script") << "javascript:alert(1)" << true << true << "" << false;
    QTest::newRow("local file") << "file:///etc/passwd" << true << true << "" << false;
    QTest::newRow("data") << "data:text/html,<b>x</b>" << true << true << "" << false;
    QTest::newRow("program") << "vbscript:run" << true << false << "" << false;
}

void TestDocumentPage::linksInThePage() {
    QFETCH(QString, target);
    QFETCH(bool, publishing);
    QFETCH(bool, newWindow);
    QFETCH(QString, anchor);
    QFETCH(bool, followed);
    Program p;
    p.windows->settingsDialog()
        .findChild<QCheckBox*>(QStringLiteral("cbxLinksTarget"))
        ->setChecked(newWindow);
    p.trigger(QStringLiteral("mnuNewDoc"));
    p.editor().insertHyperlink(QStringLiteral("Our shop"), target);
    // The preview's fragment is kept; publishing must not take it.
    QVERIFY(!p.page().pageFragment().contains("<a "));
    p.window().state().publishing.Publishing = publishing;
    const QString html = QString::fromLatin1(p.page().pageFragment());
    QVERIFY(html.contains(QStringLiteral("Our shop")));
    if (anchor.isEmpty())
        QVERIFY2(!html.contains(QStringLiteral("<a ")), qPrintable(html));
    else
        QVERIFY2(html.contains(anchor), qPrintable(html));

    p.dialogs.shown.clear();
    p.editor().FollowLink(1);
    QCOMPARE(p.dialogs.shownOf(QStringLiteral("url")).size(), followed ? 1 : 0);
}

void TestDocumentPage::insertedPictures_data() {
    QTest::addColumn<QString>("source"); // below the temporary root; "" cancels
    QTest::addColumn<QString>("stored"); // the picture's file afterwards, below the root
    QTest::addColumn<QStringList>("shown");

    const QString own = "user/images/My images/";
    QTest::newRow("cancelled") << ""
                               << "" << QStringList{"open: Insert Picture"};
    QTest::newRow("from the own folder")
        << own + "lens.png" << own + "lens.png" << QStringList{"open: Insert Picture"};
    QTest::newRow("from elsewhere")
        << "camera/lens.jpg" << own + "lens.jpg"
        << QStringList{"open: Insert Picture", "modal: T_frmInsertPicInfo"};
    QTest::newRow("name taken by another picture")
        << "camera/sky.png" << own + "sky (2).png"
        << QStringList{"open: Insert Picture", "modal: T_frmInsertPicInfo"};
    QTest::newRow("unsafe name") << "camera/my lens#1.png" << own + "my lens_1.png"
                                 << QStringList{"open: Insert Picture",
                                                "modal: T_frmInsertPicInfo"};
}

void TestDocumentPage::insertedPictures() {
    QFETCH(QString, source);
    QFETCH(QString, stored);
    Program p;
    QVERIFY(QDir().mkpath(p.folders.path("user/images/My images")));
    QVERIFY(QDir().mkpath(p.folders.path("camera")));
    p.folders.write("user/images/My images/lens.png", sampledocument::pngBytes());
    p.folders.write("user/images/My images/sky.png", sampledocument::pngBytes(2, 2, Qt::blue));
    for (const char* name : {"camera/sky.png", "camera/my lens#1.png"})
        p.folders.write(QLatin1String(name), sampledocument::pngBytes());
    p.folders.write("camera/lens.jpg", sampledocument::jpegBytes());
    p.trigger(QStringLiteral("mnuNewDoc"));
    p.dialogs.fileNames.enqueue(source.isEmpty() ? QString() : p.folders.path(source));

    p.page().tools().findChild<QToolButton*>(QStringLiteral("tobInsertImage"))->click();

    QTEST(p.dialogs.shown, "shown");
    if (stored.isEmpty()) {
        QVERIFY(p.editor().toPlainText().isEmpty());
        QCOMPARE(p.window().state().publishing.LastPictureCopy, QString());
        return;
    }
    QCOMPARE(QFileInfo(p.editor().CaretItemPictureFile()).canonicalFilePath(),
             QFileInfo(p.folders.path(stored)).canonicalFilePath());
    QVERIFY(QFileInfo::exists(p.folders.path(stored)));
    if (source.startsWith(QLatin1String("camera/")))
        QCOMPARE(QFileInfo(p.window().state().publishing.LastPictureCopy).canonicalFilePath(),
                 QFileInfo(p.folders.path(stored)).canonicalFilePath());
}

void TestDocumentPage::pictureWindowsHideBoxIsTheSetting() {
    Program p;
    SettingsDialog& settings = p.windows->settingsDialog();
    auto* info = qobject_cast<InsertPicInfoDialog*>([] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("T_frmInsertPicInfo"))
                return widget;
        return static_cast<QWidget*>(nullptr);
    }());
    QVERIFY(info);
    info->cbxHideInsertPicInfo->click();
    QVERIFY(settings.hideInsertPicture());
    QVERIFY(SettingsFile(p.folders.folders().settingsFile()).readBool(SettingKey::hideInsertPic));

    // Hidden, the window does not come after a copy.
    QVERIFY(QDir().mkpath(p.folders.path("camera")));
    QVERIFY(QDir().mkpath(p.folders.path("user/images/My images")));
    p.trigger(QStringLiteral("mnuNewDoc"));
    p.dialogs.fileNames.enqueue(p.folders.write("camera/lens.png", sampledocument::pngBytes()));
    p.page().tools().findChild<QToolButton*>(QStringLiteral("tobInsertImage"))->click();
    QCOMPARE(p.dialogs.shown, QStringList{"open: Insert Picture"});
}

void TestDocumentPage::linkWindowFollowsInsertedLinks_data() {
    QTest::addColumn<bool>("inserted");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("inserted") << true << false
                              << QStringList{"modal: HyperlinkDialog",
                                             "modal: T_frmInsertLinkInfo"};
    QTest::newRow("hidden") << true << true << QStringList{"modal: HyperlinkDialog"};
    QTest::newRow("cancelled") << false << false << QStringList{"modal: HyperlinkDialog"};
}

void TestDocumentPage::linkWindowFollowsInsertedLinks() {
    QFETCH(bool, inserted);
    QFETCH(bool, hidden);
    Program p;
    p.windows->settingsDialog().setHideInsertLink(hidden);
    p.trigger(QStringLiteral("mnuNewDoc"));
    p.dialogs.modalActions.enqueue([inserted](QDialog& dialog) {
        auto& link = dynamic_cast<HyperlinkDialog&>(dialog);
        link.setText(QStringLiteral("Our shop"));
        link.setTarget(QStringLiteral("https://shop.example/"));
        return inserted ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    p.page().tools().findChild<QToolButton*>(QStringLiteral("tobInsertLink"))->click();
    QStringList shown = p.dialogs.shown;
    // The link dialog's object name is its own affair; its place in the
    // order is what counts.
    if (!shown.isEmpty())
        shown[0] = QStringLiteral("modal: HyperlinkDialog");
    QTEST(shown, "shown");
    QCOMPARE(firstLink(p.editor()).second,
             inserted ? QStringLiteral("https://shop.example/") : QString());
}

void TestDocumentPage::tableSizePickerDropsBelowItsButton() {
    Program p;
    p.trigger(QStringLiteral("mnuNewDoc"));
    DocumentTools& tools = p.page().tools();
    emit tools.tobInsertTable->arrowClicked();
    auto* picker = p.editor().findChild<TableSizePicker*>();
    QVERIFY(picker);
    emit picker->sizeChosen(2, 3);
    QTextCursor cursor(p.editor().document());
    cursor.movePosition(QTextCursor::NextBlock);
    QTextTable* table = p.editor().textCursor().currentTable();
    if (!table) {
        p.editor().moveCursor(QTextCursor::Start);
        p.editor().moveCursor(QTextCursor::NextBlock);
        table = p.editor().textCursor().currentTable();
    }
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 3);
}

void TestDocumentPage::typingGoesOnAfterACommand_data() {
    QTest::addColumn<QString>("command"); // a tool button or a document button
    QTest::addColumn<int>("dialogs");     // dialogs it shows on the screen
    QTest::addColumn<QString>("typed");   // where "def" lands

    QTest::newRow("Bold") << "tobBold" << 0 << "abc def";
    QTest::newRow("Bullets") << "tobBullets" << 0 << "abc def";
    QTest::newRow("Text colour") << "tobTextCol" << 0 << "abc def";
    QTest::newRow("Insert Table dialog") << "tobInsertTable" << 1 << "def";
    QTest::newRow("link dialog and link window") << "tobInsertLink" << 2 << "abc Our shopdef";
    QTest::newRow("Save Document button") << "btnSaveDoc" << 0 << "abc def";
}

void TestDocumentPage::typingGoesOnAfterACommand() {
    QFETCH(QString, command);
    QFETCH(int, dialogs);
    QFETCH(QString, typed);
    Program p;
    MainWindow& window = p.window();
    window.resize(1100, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    p.trigger(QStringLiteral("mnuNewDoc"));
    QTest::mouseClick(p.editor().viewport(), Qt::LeftButton, {}, QPoint(40, 10));
    typeIntoFocus(QStringLiteral("abc "));
    for (int shown = 0; shown < dialogs; ++shown) {
        p.dialogs.modalActions.enqueue([&window](QDialog& dialog) {
            if (auto* link = qobject_cast<HyperlinkDialog*>(&dialog)) {
                link->setText(QStringLiteral("Our shop"));
                link->setTarget(QStringLiteral("https://shop.example/"));
            }
            return showAndAccept(dialog, window);
        });
    }
    p.dialogs.colors.enqueue(QColor(Qt::red));
    QWidget* button = window.findChild<QWidget*>(command);
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(p.dialogs.modalActions.isEmpty());
    typeIntoFocus(QStringLiteral("def"));
    QTextCursor found = p.editor().document()->find(QStringLiteral("def"));
    QVERIFY2(!found.isNull(), qPrintable(p.editor().toPlainText()));
    QCOMPARE(found.block().text(), typed);
}

void TestDocumentPage::everyToolButtonHasIconAndHint() {
    Program p;
    const QStringList expected = {"tobSelectAll",
                                  "tobCut",
                                  "tobCopy",
                                  "tobPaste",
                                  "tobUndo",
                                  "tobRedo",
                                  "tobSearch",
                                  "tobReplace",
                                  "tobPreview",
                                  "tobQuickPrint",
                                  "tobBold",
                                  "tobItalic",
                                  "tobUnderline",
                                  "tobStrikeout",
                                  "tobOverline",
                                  "tobGrow",
                                  "tobShrink",
                                  "tobTextCol",
                                  "tobBgTextCol",
                                  "tobLeft",
                                  "tobCenter",
                                  "tobRight",
                                  "tobJustify",
                                  "tobBullets",
                                  "tobNumbering",
                                  "tobDecIndent",
                                  "tobIncIndent",
                                  "tobParaBackColor",
                                  "tobHorLine",
                                  "tobInsertTable",
                                  "tobDeleteTable",
                                  "tobTableProperties",
                                  "tobInsertColLeft",
                                  "tobInsertColRight",
                                  "tobDeleteCol",
                                  "tobInsertRowAbove",
                                  "tobInsertRowBelow",
                                  "tobDeleteRow",
                                  "tobMergeCells",
                                  "tobSplitCells",
                                  "tobBorderLeft",
                                  "tobBorderRight",
                                  "tobBorderTop",
                                  "tobBorderBottom",
                                  "tobAllBorders",
                                  "tobNoBorder",
                                  "tobVertAlignCenter",
                                  "tobVertAlignTop",
                                  "tobVertAlignBottom",
                                  "tobVertAlignDefault",
                                  "tobInsertImage",
                                  "tobInsertLink"};
    QStringList names;
    for (QToolButton* button : p.page().tools().toolButtons()) {
        names.append(button->objectName());
        QVERIFY2(!button->icon().pixmap(22).isNull(), qPrintable(button->objectName()));
        QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
    }
    QCOMPARE(names, expected);
}

void TestDocumentPage::webPicturesOfAnOpenedPageArrive() {
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    PictureTestServer server;
    const QString address = server.url(QStringLiteral("/pictures/sky.gif"));
    Program p;
    p.dialogs.fileNames.enqueue(p.folders.write(QStringLiteral("user/web.html"),
                                                "<p>Front: <img src=\"" + address.toUtf8() +
                                                    "\" width=\"40\" height=\"30\"></p>"));
    p.trigger(QStringLiteral("mnuOpenListing"));
    DocPicture web;
    web.address = address;
    const auto shown = [&] {
        return p.editor()
            .document()
            ->resource(QTextDocument::ImageResource, QUrl(web.resourceName()))
            .value<QImage>()
            .size();
    };
    // A placeholder first, then the picture itself, fetched by the page.
    QVERIFY(shown().width() > 1);
    QTRY_COMPARE_WITH_TIMEOUT(shown(), QSize(1, 1), 20000);
    QCOMPARE(server.connections, 1);
    qunsetenv("XDG_CACHE_HOME");
}

QTEST_MAIN(TestDocumentPage)
#include "tst_documentpage.moc"
