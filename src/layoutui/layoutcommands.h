#pragma once

#include "ui/userdialogs.h"

#include <QObject>
#include <QString>
#include <memory>

struct DocumentState;
struct WorkingFolders;
class LayoutDocument;
class LayoutPage;
class SaveExitDialog;

/// The four layout commands of the Layout page's button bar, the check for
/// unsaved layout changes with its save prompt, the layout load
/// (`LoadComponents`) and the layout save (`SaveToRBS`). They change the
/// layout document only through its operations.
class LayoutCommands : public QObject {
    Q_OBJECT
public:
    /// Who started New Layout: the user resets the layout's identity after
    /// asking about unsaved changes; the page's show reaction does neither
    /// and reads the default layout only when a load is needed.
    enum class Form { User, Page };

    /// The state pieces the commands work on.
    struct Parts {
        const WorkingFolders& folders;
        LayoutDocument& layout;
        DocumentState& document;
    };

    /// `prompt` is the program's save prompt; without one the commands make
    /// their own.
    LayoutCommands(Parts parts, LayoutPage& page, UserDialogs& dialogs,
                   SaveExitDialog* prompt = nullptr, QObject* parent = nullptr);
    ~LayoutCommands() override;

    /// New Layout as `form` starts it: `newLayout` or `loadOnShow`.
    bool btnNewPresentClick(Form form);
    /// New Layout as the user starts it: unsaved changes are asked about,
    /// then the default layout is read as a new untitled layout. False when
    /// the user cancelled, and nothing changed.
    bool newLayout();
    /// New Layout as the page's show reaction starts it: the layout that a
    /// load needs (the default one, or the example's) is read; otherwise the
    /// layout stays and the preview is refreshed.
    void loadOnShow();
    /// The Open layout button: `openLayout`.
    void btnOpenLayoutClick();
    /// Open layout: unsaved changes are asked about, then a layout file is
    /// chosen and read.
    void openLayout();
    /// Opens this layout file as Open layout does, without its dialog.
    void openLayoutFile(const QString& fileName);
    void btnSaveLayoutClick();
    /// The Save as button: `saveLayoutAs`.
    void btnSaveAsClick();
    /// Save layout as: the layout is written to a file the user chooses.
    void saveLayoutAs();

    /// Reads the requested layout file into the document (and so the
    /// controls) when a load is needed, then refreshes the preview. A file that cannot be
    /// read throws `AppError`; the layout in the controls, its file and its
    /// changes then stay as they were.
    void LoadComponents();
    /// Writes the layout to its own file. Throws `AppError` naming the file
    /// when it cannot be written; then nothing else changes.
    void SaveToRBS();

    /// Undo and Redo of the Layout page (its buttons, Ctrl+Z, Ctrl+Y and
    /// Ctrl+Shift+Z while it is on show): the layout's history moves one
    /// step, and the controls, the preview and the caption follow.
    void undo();
    void redo();

    /// The layout open and save dialogs as they stand.
    const UserDialogs::FileDialogOptions& openDialog() const { return m_openDialog; }
    const UserDialogs::FileDialogOptions& saveDialog() const { return m_saveDialog; }

signals:
    /// The window caption must be computed again.
    void captionChanged();
    /// The seller opened or saved this layout file (its whole path).
    void layoutFileUsed(const QString& path);
    /// The whole main menu is to be visible.
    void fullMenuNeeded();
    /// A new layout ends publishing: the publish dialog closes, the pictures
    /// collected for the published page are forgotten and pages are made for
    /// the preview again.
    void publishingLeft();
    /// The Layout page is to become current (running its show reaction when
    /// another page was showing).
    void layoutPageNeeded();
    /// The preview is to show this page file.
    void pageFileShown(const QString& fileName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class SaveCheck { Unmodified, Saved, SavedThroughDialog, Discarded, Cancelled };

    /// The file a load reads and what the load does once it has read it.
    struct LayoutSource {
        QString fileName;
        bool resetsHints = false;
        bool showsControls = false;
        bool updatesCaption = false;
        bool takesIdentity = false;
        QString folder; // the identity it takes
        QString name;
    };

    void loadAndShow();
    SaveCheck checkUnsavedChanges();
    UserDialogs::Answer askSavePrompt();
    bool saveThroughDialog();
    void saveTo(const QString& folder, const QString& fileName);
    /// The layout's file; the caption follows every change of it.
    void setIdentity(const QString& folder, const QString& fileName);
    bool hasOwnFile() const;
    /// A new layout without a file, to be read into the controls.
    void becomeUntitled();
    void showBlankPage();

    LayoutSource serveNewRequest();
    bool serveOpenRequest(LayoutSource& source);
    bool serveExampleRequest(LayoutSource& source);
    QString exampleLayoutFileName() const;
    /// Loads the file into the document; the unreadable default layout
    /// gives the built-in one, and its fault is returned to be named later.
    QString loadLayoutFile(const QString& fileName);
    void showPictureHints();
    void showLayoutControls();
    void resetImageHints();
    void resetButtonHints();
    void connectButtons();
    void connectHistory();

    const WorkingFolders& m_folders;
    LayoutDocument& m_layout;
    DocumentState& m_document;
    LayoutPage& m_page;
    UserDialogs& m_dialogs;
    SaveExitDialog* m_prompt = nullptr;
    std::unique_ptr<SaveExitDialog> m_ownPrompt;
    UserDialogs::FileDialogOptions m_openDialog;
    /// The file the next open takes instead of asking.
    QString m_fileToOpen;
    UserDialogs::FileDialogOptions m_saveDialog;
};
