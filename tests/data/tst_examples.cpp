// The shipped examples and tutorials as a seller first meets them: copied
// from the build's shared data into fresh folders at first start, each
// document readable, its layout beside it with every picture it names in
// the user's images folder, and its published listing fit for the
// marketplaces.
#include "app/mainmenu.h"
#include "docmodel/documentstate.h"
#include "docmodel/eddocument.h"
#include "docmodel/vdocreader.h"
#include "document/documenteditor.h"
#include "document/documentpage.h"
#include "document/richdocumenteditor.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "layout/layoutfile.h"
#include "layout/layoutrules.h"
#include "layout/layoutstate.h"
#include "listing/imageservers.h"
#include "listing/listingrules.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/inifile.h"
#include "platform/workingfolders.h"
#include "settings/servermirror.h"
#include "supportui/scripteddialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

class TestExamples : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void example_data();
    void example();

private:
    QTemporaryDir m_root;
    WorkingFolders m_folders;
};

namespace {

const QString kServer = QStringLiteral("https://pictures.example.net/shop/");

struct LayoutPicture {
    const QString& path;
    bool hidden;
};

/// A menu caption as the seller reads it.
QString shownCaption(QString caption) {
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

/// The menu paths a text names ("File > Tutorials & Examples") that the main
/// menu does not have, each with what is wrong. A path starts with an entry
/// of the menu bar; "Grades: New > Excellent" names none.
QStringList wrongMenuPaths(const QString& text, const QMenuBar& bar) {
    QStringList wrong;
    const QString arrow = QStringLiteral(" > ");
    for (qsizetype at = text.indexOf(arrow); at >= 0; at = text.indexOf(arrow, at + 1)) {
        const QAction* top = nullptr;
        for (const QAction* entry : bar.actions()) {
            const QString caption = shownCaption(entry->text());
            const qsizetype start = at - caption.size();
            if (!caption.isEmpty() && text.mid(start, caption.size()) == caption &&
                (start == 0 || !text.at(start - 1).isLetter()))
                top = entry;
        }
        if (!top)
            continue;
        // Each step names an entry of the menu before it.
        const QAction* step = top;
        qsizetype next = at;
        while (next >= 0 && text.mid(next, arrow.size()) == arrow) {
            const QString path = text.mid(at - shownCaption(top->text()).size(), 60);
            if (!step->menu()) {
                wrong << QStringLiteral("\"%1\": \"%2\" opens no menu")
                             .arg(path, shownCaption(step->text()));
                break;
            }
            next += arrow.size();
            const QAction* found = nullptr;
            for (const QAction* entry : step->menu()->actions()) {
                const QString caption = shownCaption(entry->text());
                if (!caption.isEmpty() && text.mid(next, caption.size()) == caption)
                    found = entry;
            }
            if (!found) {
                wrong << QStringLiteral("\"%1\": no such entry in \"%2\"")
                             .arg(path, shownCaption(step->text()));
                break;
            }
            next += shownCaption(found->text()).size();
            step = found;
        }
    }
    return wrong;
}

} // namespace

void TestExamples::initTestCase() {
    QVERIFY(m_root.isValid());
    m_folders.ProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    m_folders.UserFolder = m_root.filePath(QStringLiteral("Documents/Vantrel/"));
    m_folders.SharedDataFolder = m_root.filePath(QStringLiteral("data/Vantrel/"));
    const ProvisionReport report = provisionWorkingFolders(m_folders);
    QVERIFY2(report.failures.isEmpty(), qPrintable(report.failures.join(QLatin1Char('\n'))));
}

void TestExamples::example_data() {
    QTest::addColumn<QString>("name");
    // The layout pictures the published listing refers to; none: colours only.
    QTest::addColumn<QStringList>("pictures");
    // Words of the document's first lines.
    QTest::addColumn<QString>("title");
    // Pictures of the document itself, published on the seller's server.
    QTest::addColumn<int>("documentPictures");
    const QStringList none;
    QTest::newRow("How it works") << "HowItWorks" << none << "How Vantrel works" << 0;
    QTest::newRow("Document Editor overview") << "DocTutor" << none << "The Document Editor" << 0;
    QTest::newRow("simple document with logo")
        << "Simpledoc" << none << "Teak Sunburst Wall Clock" << 1;
    QTest::newRow("tables: camera") << "Doc_tables1" << none << "Aldane AX-1" << 0;
    QTest::newRow("tables: tool set") << "Doc_tables2" << none << "Hand Tool Set" << 0;
    QTest::newRow("Layout Editor overview") << "LayoutTutor" << none << "The Layout Editor" << 0;
    QTest::newRow("images smartly 1: frame and text area tiles")
        << "Layout_Special1" << QStringList{"roses.png", "linen.jpg"} << "Tea Dress" << 0;
    QTest::newRow("images smartly 2: frame tile, text area band")
        << "Layout_Special2" << QStringList{"oak.jpg", "paper-band.png"} << "Writing Slope" << 0;
    QTest::newRow("publishing") << "PublishTutor" << none << "Publishing to an auction site" << 0;
    QTest::newRow("folders, files and images") << "AboutFiles" << none << "Folders, files" << 0;
}

void TestExamples::example() {
    QFETCH(QString, name);
    QFETCH(QStringList, pictures);
    QFETCH(QString, title);
    QFETCH(int, documentPictures);
    const QString document = m_folders.examplesFolder() + name + QStringLiteral(".vdoc");
    const QString layoutFile = m_folders.examplesFolder() + name + QStringLiteral(".rbs");

    // The document reads as the editor reads it.
    {
        EdDocument read;
        QVERIFY2(VDocReader::readFile(document, read), qPrintable(document));
        QVERIFY(read.textDocument()->toPlainText().left(200).contains(title));
        // The menu commands it sends the seller to are those of the program.
        QMenuBar bar;
        MainMenu menu(&bar);
        const QStringList wrong = wrongMenuPaths(read.textDocument()->toPlainText(), bar);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // Its layout is a layout file, not a missing one read as all defaults.
    QVERIFY2(QFileInfo::exists(layoutFile), qPrintable(layoutFile));
    const QStringList sections = IniFile(layoutFile).readSections();
    for (const char* section : {"POS", "OUTER", "FRAME", "TEXT"})
        QVERIFY2(sections.contains(QLatin1String(section), Qt::CaseInsensitive), section);
    const Layout layout = normalised(shownLayout(layoutfile::read(layoutFile).value()));

    // Every picture it names is in the user's images folder after the first
    // start, where the preview takes it from, and is a picture.
    const LayoutPicture named[] = {{layout.AdImg, layout.AdImgHide},
                                   {layout.FBgImg, layout.FImgHide},
                                   {layout.TxtBgImg, layout.TxtImgHide}};
    QStringList shown;
    for (const LayoutPicture& picture : named) {
        if (picture.path.isEmpty())
            continue;
        const QString file = m_folders.UserFolder + QStringLiteral("images") + picture.path;
        QVERIFY2(!QImage(file).isNull(), qPrintable(file + QStringLiteral(" is no picture")));
        if (!picture.hidden)
            shown.append(QFileInfo(file).fileName());
    }
    QCOMPARE(shown, pictures);

    // The listing as publishing makes it, with the seller's own https server.
    ScriptedDialogs dialogs;
    PublishingState publishing;
    ServerMirror servers;
    servers.UseOwnServer = true;
    servers.OwnServer = 1;
    servers.PrimaryServer = kServer;
    DocumentState documentState;
    LayoutDocument pageLayout;
    DocumentPage page(dialogs, {m_folders, documentState, pageLayout, publishing, servers});
    QVERIFY(page.editor().LoadDocumentFile(document));
    publishing.Publishing = true;
    LayoutState layoutState;
    imageservers::placeLayoutPictures(layout, imageservers::layoutPictureServer(servers, {}),
                                      layoutState, publishing);
    PageGenerator generator(m_folders, layoutState, publishing, layout);
    generator.setDocumentExport([&page] { return page.richEditor().exportHtmlFragment(); });
    const GeneratedPage listing = generator.generate();
    QVERIFY2(listing.error.isEmpty(), qPrintable(listing.error));

    const QString code = listing.ListingCode.join(QLatin1Char('\n'));
    QVERIFY(code.contains(title.toHtmlEscaped()));
    for (const QString& picture : pictures)
        QVERIFY2(code.contains(kServer + picture), qPrintable(picture));
    QCOMPARE(code.count(QStringLiteral("<img src=\"") + kServer), documentPictures);
    QStringList errors;
    for (const listingrules::Finding& finding : listingrules::check(listing.ListingCode))
        if (finding.severity == listingrules::Severity::Error)
            errors.append(listingrules::describe(finding));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestExamples)
#include "tst_examples.moc"
