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

QTEST_GUILESS_MAIN(TestLayoutDocument)
#include "tst_layoutdocument.moc"
