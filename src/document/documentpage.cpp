#include "document/documentpage.h"

#include "docmodel/docproperties.h"
#include "docmodel/documentstate.h"
#include "docmodel/eddocument.h"
#include "docmodel/listingimport.h"
#include "docmodel/vdocreader.h"
#include "document/documenttools.h"
#include "document/insertlinkinfodialog.h"
#include "document/insertpicinfodialog.h"
#include "document/richdocumenteditor.h"
#include "editor/edactionlist.h"
#include "editor/edfilecommands.h"
#include "editor/tablesizepicker.h"
#include "editor/tdoceditor.h"
#include "editor/tedactionfontex.h"
#include "http/webpictureloader.h"
#include "layout/layoutdocument.h"
#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"
#include "platform/ownpictures.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "settings/settingschoices.h"
#include "ui/sidepanelscroll.h"
#include "ui/userdialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

/// Carries out a font action without its dialog, for the given properties.
void runFontAction(TedActionFontEx& action, int properties, const QString& name, int size) {
    action.UserInterface = false;
    action.ValidProperties = properties;
    action.FontName = name;
    action.FontSize = size;
    action.trigger();
    action.UserInterface = true;
    action.ValidProperties = TedActionFontEx::vpFontName | TedActionFontEx::vpSize;
}

