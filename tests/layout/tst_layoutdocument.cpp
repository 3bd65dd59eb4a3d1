#include "layout/layoutdocument.h"
#include "layout/layoutfile.h"
#include "platform/inifile.h"
#include "platform/workingfolders.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <map>

using Changes = LayoutDocument::Changes;
using Change = LayoutDocument::Change;
using Picture = LayoutDocument::Picture;

namespace {

const QString kPicture = QStringLiteral("/My images/Sky.PNG");

/// A document as a seller has it after opening "mine.rbs" and changing it.
struct DocumentFixture {
    QTemporaryDir dir;
    LayoutDocument document;

    DocumentFixture() {
        LayoutFileContent content;
        content.layout.OBWidth = QStringLiteral("2");
        content.TxtAllMargins = false;
        document.replaceWith(content);
        document.setFile(folder(), QStringLiteral("mine.rbs"));
        document.markModified();
    }
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QString write(const char* name, const QByteArray& bytes) const {
        const QString file = folder() + QLatin1String(name);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }
};

/// One operation of the document and what it must have done afterwards.
struct Operation {
    std::function<void(DocumentFixture&)> run;
    std::function<void(const DocumentFixture&)> check;
};

const std::map<QString, Operation>& operations() {
    static const std::map<QString, Operation> table = {
        {"set a text field",
         {[](DocumentFixture& f) { f.document.setText(&Layout::FWidth, QStringLiteral("5")); },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().FWidth, QStringLiteral("5"));
          }}},
        {"set the same text again", // the fixture's outer border is 2 wide already
         {[](DocumentFixture& f) { f.document.setText(&Layout::OBWidth, QStringLiteral("2")); },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().OBWidth, QStringLiteral("2"));
          }}},
        {"set a flag",
         {[](DocumentFixture& f) { f.document.setFlag(&Layout::AdCenter, false); },
          [](const DocumentFixture& f) { QVERIFY(!f.document.layout().AdCenter); }}},
        {"capture the whole record",
         {[](DocumentFixture& f) {
              Layout captured = f.document.layout();
              captured.TxtPadLeft = captured.TxtPadTop = QStringLiteral("8");
              f.document.setLayout(captured);
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().TxtPadTop, QStringLiteral("8"));
          }}},
        {"turn equal margins on",
         {[](DocumentFixture& f) { f.document.setAllMargins(true); },
          [](const DocumentFixture& f) { QVERIFY(f.document.content().TxtAllMargins); }}},
        {"pick a colour",
         {[](DocumentFixture& f) {
              f.document.markSaved();
              f.document.pickColour(&Layout::FBgCol, QStringLiteral("#123456"));
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().FBgCol, QStringLiteral("#123456"));
              QVERIFY(f.document.state().LayoutModified);
          }}},
        {"choose a picture",
         {[](DocumentFixture& f) {
              f.document.markSaved();
              f.document.choosePicture(Picture::Text, kPicture);
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().TxtBgImg, kPicture);
              QVERIFY(!f.document.layout().TxtImgHide);
              QCOMPARE(f.document.state().TextImageHint,
                       QStringLiteral("Vantrel/images/My images/Sky.PNG"));
              QCOMPARE(f.document.state().TextImageFileName, QStringLiteral("Sky.PNG"));
              QVERIFY(f.document.state().LayoutModified);
          }}},
        {"put a file's content in place",
         {[](DocumentFixture& f) {
              LayoutFileContent content;
              content.layout.AdImg = kPicture;
              f.document.replaceWith(content);
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().OBWidth, QStringLiteral("0"));
              QCOMPARE(f.document.layout().AdImg, kPicture);
              QCOMPARE(f.document.state().AdImageFileName, QStringLiteral("Sky.PNG"));
              QVERIFY(f.document.content().TxtAllMargins);
              // Its file and its changes stay.
              QCOMPARE(f.document.state().LayoutFileName, QStringLiteral("mine.rbs"));
              QVERIFY(f.document.state().LayoutModified);
          }}},
        {"put the same content in place again", // still shown anew
         {[](DocumentFixture& f) { f.document.replaceWith(f.document.content()); },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().OBWidth, QStringLiteral("2"));
          }}},
        {"load a file",
         {[](DocumentFixture& f) {
              const QString file =
                  f.write("other.rbs", "[OUTER]\r\nOBWidth=9\r\n[FRAME]\r\nFWidth=x\r\n");
              QVERIFY(f.document.load(file));
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.layout().OBWidth, QStringLiteral("9"));
              // A number that is not one takes its default.
              QCOMPARE(f.document.layout().FWidth, QStringLiteral("0"));
              QCOMPARE(f.document.state().LayoutFileName, QStringLiteral("mine.rbs"));
          }}},
        {"start untitled",
         {[](DocumentFixture& f) { f.document.startUntitled(); },
          [](const DocumentFixture& f) {
              const LayoutState& state = f.document.state();
              QCOMPARE(state.LayoutFileName, WorkingFolders::untitledLayoutName());
              QVERIFY(state.LayoutFolder.isEmpty());
              QVERIFY(!state.LayoutModified);
              QVERIFY(state.LayoutLoadNeeded);
          }}},
        {"name its file",
         {[](DocumentFixture& f) { f.document.setFile(QString(), QStringLiteral("/x/Jewel.rbs")); },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.state().LayoutFileName, QStringLiteral("/x/Jewel.rbs"));
              QVERIFY(f.document.state().LayoutFolder.isEmpty());
          }}},
        {"mark saved",
         {[](DocumentFixture& f) { f.document.markSaved(); },
          [](const DocumentFixture& f) { QVERIFY(!f.document.state().LayoutModified); }}},
        {"mark modified after saving",
         {[](DocumentFixture& f) {
              QVERIFY(f.document.save(f.folder(), QStringLiteral("mine.rbs")));
              f.document.markModified();
          },
          [](const DocumentFixture& f) { QVERIFY(f.document.state().LayoutModified); }}},
        {"save",
         {[](DocumentFixture& f) {
              QVERIFY(f.document.save(f.folder(), QStringLiteral("saved.rbs")));
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.state().LayoutFileName, QStringLiteral("saved.rbs"));
              QCOMPARE(f.document.state().LayoutFolder, f.folder());
              QVERIFY(!f.document.state().LayoutModified);
          }}},
        {"need a load",
         {[](DocumentFixture& f) { f.document.setLoadNeeded(true); },
          [](const DocumentFixture& f) { QVERIFY(f.document.state().LayoutLoadNeeded); }}},
        {"request a load",
         {[](DocumentFixture& f) { f.document.requestLoad(LayoutLoadRequest::Example); },
          [](const DocumentFixture& f) {
              QVERIFY(f.document.state().LayoutLoadNeeded);
              QVERIFY(f.document.state().LayoutLoadRequested == LayoutLoadRequest::Example);
          }}},
        {"say which file the next load reads",
         {[](DocumentFixture& f) { f.document.setLoadRequest(LayoutLoadRequest::New); },
          [](const DocumentFixture& f) {
              QVERIFY(!f.document.state().LayoutLoadNeeded);
              QVERIFY(f.document.state().LayoutLoadRequested == LayoutLoadRequest::New);
          }}},
        {"take the request",
         {[](DocumentFixture& f) {
              f.document.setLoadRequest(LayoutLoadRequest::Open);
              QVERIFY(f.document.takeLoadRequest() == LayoutLoadRequest::Open);
          },
          [](const DocumentFixture& f) {
              QVERIFY(f.document.state().LayoutLoadRequested == LayoutLoadRequest::None);
          }}},
        {"controls ready",
         {[](DocumentFixture& f) { f.document.setControlsReady(true); },
          [](const DocumentFixture& f) { QVERIFY(f.document.state().LayoutControlsReady); }}},
        {"a picture's hint",
         {[](DocumentFixture& f) {
              f.document.setPictureHint(Picture::Frame, QStringLiteral("Vantrel/images/f.gif"));
          },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.state().FrameImageHint, QStringLiteral("Vantrel/images/f.gif"));
              QCOMPARE(f.document.pictureHint(Picture::Frame), f.document.state().FrameImageHint);
          }}},
        {"reset the hints",
         {[](DocumentFixture& f) { f.document.resetPictureHints(); },
          [](const DocumentFixture& f) {
              QCOMPARE(f.document.state().AdImageHint, QStringLiteral("No image selected"));
              QCOMPARE(f.document.state().TextImageHint, QStringLiteral("No image selected"));
          }}},
    };
    return table;
}

