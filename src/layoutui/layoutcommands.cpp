#include "layoutui/layoutcommands.h"

#include "docmodel/documentstate.h"
#include "layout/layout.h"
#include "layout/layoutdocument.h"
#include "layout/layoutfile.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "layoutui/saveexitdialog.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "ui/numberedit.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

/// An example's layout is named by its full path; the user's own layouts
/// by their file name alone.
bool isFullPath(const QString& fileName) {
    return QFileInfo(fileName).fileName() != fileName;
}

/// Only the description is translated; the pattern stays.
QString layoutFilter() {
    return uilanguage::text("MESSAGES", "layoutFiles",
                            QStringLiteral("Vantrel Layout Files (*.rbs)")) +
           QStringLiteral("|*.rbs");
}

} // namespace

LayoutCommands::LayoutCommands(Parts parts, LayoutPage& page, UserDialogs& dialogs,
                               SaveExitDialog* prompt, QObject* parent)
    : QObject(parent)
    , m_folders(parts.folders)
    , m_layout(parts.layout)
    , m_document(parts.document)
    , m_page(page)
    , m_dialogs(dialogs)
    , m_prompt(prompt) {
    m_openDialog.defaultExtension = QStringLiteral("rbs");
    // A name typed that does not exist opens as a new layout of that name.
    m_openDialog.mustExist = false;
    m_saveDialog.defaultExtension = QStringLiteral("rbs");
    m_saveDialog.overwritePrompt = true;
    connectButtons();
}

LayoutCommands::~LayoutCommands() = default;

void LayoutCommands::connectButtons() {
    const LayoutButtons& b = m_page.buttons();
    connectCommand(b.btnNewLayout, &QPushButton::clicked, this, m_dialogs, [this] { newLayout(); });
    connectCommand(b.btnOpenLayout, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnOpenLayoutClick(); });
    connectCommand(b.btnSaveLayout, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnSaveLayoutClick(); });
    connectCommand(b.btnSaveAs, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnSaveAsClick(); });
    // The desktop's save keys save the layout while its page is on show (the
    // document page's editor has the same keys for the document).
    const std::pair<QKeySequence, void (LayoutCommands::*)()> keys[] = {
        {QKeySequence::Save, &LayoutCommands::btnSaveLayoutClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &LayoutCommands::btnSaveAsClick},
    };
    for (const auto& [key, command] : keys) {
        auto* action = new QAction(&m_page);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        m_page.addAction(action);
        connectCommand(action, &QAction::triggered, this, m_dialogs,
                       [this, command = command] { (this->*command)(); });
    }
    connectHistory();
}