bool isReturn(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

DocumentPage::DocumentPage(UserDialogs& dialogs, Parts parts, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_parts(parts)
    , m_editor(std::make_unique<RichDocumentEditor>(dialogs, this)) {
    setObjectName(QStringLiteral("tabCompose"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("pnlDocButtons"));
    createButtons(buttons);
    page->addWidget(buttons);

    auto* work = new QHBoxLayout;
    m_tools = new DocumentTools(m_editor->actions(), this);
    // A small screen scrolls the tools rather than squeezing them.
    auto* scroller = new SidePanelScroll(m_tools, this);
    scroller->setObjectName(QStringLiteral("scrDocTools"));
    work->addWidget(scroller);
    work->addWidget(m_editor->widget(), 1);
    page->addLayout(work, 1);

    // Documents and layouts are kept together; pictures come from the
    // images folder.
    m_editor->files().OpenInitialDir = parts.folders.layoutsFolder();
    m_editor->files().SaveAsInitialDir = parts.folders.layoutsFolder();
    m_editor->actions().PictureInitialDir = parts.folders.imagesFolder();
    connectEditor();
    connectFontBoxes();
    m_webPictures = new WebPictureLoader(m_editor->editor().edDocument(), this);
}

DocumentPage::~DocumentPage() = default;

void DocumentPage::setSettings(SettingsChoices* settings, InsertPicInfoDialog* pictureInfo,
                               InsertLinkInfoDialog* linkInfo) {
    m_settings = settings;
    m_webPictures->setSettings(settings);
    m_pictureInfo = pictureInfo;
    m_linkInfo = linkInfo;
}

void DocumentPage::createButtons(QWidget* row) {
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const char* name, const QString& caption, const char* action) {
        auto* button = new QPushButton(caption, row);
        button->setObjectName(QLatin1String(name));
        TedAction* bound = m_editor->actions().action(QString::fromLatin1(action));
        connect(button, &QPushButton::clicked, bound, &QAction::trigger);
        layout->addWidget(button);
        return button;
    };
    btnNewDoc = add("btnNewDoc", QStringLiteral("&New Document"), "edActionNew1");
    btnOpenDoc = add("btnOpenDoc", QStringLiteral("&Open Document..."), "edActionOpen1");
    btnSaveDoc = add("btnSaveDoc", QStringLiteral("&Save Document"), "edActionSave1");
    btnSaveAsDoc = add("btnSaveAsDoc", QStringLiteral("Save Document as..."), "edActionSaveAs1");
    layout->addStretch();
}

void DocumentPage::connectEditor() {
    TDocEditor& editor = m_editor->editor();
    EdFileCommands& files = m_editor->files();
    connect(&files, &EdFileCommands::OnNew, this, &DocumentPage::OnNew);
    connect(&files, &EdFileCommands::OnOpenFile, this,
            [this](TDocEditor*, const QString& fileName) { OnOpenFile(fileName); });
    connect(&files, &EdFileCommands::OnDocumentFileChange, this,
            [this](TDocEditor*, const QString& fileName) { OnDocumentFileChange(fileName); });
    // Only a file that now holds the document counts as used: not one that
    // could not be read, nor a save that failed.
    connect(&files, &EdFileCommands::OnDocumentFileChange, this,
            [this, &files](TDocEditor*, const QString& fileName, EdFileCommands::TedFileSaveFilter,
                           bool failed) {
                if (!failed && files.hasFile())
                    emit documentFileUsed(QFileInfo(fileName).absoluteFilePath());
            });
    connect(&editor, &TDocEditor::OnChange, this, &DocumentPage::DocEditor1Change);
    // A failed save puts the modified state back after its file event: the
    // caption follows the state itself.
    connect(editor.document(), &QTextDocument::modificationChanged, this,
            &DocumentPage::captionChanged);
    connect(&editor, &TDocEditor::OnCurTextStyleChanged, this, &DocumentPage::showCaretFont);
    connect(&editor, &TDocEditor::OnJump, this, [&editor](int id) { editor.FollowLink(id); });
    editor.OnKeyPress = [this](QChar& key) { DocEditor1KeyPress(key); };
    editor.OnReadHyperlink = [this](const QString& target, const QString&,
                                    TDocEditor::TEdLoadFormat format, int& styleNo,
                                    QString& itemTag, QString&) {
        DocEditor1ReadHyperlink(target, format, styleNo, itemTag);
    };
    editor.OnWriteHyperlink = [this](int, const TCustomDocData& data, int itemNo,
                                     HtmlFragmentExporter::TEdSaveFormat, QString& target,
                                     QString& extras) {
        DocEditor1WriteHyperlink(data, itemNo, target, extras);
    };
    m_editor->setPicturePlanner([this](const QList<pictureplan::DocumentPicture>& pictures) {
        return planPictures(pictures);
    });
    EdActionList& actions = m_editor->actions();
    actions.action(u"edActionInsertPicture1")->OnExecute = [this] { insertPicture(); };
    actions.action(u"edActionInsertHyperlink1")->OnExecute = [this] { insertHyperlink(); };
    connect(m_tools->tobInsertTable, &DropDownToolButton::arrowClicked, this,
            [this] { showTableSizePicker(); });
    // The menu's arrow may still open it from the keyboard: the picker
    // comes instead.
    connect(m_tools->pmFakeDropDown, &QMenu::aboutToShow, this, [this] {
        QMenu* menu = m_tools->pmFakeDropDown;
        QMetaObject::invokeMethod(
            menu, [menu] { menu->close(); }, Qt::QueuedConnection);
        showTableSizePicker();
    });
}

void DocumentPage::connectFontBoxes() {
    QComboBox* name = m_tools->EdFontName;
    QComboBox* size = m_tools->cbxFontSize;
    connect(name, &QComboBox::activated, this, [this] { applyFontName(); });
    connect(size, &QComboBox::activated, this, [this] { applyFontSize(); });
    name->lineEdit()->installEventFilter(this);
    size->lineEdit()->installEventFilter(this);
}

bool DocumentPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tools->EdFontName->lineEdit() && isReturn(event)) {
        runCommand(m_dialogs, [this] { applyFontName(); });
        return true; // consumed: the box must not take the name into its list
    }
    if (watched == m_tools->cbxFontSize->lineEdit()) {
        if (isReturn(event)) {
            runCommand(m_dialogs, [this] { applyFontSize(); });
            return true;
        }
        // Leaving the box applies what was typed, unless the box itself
        // hands the keyboard back to the editor after applying.
        if (event->type() == QEvent::FocusOut && !FontControlsBusy &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::OtherFocusReason &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            runCommand(m_dialogs, [this] { applyFontSize(); });
    }
    return QWidget::eventFilter(watched, event);
}

DocumentEditor& DocumentPage::editor() const {
    return *m_editor;
}

void DocumentPage::focusEditor() {
    m_editor->widget()->setFocus();
}

// --- Document commands ------------------------------------------------------

void DocumentPage::newDocument() {
    m_editor->setReadOnly(false);
    emit pageWanted(0);
    btnNewDoc->click();
}

void DocumentPage::openDocument() {
    emit pageWanted(0);
    btnOpenDoc->click();
}

void DocumentPage::saveDocumentAs() {
    btnSaveAsDoc->click();
}

void DocumentPage::openDocumentFile(const QString& fileName) {
    // The seller's unsaved text is not dropped without a question.
    if (!m_editor->ConfirmCloseDocument())
        return;
    emit pageWanted(0);
    m_editor->setReadOnly(false);
    m_editor->files().openFile(QFileInfo(fileName).absoluteFilePath());
    m_parts.document.DocumentFileName = QFileInfo(fileName).fileName();
    m_parts.document.DocumentPath = QFileInfo(fileName).absoluteFilePath();
    emit captionChanged();
}

void DocumentPage::openListingPage() {
    // The seller's unsaved text is not dropped without a question.
    if (!m_editor->ConfirmCloseDocument())
        return;
    UserDialogs::FileDialogOptions options;
    options.title = uilanguage::text("MESSAGES", "importOpenTitle",
                                     QStringLiteral("Open a Listing Page (HTML)"));
    options.filter =
        uilanguage::text("MESSAGES", "importPageFiles",
                         QStringLiteral("Listing pages (*.html *.htm)")) +
        QStringLiteral("|*.html;*.htm|") +
        uilanguage::text("MESSAGES", "importAllFiles", QStringLiteral("All files (*)")) +
        QStringLiteral("|*");
    options.initialFolder = m_editor->files().OpenInitialDir;
    const QString path = m_dialogs.openFileName(options);
    if (path.isEmpty())
        return;
    // Nothing changes for a page that cannot be read.
    QByteArray bytes;
    if (!readWholeFile(path, bytes)) {
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "importCannotRead",
                                               QStringLiteral("\"%1\" cannot be read."))
                                  .arg(QDir::toNativeSeparators(path)),
                              UserDialogs::Icon::Warning);
        return;
    }
    if (bytes.contains('\0')) {
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "importNotAPage",
                                               QStringLiteral("\"%1\" is not a web page."))
                                  .arg(QDir::toNativeSeparators(path)),
                              UserDialogs::Icon::Warning);
        return;
    }
    emit pageWanted(0);
    m_editor->setReadOnly(false);
    // Asked above already: the new document replaces the old one at once.
    m_editor->editor().setDocumentModified(false);
    m_editor->newDocument();
    TDocEditor& editor = m_editor->editor();
    const listingimport::LeftOut leftOut =
        editor.insertListingPage(listingimport::decode(bytes), QFileInfo(path).absolutePath());
    // The page as it came is no step to undo, nor a change of the seller's:
    // the document is untitled, and saving asks for a name.
    QTextCursor start(editor.document());
    editor.setTextCursor(start);
    editor.document()->clearUndoRedoStacks();
    editor.setDocumentModified(false);
    m_editor->RelayoutDocument();
    emit captionChanged();
    const QString summary = listingimport::summary(leftOut);
    if (!summary.isEmpty())
        m_dialogs.showMessage(
            summary, UserDialogs::Icon::Information,
            uilanguage::text("MESSAGES", "importTitle", QStringLiteral("Listing page")));
}