/// The fixture's layout saved as "mine.rbs" and shown in the controls:
/// where its history starts.
struct SavedFixture : DocumentFixture {
    SavedFixture() {
        document.setControlsReady(true);
        if (!document.save(folder(), QStringLiteral("mine.rbs")))
            qFatal("cannot save the fixture");
    }
};

bool sameContent(const LayoutFileContent& a, const LayoutFileContent& b) {
    return a.layout == b.layout && a.TxtAllMargins == b.TxtAllMargins;
}

/// Changes a seller makes, as the Layout page hands them to the document.
const std::map<QString, std::function<void(LayoutDocument&)>>& edits() {
    static const std::map<QString, std::function<void(LayoutDocument&)>> table = {
        {"typing 120",
         [](LayoutDocument& d) {
             for (const char* typed : {"1", "12", "120"})
                 d.setText(&Layout::AdWidthValue, QString::fromLatin1(typed));
         }},
        {"holding an arrow on equal margins",
         [](LayoutDocument& d) {
             for (const char* shown : {"1", "2", "3"}) {
                 Layout l = d.layout();
                 l.TxtPadLeft = l.TxtPadRight = l.TxtPadTop = QString::fromLatin1(shown);
                 d.setLayout(l);
             }
         }},
        {"typing, leaving the field, typing again",
         [](LayoutDocument& d) {
             d.setText(&Layout::OBWidth, QStringLiteral("3"));
             d.endBurst();
             d.setText(&Layout::OBWidth, QStringLiteral("4"));
         }},
        {"typing into two fields",
         [](LayoutDocument& d) {
             d.setText(&Layout::OBWidth, QStringLiteral("3"));
             d.setText(&Layout::FWidth, QStringLiteral("4"));
             d.setText(&Layout::OBWidth, QStringLiteral("5"));
         }},
        {"typing and typing it away", // the fixture's outer border is 2 wide
         [](LayoutDocument& d) {
             d.setText(&Layout::OBWidth, QStringLiteral("23"));
             d.setText(&Layout::OBWidth, QStringLiteral("2"));
         }},
        {"a colour",
         [](LayoutDocument& d) { d.pickColour(&Layout::FBgCol, QStringLiteral("#123456")); }},
        {"two colours of one area",
         [](LayoutDocument& d) {
             d.pickColour(&Layout::FBgCol, QStringLiteral("#123456"));
             d.pickColour(&Layout::FBgCol, QStringLiteral("#654321"));
         }},
        {"a border type",
         [](LayoutDocument& d) { d.setText(&Layout::OBType, QStringLiteral("dashed")); }},
        {"a check box", [](LayoutDocument& d) { d.setFlag(&Layout::AdCenter, false); }},
        {"a check box and a number",
         [](LayoutDocument& d) {
             d.setFlag(&Layout::AdCenter, false);
             d.setText(&Layout::FWidth, QStringLiteral("4"));
         }},
        {"equal margins with the margins they copy",
         [](LayoutDocument& d) {
             const LayoutDocument::Step step(d);
             d.setAllMargins(true);
             Layout l = d.layout();
             l.TxtPadRight = l.TxtPadTop = l.TxtPadLeft = QStringLiteral("6");
             d.setLayout(l);
         }},
        {"a picture", [](LayoutDocument& d) { d.choosePicture(Picture::Text, kPicture); }},
    };
    return table;
}

} // namespace

