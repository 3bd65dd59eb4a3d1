#include "layout/layoutcommands.h"

#include "app/appstate.h"
#include "layout/layout.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutfile.h"
#include "layout/layoutpage.h"
#include "layout/saveexitdialog.h"
#include "platform/apperror.h"
#include "platform/workingfolders.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString untitledLayout = QStringLiteral("Untitled.rbs");

void call(const std::function<void()>& hook) {
    if (hook)
        hook();
}

/// An example's layout is named by its full path; the user's own layouts
/// by their file name alone.
bool isFullPath(const QString& fileName) {
    return QFileInfo(fileName).fileName() != fileName;
}

} // namespace

LayoutCommands::LayoutCommands(AppState& state, Layout& layout, LayoutPage& page,
                               UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_layout(layout)
    , m_page(page)
    , m_dialogs(dialogs) {
    m_openDialog.title = QStringLiteral("Open Layout");
    m_openDialog.filter = QStringLiteral("Vantrel Layout Files (*.rbs)|*.rbs");
    m_openDialog.defaultExtension = QStringLiteral("rbs");
    // A name typed that does not exist opens as a new layout of that name.
    m_openDialog.mustExist = false;
    m_saveDialog.title = QStringLiteral("Save Layout As");
    m_saveDialog.filter = QStringLiteral("Vantrel Layout files (*.rbs)|*.rbs");
    m_saveDialog.defaultExtension = QStringLiteral("rbs");
    m_saveDialog.overwritePrompt = true;
    connectButtons();
}

LayoutCommands::~LayoutCommands() = default;

void LayoutCommands::connectButtons() {
    const LayoutButtons& b = m_page.buttons();
    connect(b.btnNewLayout, &QPushButton::clicked, this,
            [this] { runCommand(m_dialogs, [this] { btnNewPresentClick(Form::User); }); });
    connect(b.btnOpenLayout, &QPushButton::clicked, this,
            [this] { runCommand(m_dialogs, [this] { btnOpenLayoutClick(); }); });
    connect(b.btnSaveLayout, &QPushButton::clicked, this,
            [this] { runCommand(m_dialogs, [this] { btnSaveLayoutClick(); }); });
    connect(b.btnSaveAs, &QPushButton::clicked, this,
            [this] { runCommand(m_dialogs, [this] { btnSaveAsClick(); }); });
}

QString LayoutCommands::layoutsFolder() const {
    return m_state.UserFolder + QStringLiteral("Documents and Layouts");
}

bool LayoutCommands::btnNewPresentClick(Form form) {
    // Asked first, so that a cancel leaves everything as it was.
    if (form == Form::User && checkUnsavedChanges() == SaveCheck::Cancelled)
        return false;
    call(m_hooks.closePublishDialog);
    m_state.RequiredImages.clear();
    resetButtonHints();
    if (form == Form::User)
        becomeUntitled();
    m_state.Publishing = false;
    m_state.NewLayoutPending = true;
    LoadComponents();
    showBlankPage();
    m_page.refreshPreview();
    return true;
}

void LayoutCommands::btnOpenLayoutClick() {
    const SaveCheck check = checkUnsavedChanges();
    if (check == SaveCheck::Cancelled)
        return;
    if (check == SaveCheck::Discarded || check == SaveCheck::SavedThroughDialog)
        becomeUntitled();
    m_state.OpenLayoutPending = true;
    m_state.LayoutLoadNeeded = true;
    LoadComponents();
}

void LayoutCommands::btnSaveLayoutClick() {
    // An example's layout is never written over: it is saved as a new file.
    if (hasOwnFile())
        SaveToRBS();
    else
        btnSaveAsClick();
}

void LayoutCommands::btnSaveAsClick() {
    call(m_hooks.selectLayoutPage);
    m_saveDialog.fileName.clear();
    m_saveDialog.initialFolder = layoutsFolder();
    m_saveDialog.filterIndex = 1;
    saveThroughDialog();
    m_page.refreshPreview();
}

void LayoutCommands::SaveToRBS() {
    saveTo(m_state.LayoutFolder, m_state.LayoutFileName);
}

void LayoutCommands::saveTo(const QString& folder, const QString& fileName) {
    LayoutFileContent content;
    content.layout = m_layout;
    content.TxtAllMargins = m_page.controls().cbxAllMargins->isChecked();
    layoutfile::write(folder + fileName, content);
    // Only a layout that is on disk takes the file as its identity.
    m_state.LayoutFolder = folder;
    m_state.LayoutFileName = fileName;
    m_state.LayoutModified = false;
    call(m_hooks.updateCaption);
    m_page.UpdateComponents();
}

void LayoutCommands::showBlankPage() {
    // An empty page while the new layout is being set up.
    if (m_hooks.showPageFile)
        m_hooks.showPageFile(m_state.ProgramFolder + QStringLiteral("Blank.html"));
}

bool LayoutCommands::hasOwnFile() const {
    return !m_state.LayoutFolder.isEmpty() && !isFullPath(m_state.LayoutFileName);
}

void LayoutCommands::becomeUntitled() {
    m_state.LayoutLoadNeeded = true;
    m_state.LayoutModified = false;
    m_state.LayoutFileName = untitledLayout;
    m_state.LayoutFolder.clear();
}

bool LayoutCommands::saveThroughDialog() {
    // Before its first use the dialog starts where the layouts are kept.
    if (m_saveDialog.initialFolder.isEmpty())
        m_saveDialog.initialFolder = layoutsFolder();
    const QString chosen = m_dialogs.saveFileName(m_saveDialog);
    if (chosen.isEmpty())
        return false;
    const QFileInfo info(chosen);
    saveTo(withTrailingSeparator(info.path()), info.fileName());
    return true;
}

LayoutCommands::SaveCheck LayoutCommands::checkUnsavedChanges() {
    if (!m_state.LayoutModified)
        return SaveCheck::Unmodified;
    switch (askSavePrompt()) {
    case UserDialogs::Answer::No:
        m_state.LayoutModified = false;
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
    m_prompt->setChangedFile(m_state.LayoutFileName);
    return SaveExitDialog::answerOf(m_dialogs.runModal(*m_prompt));
}

void LayoutCommands::LoadComponents() {
    if (!m_state.LayoutLoadNeeded) {
        m_state.LayoutControlsReady = true;
        m_page.refreshPreview();
        return;
    }
    QString fileName;
    if (m_state.NewLayoutPending)
        fileName = serveNewRequest();
    if (m_state.OpenLayoutPending && !serveOpenRequest(fileName))
        return;
    if (m_state.ExampleLayoutPending && !serveExampleRequest(fileName)) {
        m_page.refreshPreview();
        return;
    }
    readIntoControls(fileName);
    m_state.ExampleLayoutPending = false;
    m_page.UpdateComponents();
    m_page.refreshPreview();
}

QString LayoutCommands::serveNewRequest() {
    resetImageHints();
    showLayoutControls();
    call(m_hooks.updateCaption);
    m_state.NewLayoutPending = false;
    return m_state.ProgramFolder + QStringLiteral("Default.rbs");
}

bool LayoutCommands::serveOpenRequest(QString& fileName) {
    m_openDialog.initialFolder = layoutsFolder();
    m_openDialog.filterIndex = 1;
    m_openDialog.fileName.clear();
    const QString chosen = m_dialogs.openFileName(m_openDialog);
    m_state.OpenLayoutPending = false;
    if (chosen.isEmpty()) {
        // The controls keep the layout they hold, so they may go on
        // refreshing the preview and no later showing of the page reads the
        // default layout over it.
        if (m_state.LayoutControlsReady)
            m_state.LayoutLoadNeeded = false;
        call(m_hooks.updateCaption);
        return false;
    }
    resetImageHints();
    showLayoutControls();
    const QFileInfo info(chosen);
    fileName = chosen;
    m_state.LayoutFolder = withTrailingSeparator(info.path());
    m_state.LayoutFileName = info.fileName();
    return true;
}

bool LayoutCommands::serveExampleRequest(QString& fileName) {
    m_state.ExampleOpen = true;
    // The example's layout replaces the one being edited only once the
    // user has kept or let go of its changes.
    if (checkUnsavedChanges() == SaveCheck::Cancelled) {
        m_state.ExampleLayoutPending = false;
        return false;
    }
    resetImageHints();
    showBlankPage();
    m_state.LayoutFileName = exampleLayoutFileName();
    fileName = m_state.LayoutFileName;
    return true;
}

QString LayoutCommands::exampleLayoutFileName() const {
    const QFileInfo document(m_state.DocumentFileName);
    QString name = document.suffix().isEmpty()
                       ? document.fileName()
                       : document.fileName().chopped(document.suffix().size() + 1);
    name += QStringLiteral(".rbs");
    // An example always lives in the examples folder, even when the
    // document's name came without it.
    const QString folder = isFullPath(m_state.DocumentFileName)
                               ? withTrailingSeparator(document.path())
                               : m_state.SharedDataFolder + QStringLiteral("Examples/");
    return folder + name;
}

void LayoutCommands::readIntoControls(const QString& fileName) {
    const LayoutFileContent content = layoutfile::read(fileName);
    m_layout = content.layout;
    const LayoutControls& c = m_page.controls();
    // A width type other than "0" or "1" checks neither button here.
    if (m_layout.AdWidthType == QLatin1String("0"))
        c.radAdManual->setChecked(true);
    else if (m_layout.AdWidthType == QLatin1String("1"))
        c.radAdFull->setChecked(true);
    QString* hints[] = {&m_state.AdImageHint, &m_state.FrameImageHint, &m_state.TextImageHint};
    QPushButton* buttons[] = {c.btnAdImg, c.btnFrmImg, c.btnTxtImg};
    const QString paths[] = {m_layout.AdImg, m_layout.FBgImg, m_layout.TxtBgImg};
    for (int i = 0; i < 3; ++i) {
        if (paths[i].isEmpty())
            continue;
        *hints[i] = imageHint(paths[i]);
        buttons[i]->setToolTip(*hints[i]);
    }
    c.cbxFRepeatX->setEnabled(!m_layout.FImgHide);
    c.cbxFRepeatY->setEnabled(!m_layout.FImgHide);
    c.cbxFrmImg->setChecked(m_layout.FImgHide);
    c.cbxAllMargins->setChecked(content.TxtAllMargins);
}

void LayoutCommands::showLayoutControls() {
    m_page.buttonBar()->setVisible(true);
    m_page.column()->setVisible(true);
    call(m_hooks.showFullMenu);
}

void LayoutCommands::resetImageHints() {
    const QString none = imageHint(QString());
    m_state.AdImageHint = none;
    m_state.FrameImageHint = none;
    m_state.TextImageHint = none;
    resetButtonHints();
}

void LayoutCommands::resetButtonHints() {
    const LayoutControls& c = m_page.controls();
    for (QPushButton* button : {c.btnAdImg, c.btnFrmImg, c.btnTxtImg})
        button->setToolTip(imageHint(QString()));
}