void DocumentPage::showWelcomeDocument(const QString& languageCode) {
    m_editor->newDocument();
    m_editor->setReadOnly(true);
    // Without the welcome document the editor just stays empty.
    m_editor->loadWelcomeDocument(m_parts.folders.welcomeDocumentFile(languageCode));
    m_editor->RelayoutDocument();
}

bool DocumentPage::showsWelcomeDocument() const {
    return m_editor->isReadOnly() && !m_parts.document.ExampleOpen;
}

void DocumentPage::OnNew() {
    TDocEditor& editor = m_editor->editor();
    m_parts.document.ExampleOpen = false;
    m_parts.document.DocumentPath.clear();
    editor.setReadOnly(false);
    // A new document starts with one text style, Verdana 10; the paragraph
    // styles stay as they are.
    TTextStyleInfos& styles = editor.Style().TextStyles;
    styles.clear();
    TTextStyleInfo& style = styles.add();
    style.FontName = QStringLiteral("Verdana");
    style.Size = 10;
    emit captionChanged();
    editor.setFocus();
    editor.setDocumentModified(false);
}

void DocumentPage::OnOpenFile(const QString& fileName) {
    m_parts.document.ExampleOpen = false;
    m_editor->setReadOnly(false);
    m_parts.document.DocumentFileName = QFileInfo(fileName).fileName();
    m_parts.document.DocumentPath = QFileInfo(fileName).absoluteFilePath();
    emit captionChanged();
}