class TestLayoutDocument : public QObject {
    Q_OBJECT
private slots:
    void eachOperationSaysWhatItChanged_data();
    void eachOperationSaysWhatItChanged();
    void damagedFileLeavesTheLayout_data();
    void damagedFileLeavesTheLayout();
    void failedSaveChangesNothing();
    void savedLayoutReadsBackUnchanged();
    void historyStepsPutBackTheRecord_data();
    void historyStepsPutBackTheRecord();
    void undoingBackToTheSavedLayoutClearsModified();
    void changeAfterUndoDropsTheRedo();
    void loadIsOneStepWithItsFile();
    void firstLoadStartsTheHistory();
    void valuesSetBeforeAnythingIsShownAreNoStep();
};

void TestLayoutDocument::eachOperationSaysWhatItChanged_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("changes"); // of the last step; 0: no signal at all

    const auto row = [](const char* operation, Changes changes) {
        QTest::newRow(operation) << QString::fromLatin1(operation) << int(changes);
    };
    row("set a text field", Change::Values);
    row("set the same text again", {});
    row("set a flag", Change::Values);
    row("capture the whole record", Change::Values);
    row("turn equal margins on", Change::Values);
    row("pick a colour", Change::Values | Change::Modified);
    row("choose a picture", Change::Values | Change::Pictures | Change::Modified);
    row("put a file's content in place", Change::Values | Change::Loaded | Change::Pictures);
    row("put the same content in place again", Change::Values | Change::Loaded);
    row("load a file", Change::Values | Change::Loaded);
    row("start untitled", Change::File | Change::Modified | Change::Loading);
    row("name its file", Change::File);
    row("mark saved", Change::Modified);
    row("mark modified after saving", Change::Modified);
    row("save", Change::File | Change::Modified);
    row("need a load", Change::Loading);
    row("request a load", Change::Loading);
    row("say which file the next load reads", Change::Loading);
    row("take the request", Change::Loading);
    row("controls ready", Change::Loading);
    row("a picture's hint", Change::Pictures);
    row("reset the hints", Change::Pictures);
}