void LayoutCommands::connectHistory() {
    const LayoutButtons& b = m_page.buttons();
    // The same keys undo the document's editing on its own page: a hidden
    // page's keys do not reach Qt's shortcut map.
    const struct {
        QList<QKeySequence> keys;
        QPushButton* button;
        void (LayoutCommands::*command)();
    } history[] = {
        {{QKeySequence(Qt::CTRL | Qt::Key_Z)}, b.btnLayoutUndo, &LayoutCommands::undo},
        {{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
         b.btnLayoutRedo,
         &LayoutCommands::redo},
    };
    for (const auto& entry : history) {
        auto* action = new QAction(&m_page);
        action->setShortcuts(entry.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        m_page.addAction(action);
        connectCommand(action, &QAction::triggered, this, m_dialogs,
                       [this, command = entry.command] { (this->*command)(); });
        connectCommand(entry.button, &QPushButton::clicked, this, m_dialogs,
                       [this, command = entry.command] { (this->*command)(); });
    }
    const QUndoStack& steps = m_layout.history();
    connect(&steps, &QUndoStack::canUndoChanged, b.btnLayoutUndo, &QWidget::setEnabled);
    connect(&steps, &QUndoStack::canRedoChanged, b.btnLayoutRedo, &QWidget::setEnabled);
    b.btnLayoutUndo->setEnabled(steps.canUndo());
    b.btnLayoutRedo->setEnabled(steps.canRedo());
    // A number field would take the keys for its own text; the layout's
    // history holds what was typed there, so the page's keys go first.
    const LayoutControls& c = m_page.controls();
    for (QWidget* edit :
         std::initializer_list<QWidget*>{c.edtAdW, c.edtOBW, c.edtFW, c.edtIBW, c.edtTxtMarginLeft,
                                         c.edtTxtMarginRight, c.edtTxtMarginTop})
        edit->installEventFilter(this);
}

bool LayoutCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            // Left unaccepted, the key goes to the page's shortcut.
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LayoutCommands::undo() {
    if (!m_layout.canUndo())
        return;
    m_layout.undo();
    emit captionChanged();
}

void LayoutCommands::redo() {
    if (!m_layout.canRedo())
        return;
    m_layout.redo();
    emit captionChanged();
}

bool LayoutCommands::btnNewPresentClick(Form form) {
    if (form == Form::User)
        return newLayout();
    loadOnShow();
    return true;
}

bool LayoutCommands::newLayout() {
    // Asked first, so that a cancel leaves everything as it was.
    if (checkUnsavedChanges() == SaveCheck::Cancelled)
        return false;
    const LayoutDocument::Step step(m_layout, LayoutDocument::StepKind::Load);
    emit publishingLeft();
    resetButtonHints();
    becomeUntitled();
    m_layout.setLoadRequest(LayoutLoadRequest::New);
    loadAndShow();
    return true;
}

void LayoutCommands::loadOnShow() {
    const LayoutDocument::Step step(m_layout, LayoutDocument::StepKind::Load);
    emit publishingLeft();
    resetButtonHints();
    // Showing the page reads the layout of an example just opened rather
    // than the default one: the example is shown with its own decoration.
    if (m_layout.state().LayoutLoadRequested != LayoutLoadRequest::Example)
        m_layout.setLoadRequest(LayoutLoadRequest::New);
    loadAndShow();
}

void LayoutCommands::loadAndShow() {
    LoadComponents();
    showBlankPage();
    m_page.refreshPreview();
}

void LayoutCommands::btnOpenLayoutClick() {
    openLayout();
}

void LayoutCommands::openLayout() {
    const SaveCheck check = checkUnsavedChanges();
    if (check == SaveCheck::Cancelled)
        return;
    const LayoutDocument::Step step(m_layout, LayoutDocument::StepKind::Load);
    if (check == SaveCheck::Discarded || check == SaveCheck::SavedThroughDialog)
        becomeUntitled();
    m_layout.requestLoad(LayoutLoadRequest::Open);
    LoadComponents();
}

void LayoutCommands::openLayoutFile(const QString& fileName) {
    m_fileToOpen = fileName;
    openLayout();
    m_fileToOpen.clear();
}

void LayoutCommands::btnSaveLayoutClick() {
    // An example's layout is never written over: it is saved as a new file.
    if (hasOwnFile())
        SaveToRBS();
    else
        saveLayoutAs();
}

void LayoutCommands::btnSaveAsClick() {
    saveLayoutAs();
}

void LayoutCommands::saveLayoutAs() {
    emit layoutPageNeeded();
    m_saveDialog.fileName.clear();
    m_saveDialog.initialFolder = m_folders.layoutsFolder();
    m_saveDialog.filterIndex = 1;
    saveThroughDialog();
    m_page.refreshPreview();
}

void LayoutCommands::SaveToRBS() {
    saveTo(m_layout.state().LayoutFolder, m_layout.state().LayoutFileName);
}

void LayoutCommands::saveTo(const QString& folder, const QString& fileName) {
    if (const Status saved = m_layout.save(folder, fileName); !saved)
        throw AppError(saved.error());
    emit captionChanged();
    emit layoutFileUsed(folder + fileName);
    m_page.UpdateComponents();
}

void LayoutCommands::setIdentity(const QString& folder, const QString& fileName) {
    const LayoutState& state = m_layout.state();
    if (state.LayoutFolder == folder && state.LayoutFileName == fileName)
        return;
    m_layout.setFile(folder, fileName);
    // The caption names the layout's file, whatever happens next.
    emit captionChanged();
}

void LayoutCommands::showBlankPage() {
    // An empty page while the new layout is being set up.
    emit pageFileShown(m_folders.blankPageFile());
}

bool LayoutCommands::hasOwnFile() const {
    const LayoutState& state = m_layout.state();
    return !state.LayoutFolder.isEmpty() && !isFullPath(state.LayoutFileName);
}

void LayoutCommands::becomeUntitled() {
    const LayoutState& state = m_layout.state();
    const bool renamed = !state.LayoutFolder.isEmpty() ||
                         state.LayoutFileName != WorkingFolders::untitledLayoutName();
    m_layout.startUntitled();
    // The caption names the layout's file, whatever happens next.
    if (renamed)
        emit captionChanged();
}

bool LayoutCommands::saveThroughDialog() {
    // Before its first use the dialog starts where the layouts are kept.
    if (m_saveDialog.initialFolder.isEmpty())
        m_saveDialog.initialFolder = m_folders.layoutsFolder();
    // In the language shown when the dialog opens.
    m_saveDialog.title =
        uilanguage::text("MESSAGES", "saveLayoutTitle", QStringLiteral("Save Layout As"));
    m_saveDialog.filter = layoutFilter();
    const QString chosen = m_dialogs.saveFileName(m_saveDialog);
    if (chosen.isEmpty())
        return false;
    const QFileInfo info(chosen);
    saveTo(withTrailingSeparator(info.path()), info.fileName());
    return true;
}

LayoutCommands::SaveCheck LayoutCommands::checkUnsavedChanges() {
    if (!m_layout.state().LayoutModified)
        return SaveCheck::Unmodified;
    switch (askSavePrompt()) {
    case UserDialogs::Answer::No:
        m_layout.markSaved();
        return SaveCheck::Discarded;
    case UserDialogs::Answer::Yes:
        if (hasOwnFile()) {
            SaveToRBS();
            return SaveCheck::Saved;
        }
        // Having asked to keep the changes, the user who then cancels the
        // save dialog keeps them: the command stops as if cancelled.
        return saveThroughDialog() ? SaveCheck::SavedThroughDialog : SaveCheck::Cancelled;
    case UserDialogs::Answer::Cancel:
        break;
    }
    return SaveCheck::Cancelled;
}

UserDialogs::Answer LayoutCommands::askSavePrompt() {
    if (!m_prompt) {
        m_ownPrompt = std::make_unique<SaveExitDialog>();
        m_prompt = m_ownPrompt.get();
    }
    m_prompt->setChangedFile(m_layout.state().LayoutFileName);
    return SaveExitDialog::answerOf(m_dialogs.runModal(*m_prompt));
}

void LayoutCommands::LoadComponents() {
    // The layout it reads and the controls' capture of it are one step.
    const LayoutDocument::Step step(m_layout, LayoutDocument::StepKind::Load);
    if (!m_layout.state().LayoutLoadNeeded) {
        m_layout.setControlsReady(true);
        m_page.refreshPreview();
        return;
    }
    LayoutSource source;
    const LayoutLoadRequest request = m_layout.takeLoadRequest();
    switch (request) {
    case LayoutLoadRequest::None:
        break;
    case LayoutLoadRequest::New:
        source = serveNewRequest();
        break;
    case LayoutLoadRequest::Open:
        if (!serveOpenRequest(source))
            return;
        break;
    case LayoutLoadRequest::Example:
        if (!serveExampleRequest(source)) {
            m_page.refreshPreview();
            return;
        }
        break;
    }
    const QString unreadDefault = loadLayoutFile(source.fileName);
    if (source.resetsHints)
        resetImageHints();
    if (source.showsControls)
        showLayoutControls();
    if (source.takesIdentity)
        setIdentity(source.folder, source.name);
    if (source.updatesCaption)
        emit captionChanged();
    showPictureHints();
    // The controls hold the layout now: whatever its preview does, no later
    // load may read another layout over it without the user's command.
    m_layout.setLoadNeeded(false);
    m_page.refreshPreview();
    if (request == LayoutLoadRequest::Open)
        emit layoutFileUsed(source.fileName);
    if (!unreadDefault.isEmpty())
        m_dialogs.showError(unreadDefault + QStringLiteral("\n\n") +
                            uilanguage::text("MESSAGES", "layoutDefaultsUsed",
                                             QStringLiteral("The built-in layout is shown "
                                                            "instead.")));
}

QString LayoutCommands::loadLayoutFile(const QString& fileName) {
    // A number the page could not capture would stop every preview of the
    // layout and leave the load unfinished: it takes its default.
    const Status loaded = m_layout.load(fileName);
    if (loaded)
        return {};
    // The layout in the controls stays, with its file and its changes, and
    // goes on refreshing the preview.
    if (m_layout.state().LayoutControlsReady)
        m_layout.setLoadNeeded(false);
    if (fileName != m_folders.defaultLayoutFile())
        throw AppError(loaded.error());
    // Without its default layout the page would wait for one forever: the
    // built-in layout stands in, and the file is named afterwards.
    m_layout.replaceWith(LayoutFileContent());
    return loaded.error();
}

LayoutCommands::LayoutSource LayoutCommands::serveNewRequest() {
    LayoutSource source;
    source.fileName = m_folders.defaultLayoutFile();
    source.resetsHints = true;
    source.showsControls = true;
    source.updatesCaption = true;
    return source;
}

bool LayoutCommands::serveOpenRequest(LayoutSource& source) {
    m_openDialog.initialFolder = m_folders.layoutsFolder();
    m_openDialog.filterIndex = 1;
    m_openDialog.fileName.clear();
    m_openDialog.title =
        uilanguage::text("MESSAGES", "openLayoutTitle", QStringLiteral("Open Layout"));
    m_openDialog.filter = layoutFilter();
    const QString chosen = m_fileToOpen.isEmpty() ? m_dialogs.openFileName(m_openDialog)
                                                  : std::exchange(m_fileToOpen, QString());
    if (chosen.isEmpty()) {
        // The controls keep the layout they hold, so they may go on
        // refreshing the preview and no later showing of the page reads the
        // default layout over it.
        if (m_layout.state().LayoutControlsReady)
            m_layout.setLoadNeeded(false);
        emit captionChanged();
        return false;
    }
    const QFileInfo info(chosen);
    source.fileName = chosen;
    source.resetsHints = true;
    source.showsControls = true;
    source.takesIdentity = true;
    source.folder = withTrailingSeparator(info.path());
    source.name = info.fileName();
    return true;
}

bool LayoutCommands::serveExampleRequest(LayoutSource& source) {
    m_document.ExampleOpen = true;
    // The example's layout replaces the one being edited only once the
    // user has kept or let go of its changes.
    if (checkUnsavedChanges() == SaveCheck::Cancelled)
        return false;
    showBlankPage();
    source.fileName = exampleLayoutFileName();
    source.resetsHints = true;
    // Named by its full path; the folder stays as it was.
    source.takesIdentity = true;
    source.folder = m_layout.state().LayoutFolder;
    source.name = source.fileName;
    return true;
}

QString LayoutCommands::exampleLayoutFileName() const {
    const QFileInfo document(m_document.DocumentFileName);
    QString name = document.suffix().isEmpty()
                       ? document.fileName()
                       : document.fileName().chopped(document.suffix().size() + 1);
    name += QStringLiteral(".rbs");
    // An example always lives in the examples folder, even when the
    // document's name came without it.
    const QString folder = isFullPath(m_document.DocumentFileName)
                               ? withTrailingSeparator(document.path())
                               : m_folders.examplesFolder();
    return folder + name;
}

void LayoutCommands::showPictureHints() {
    using Picture = LayoutDocument::Picture;
    const Layout& l = m_layout.layout();
    const std::pair<Picture, const QString*> pictures[] = {
        {Picture::Ad, &l.AdImg}, {Picture::Frame, &l.FBgImg}, {Picture::Text, &l.TxtBgImg}};
    // The page's buttons show the hints the document holds.
    for (const auto& [picture, path] : pictures) {
        if (!path->isEmpty())
            m_layout.setPictureHint(picture, imageHint(*path));
    }
}

void LayoutCommands::showLayoutControls() {
    m_page.buttonBar()->setVisible(true);
    m_page.column()->setVisible(true);
    emit fullMenuNeeded();
}

void LayoutCommands::resetImageHints() {
    m_layout.resetPictureHints();
    resetButtonHints();
}

void LayoutCommands::resetButtonHints() {
    const LayoutControls& c = m_page.controls();
    for (QPushButton* button : {c.btnAdImg, c.btnFrmImg, c.btnTxtImg})
        button->setToolTip(imageHint(QString()));
}