void DocumentPage::OnDocumentFileChange(const QString& fileName) {
    m_parts.document.DocumentFileName = QFileInfo(fileName).fileName();
    m_parts.document.DocumentPath =
        fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    m_editor->editor().setDocumentModified(false);
    emit captionChanged();
}

void DocumentPage::DocEditor1Change() {
    m_editor->editor().setDocumentModified(true);
    emit captionChanged();
}

QString DocumentPage::exampleProblem(const QString& path) const {
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !readWholeFile(path, bytes))
        return uilanguage::text("MESSAGES", "exampleMissing",
                                QStringLiteral("The example or tutorial \"%1\" cannot be found. "
                                               "Install the program again to get it back."))
            .arg(path);
    EdDocument scratch;
    if (!VDocReader::read(bytes, scratch))
        return uilanguage::text("MESSAGES", "exampleDamaged",
                                QStringLiteral("The example or tutorial \"%1\" is damaged and "
                                               "cannot be shown. Install the program again to "
                                               "repair it."))
            .arg(path);
    return QString();
}

void DocumentPage::languageApplied() {
    // The file types the editor's file dialogs offer, in the seller's words.
    TEdControlPanel& panel = m_editor->editor().controlPanel();
    panel.DocFilter = uilanguage::text("MESSAGES", "documentFiles",
                                       QStringLiteral("Vantrel Document Files (*.vdoc)")) +
                      QStringLiteral("|*.vdoc");
    panel.PictureFilter =
        uilanguage::text("EDITOR", "allPictures",
                         QStringLiteral("All images (*.jpg *.gif *.png)")) +
        QStringLiteral("|*.jpg;*.gif;*.png|") +
        uilanguage::text("EDITOR", "jpegPictures", QStringLiteral("JPEG images (*.jpg)")) +
        QStringLiteral("|*.jpg|") +
        uilanguage::text("EDITOR", "gifPictures", QStringLiteral("GIF images (*.gif)")) +
        QStringLiteral("|*.gif|") +
        uilanguage::text("EDITOR", "pngPictures", QStringLiteral("PNG images (*.png)")) +
        QStringLiteral("|*.png");
}

void DocumentPage::openExample(const QString& name) {
    const QString path = m_parts.folders.examplesFolder() + name + QStringLiteral(".vdoc");
    // Nothing changes for an example that cannot be shown.
    const QString problem = exampleProblem(path);
    if (!problem.isEmpty()) {
        m_dialogs.showMessage(
            problem, UserDialogs::Icon::Warning,
            uilanguage::text("MESSAGES", "examplesTitle", QStringLiteral("Tutorials & Examples")));
        return;
    }
    // The seller's unsaved text is not dropped without a question.
    if (!m_editor->ConfirmCloseDocument())
        return;
    m_parts.document.ExampleOpen = true;
    m_editor->setReadOnly(true);
    if (!ExampleNoteShown) {
        m_dialogs.showMessage(uilanguage::text(
            "MESSAGES", "exampleReadOnly",
            QStringLiteral(
                "PLEASE NOTE : Example & Tutorial documents are read only (no editing)")));
        ExampleNoteShown = true;
    }
    emit pageWanted(0);
    m_editor->LoadDocumentFile(path);
    m_editor->RelayoutDocument();
    // Save never writes over an example, nor over the document shown before
    // it: it asks for a name.
    m_editor->files().setDocumentFile(path, false);
    m_parts.document.DocumentFileName = path;
    m_parts.document.DocumentPath.clear();
    emit captionChanged();
    m_parts.layout.requestLoad(LayoutLoadRequest::Example);
    if (QFileInfo(path).fileName() != QLatin1String("DocTutor.vdoc"))
        emit pageWanted(1);
}