void TestLayoutDocument::eachOperationSaysWhatItChanged() {
    QFETCH(QString, operation);
    QFETCH(int, changes);
    const Operation& op = operations().at(operation);
    DocumentFixture f;
    QSignalSpy changed(&f.document, &LayoutDocument::changed);
    QSignalSpy modified(&f.document, &LayoutDocument::modifiedChanged);
    QSignalSpy file(&f.document, &LayoutDocument::fileChanged);

    op.run(f);

    op.check(f);
    const Changes expected = Changes::fromInt(changes);
    // Steps the row takes first each said their own; the last says once.
    if (!expected) {
        QCOMPARE(changed.size(), 0);
        return;
    }
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).value<Changes>(), expected);
    const auto saidOnce = [&](QSignalSpy& spy, Change change) {
        qsizetype said = 0;
        for (const QList<QVariant>& each : changed)
            said += (each.at(0).value<Changes>() & change) ? 1 : 0;
        QCOMPARE(spy.size(), said);
    };
    saidOnce(modified, Change::Modified);
    saidOnce(file, Change::File);
    if (expected & Change::Modified)
        QCOMPARE(modified.last().at(0).toBool(), f.document.state().LayoutModified);
    if (expected & Change::File)
        QCOMPARE(file.last().at(1).toString(), f.document.state().LayoutFileName);
}

void TestLayoutDocument::damagedFileLeavesTheLayout_data() {
    QTest::addColumn<QString>("file"); // below the fixture's folder, or absolute

    QTest::newRow("robustness: larger than a layout file can be") << "huge.rbs";
    QTest::newRow("robustness: a device without end") << "/dev/zero";
}

void TestLayoutDocument::damagedFileLeavesTheLayout() {
    QFETCH(QString, file);
    DocumentFixture f;
    if (!file.startsWith(QLatin1Char('/'))) {
        QByteArray huge = "[OUTER]\r\nOBWidth=9\r\n";
        huge.append(QByteArray(IniFile::MaxFileSize, ';'));
        file = f.write("huge.rbs", huge);
    }
    const Layout before = f.document.layout();
    const LayoutState stateBefore = f.document.state();
    QSignalSpy changed(&f.document, &LayoutDocument::changed);

    const Status loaded = f.document.load(file);

    QVERIFY(!loaded);
    QVERIFY2(loaded.error().contains(file), qPrintable(loaded.error()));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(f.document.layout(), before);
    QCOMPARE(f.document.state().LayoutFileName, stateBefore.LayoutFileName);
    QCOMPARE(f.document.state().LayoutModified, stateBefore.LayoutModified);
}