void DocumentPage::showTableSizePicker() {
    TDocEditor& editor = m_editor->editor();
    editor.ShowTableSizePicker(m_tools->tobInsertTable);
    // The seller goes on typing in the new table once the picker closes.
    if (auto* picker = editor.findChild<TableSizePicker*>(QString(), Qt::FindDirectChildrenOnly))
        connect(picker, &QObject::destroyed, &editor, [&editor] { editor.setFocus(); });
}

// --- Font boxes -------------------------------------------------------------

void DocumentPage::applyFontName() {
    QComboBox* box = m_tools->EdFontName;
    const int chosen = box->findText(box->currentText(), Qt::MatchExactly);
    const QString name = chosen >= 0 ? box->itemText(chosen) : box->currentText();
    if (FontControlsBusy)
        return;
    FontControlsBusy = true;
    m_tools->fillFontSizes(name);
    FontControlsBusy = false;
    int listed = chosen;
    if (listed < 0)
        listed = box->findText(name, Qt::MatchFixedString); // without regard to case
    if (listed < 0) {
        m_dialogs.beep();
    } else {
        box->setCurrentIndex(listed);
        box->setEditText(name);
        runFontAction(*m_editor->actions().fontAction(), TedActionFontEx::vpFontName, name, 0);
    }
    m_editor->editor().setFocus(Qt::OtherFocusReason);
}

void DocumentPage::applyFontSize() {
    if (FontControlsBusy)
        return;
    bool whole = false;
    const int size = m_tools->cbxFontSize->currentText().trimmed().toInt(&whole);
    // Beyond 999 points one letter fills more than a page: the editor and
    // the listing would lay it out wrongly.
    if (!whole || size < 1 || size > 999)
        m_dialogs.beep();
    else
        runFontAction(*m_editor->actions().fontAction(), TedActionFontEx::vpSize, QString(), size);
    m_editor->editor().setFocus(Qt::OtherFocusReason);
}

void DocumentPage::showCaretFont() {
    FontControlsBusy = true;
    TDocEditor& editor = m_editor->editor();
    const TTextStyleInfo& style = editor.Style().TextStyles.at(editor.CaretTextStyle());
    QComboBox* name = m_tools->EdFontName;
    name->setCurrentIndex(name->findText(style.FontName, Qt::MatchFixedString));
    name->setEditText(style.FontName);
    m_tools->fillFontSizes(style.FontName);
    m_tools->cbxFontSize->setEditText(QString::number(style.Size));
    FontControlsBusy = false;
}

// --- Links ------------------------------------------------------------------

void DocumentPage::DocEditor1KeyPress(QChar& key) {
    const char16_t code = key.unicode();
    if (code != u'\t' && code != u'\r' && code != u' ' && code != u',' && code != u';')
        return;
    TDocEditor& editor = m_editor->editor();
    editor.DetectLinkBeforeCaret();
    editor.EndLinkAtCaret();
}

void DocumentPage::DocEditor1ReadHyperlink(const QString& target, int docFormat, int& styleNo,
                                           QString& itemTag) {
    if (docFormat == TDocEditor::edlfURL)
        styleNo = m_editor->editor().LinkStyleIndex(-1);
    // A bare e-mail address arrives with the "mailto:" the editor gave it.
    itemTag = TDocEditor::NormalizeLinkTarget(itemTag.isEmpty() ? target : itemTag);
}

QByteArray DocumentPage::pageFragment() {
    return m_previewFragment.get(m_editor->editor().edDocument(), !m_parts.publishing.Publishing,
                                 [this] { return m_editor->exportHtmlFragment(); });
}

void DocumentPage::DocEditor1WriteHyperlink(const TCustomDocData& data, int itemNo, QString& target,
                                            QString& extras) {
    // Previews show links as dead text; only the published page links.
    if (!m_parts.publishing.Publishing)
        return;
    target = m_editor->editor().ItemLinkTarget(data, itemNo);
    if (!m_settings || m_settings->linksInNewWindow())
        extras = QStringLiteral("target=_blank");
}

void DocumentPage::insertHyperlink() {
    TDocEditor& editor = m_editor->editor();
    const TDocEditor::ItemId before = editor.CaretItem();
    m_editor->actions().action(u"edActionInsertHyperlink1")->executeOwn();
    if (editor.CaretItem() == before || !m_linkInfo || (m_settings && m_settings->hideInsertLink()))
        return;
    m_dialogs.runModal(*m_linkInfo);
}

// --- Pictures ---------------------------------------------------------------

void DocumentPage::insertPicture() {
    TDocEditor& editor = m_editor->editor();
    const TDocEditor::ItemId before = editor.CaretItem();
    const auto keepInOwnFolder = [&] {
        if (editor.CaretItem() == before)
            return;
        const QString file = editor.CaretItemPictureFile();
        if (file.isEmpty())
            return;
        const ownpictures::Placement placed =
            ownpictures::CheckImageLocation(file, m_parts.folders.ownImagesFolder());
        if (placed.path != file) {
            // The picture is published under the name of its copy, which
            // may differ from its own (a name taken or unsafe).
            QTextCursor cursor = editor.textCursor();
            const int position = editor.edDocument().pictureAt(cursor);
            if (position >= 0) {
                cursor.setPosition(position);
                cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
                QTextCharFormat stored;
                stored.setProperty(docprop::PictureFile, placed.path);
                cursor.joinPreviousEditBlock();
                cursor.mergeCharFormat(stored);
                cursor.endEditBlock();
            }
        }
        if (!placed.copied)
            return;
        m_parts.publishing.LastPictureCopy = placed.path;
        const bool hidden = !m_pictureInfo || (m_settings && m_settings->hideInsertPicture());
        if (!hidden) {
            m_pictureInfo->showPaths(placed.path, m_parts.folders.ownImagesFolder());
            m_dialogs.runModal(*m_pictureInfo);
        } else if (placed.renamed) {
            m_dialogs.showMessage(
                uilanguage::text("MESSAGES", "pictureRenamed",
                                 QStringLiteral("\"%1\" was copied into your own pictures "
                                                "folder as \"%2\", because a different picture "
                                                "has its name there already or its name cannot "
                                                "be used in a listing."))
                    .arg(QFileInfo(file).fileName(), QFileInfo(placed.path).fileName()),
                UserDialogs::Icon::Information,
                uilanguage::text("MESSAGES", "pictureCopiedTitle",
                                 QStringLiteral("Picture copied")));
        }
    };
    try {
        m_editor->actions().action(u"edActionInsertPicture1")->executeOwn();
    } catch (...) {
        keepInOwnFolder();
        throw;
    }
    keepInOwnFolder();
}

Result<pictureplan::Plan>
DocumentPage::planPictures(const QList<pictureplan::DocumentPicture>& pictures) {
    pictureplan::Input input;
    input.target = pictureplan::targetOf(m_parts.publishing);
    input.document = pictures;
    input.servers.document = pictureplan::chosenServers(m_parts.servers, {}).document;
    // A published picture from no file is kept with the own pictures, so
    // that it can be uploaded with the others; the preview's stay with this
    // run.
    if (input.target == pictureplan::Target::Publish) {
        input.unfiledFolder = m_parts.folders.ownImagesFolder();
    } else {
        const Result<QString> folder = HtmlFragmentExporter::privatePicturesFolder();
        if (!folder)
            return fail(folder.error());
        input.unfiledFolder = folder.value();
    }
    pictureplan::Plan plan = pictureplan::make(input);
    const Status saved = pictureplan::saveUnfiledPictures(plan);
    if (!saved)
        return fail(saved.error());
    pictureplan::keepFindings(plan, m_parts.publishing);
    return plan;
}