void TestLayoutDocument::failedSaveChangesNothing() {
    DocumentFixture f;
    QSignalSpy changed(&f.document, &LayoutDocument::changed);
    const QString folder = f.folder() + QStringLiteral("no such folder/");

    const Status saved = f.document.save(folder, QStringLiteral("new.rbs"));

    QVERIFY(!saved);
    QVERIFY2(saved.error().contains(folder), qPrintable(saved.error()));
    QCOMPARE(changed.size(), 0);
    QCOMPARE(f.document.state().LayoutFileName, QStringLiteral("mine.rbs"));
    QCOMPARE(f.document.state().LayoutFolder, f.folder());
    QVERIFY(f.document.state().LayoutModified);
}

void TestLayoutDocument::savedLayoutReadsBackUnchanged() {
    DocumentFixture f;
    f.document.choosePicture(Picture::Ad, kPicture);
    f.document.pickColour(&Layout::OBColor, QStringLiteral("#A0B0C0"));
    QVERIFY(f.document.save(f.folder(), QStringLiteral("round.rbs")));

    LayoutDocument reread;
    QVERIFY(reread.load(f.folder() + QStringLiteral("round.rbs")));

    QCOMPARE(reread.layout(), f.document.layout());
    QCOMPARE(reread.allMargins(), f.document.allMargins());
}

void TestLayoutDocument::historyStepsPutBackTheRecord_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("steps");

    QTest::newRow("a burst of one number field is one step") << "typing 120" << 1;
    QTest::newRow("a burst of the equal margins is one step")
        << "holding an arrow on equal margins" << 1;
    QTest::newRow("leaving the field ends the burst")
        << "typing, leaving the field, typing again" << 2;
    QTest::newRow("another field ends the burst") << "typing into two fields" << 3;
    QTest::newRow("a burst typed away leaves nothing to undo") << "typing and typing it away" << 0;
    QTest::newRow("colour") << "a colour" << 1;
    QTest::newRow("each colour picked is a step") << "two colours of one area" << 2;
    QTest::newRow("border type") << "a border type" << 1;
    QTest::newRow("check box") << "a check box" << 1;
    QTest::newRow("a number after a check box is a step of its own")
        << "a check box and a number" << 2;
    QTest::newRow("one step of several operations")
        << "equal margins with the margins they copy" << 1;
    QTest::newRow("picture") << "a picture" << 1;
}

void TestLayoutDocument::historyStepsPutBackTheRecord() {
    QFETCH(QString, edit);
    QFETCH(int, steps);
    SavedFixture f;
    LayoutDocument& d = f.document;
    const LayoutFileContent before = d.content();
    const LayoutState stateBefore = d.state();

    edits().at(edit)(d);

    const LayoutFileContent after = d.content();
    const LayoutState stateAfter = d.state();
    QCOMPARE(d.history().count(), steps);
    QSignalSpy changed(&d, &LayoutDocument::changed);
    for (int i = 0; i < steps; ++i)
        d.undo();
    QVERIFY(!d.canUndo());
    QVERIFY(sameContent(d.content(), before));
    // Back where it was saved: unchanged, its pictures named as before.
    QVERIFY(!d.state().LayoutModified);
    QCOMPARE(d.state().TextImageFileName, stateBefore.TextImageFileName);
    if (steps == 0)
        return;
    QCOMPARE(d.state().TextImageHint, imageHint(before.layout.TxtBgImg));
    // The controls show each step put back anew.
    qsizetype shown = 0;
    for (const QList<QVariant>& each : changed)
        shown += each.at(0).value<Changes>().testFlags(Changes(Change::Values) | Change::Loaded |
                                                       Change::History);
    QCOMPARE(shown, qsizetype(steps));
    QVERIFY(d.state().LayoutControlsReady);

    for (int i = 0; i < steps; ++i)
        d.redo();
    QVERIFY(!d.canRedo());
    QVERIFY(sameContent(d.content(), after));
    QCOMPARE(d.state().LayoutModified, stateAfter.LayoutModified);
    QCOMPARE(d.state().TextImageHint, imageHint(after.layout.TxtBgImg));
    QCOMPARE(d.state().TextImageFileName, stateAfter.TextImageFileName);
    QCOMPARE(d.state().LayoutFileName, QStringLiteral("mine.rbs"));
}

void TestLayoutDocument::undoingBackToTheSavedLayoutClearsModified() {
    SavedFixture f;
    LayoutDocument& d = f.document;
    d.setText(&Layout::OBWidth, QStringLiteral("3"));
    QVERIFY(d.save(f.folder(), QStringLiteral("mine.rbs")));
    d.pickColour(&Layout::OBColor, QStringLiteral("#ff0000"));
    QVERIFY(d.state().LayoutModified);
    QSignalSpy modified(&d, &LayoutDocument::modifiedChanged);

    d.undo(); // back to what is on disk
    QVERIFY(!d.state().LayoutModified);
    d.undo(); // before that save
    QVERIFY(d.state().LayoutModified);
    QCOMPARE(d.layout().OBWidth, QStringLiteral("2"));
    d.redo();
    QVERIFY(!d.state().LayoutModified);
    d.redo();
    QVERIFY(d.state().LayoutModified);
    const QList<QVariant> said = {false, true, false, true};
    QCOMPARE(modified.size(), said.size());
    for (qsizetype i = 0; i < said.size(); ++i)
        QCOMPARE(modified.at(i).at(0), said.at(i));
}

void TestLayoutDocument::changeAfterUndoDropsTheRedo() {
    SavedFixture f;
    LayoutDocument& d = f.document;
    d.setText(&Layout::OBWidth, QStringLiteral("3"));
    d.undo();
    // The next key typed into the same field starts a step of its own.
    d.setText(&Layout::OBWidth, QStringLiteral("4"));
    QVERIFY(!d.canRedo());
    QCOMPARE(d.history().count(), 1);
    d.undo();
    QCOMPARE(d.layout().OBWidth, QStringLiteral("2"));
}

void TestLayoutDocument::loadIsOneStepWithItsFile() {
    SavedFixture f;
    LayoutDocument& d = f.document;
    d.setText(&Layout::FWidth, QStringLiteral("4"));
    const LayoutFileContent before = d.content();
    const QString other = f.write("other.rbs", "[OUTER]\r\nOBWidth=9\r\n");
    {
        // As Open does it: the changes were let go, then the file is read.
        const LayoutDocument::Step step(d, LayoutDocument::StepKind::Load);
        d.markSaved();
        d.startUntitled();
        d.setFile(f.folder(), QStringLiteral("other.rbs"));
        QVERIFY(d.load(other));
    }
    QCOMPARE(d.history().count(), 2);
    QVERIFY(!d.state().LayoutModified);

    d.undo();
    // The layout before the load comes back with its file, and not as it is
    // on disk.
    QVERIFY(sameContent(d.content(), before));
    QCOMPARE(d.state().LayoutFileName, QStringLiteral("mine.rbs"));
    QCOMPARE(d.state().LayoutFolder, f.folder());
    QVERIFY(d.state().LayoutModified);

    d.redo();
    QCOMPARE(d.layout().OBWidth, QStringLiteral("9"));
    QCOMPARE(d.state().LayoutFileName, QStringLiteral("other.rbs"));
    QVERIFY(!d.state().LayoutModified);
}

void TestLayoutDocument::firstLoadStartsTheHistory() {
    LayoutDocument d;
    // Nothing was shown before the first layout: nothing to undo.
    d.setText(&Layout::OBWidth, QStringLiteral("1"));
    d.replaceWith(LayoutFileContent());
    d.setControlsReady(true);
    QVERIFY(!d.canUndo());
    QVERIFY(!d.state().LayoutModified);
    d.setText(&Layout::OBWidth, QStringLiteral("3"));
    QVERIFY(d.canUndo());
    QVERIFY(d.state().LayoutModified);
    d.undo();
    QVERIFY(!d.canUndo());
    QCOMPARE(d.layout().OBWidth, QStringLiteral("0"));
}

void TestLayoutDocument::valuesSetBeforeAnythingIsShownAreNoStep() {
    LayoutDocument d;
    // As the program sets up its layout before the page first shows it.
    d.setLayout(Layout::withDefaults());
    d.setText(&Layout::OBWidth, QStringLiteral("3"));
    QVERIFY(!d.canUndo());
    QVERIFY(!d.state().LayoutModified);
}

QTEST_GUILESS_MAIN(TestLayoutDocument)
#include "tst_layoutdocument.moc"
