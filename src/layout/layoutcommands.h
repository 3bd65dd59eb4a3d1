#pragma once

#include "platform/userdialogs.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

struct AppState;
struct Layout;
struct LayoutFileContent;
class LayoutPage;
class SaveExitDialog;

/// What the layout commands ask of the window around the Layout page.
/// Hooks left empty do nothing.
struct LayoutCommandHooks {
    /// Recomputes the window caption.
    std::function<void()> updateCaption;
    /// Makes the whole main menu visible.
    std::function<void()> showFullMenu;
    /// Closes the publish dialog if it is open.
    std::function<void()> closePublishDialog;
    /// Makes the Layout page current (running its show reaction when another
    /// page was showing).
    std::function<void()> selectLayoutPage;
    /// Shows a page file in the preview browser.
    std::function<void(const QString& fileName)> showPageFile;
};

/// The four layout commands of the Layout page's button bar, the check for
/// unsaved layout changes with its save prompt, the layout load
/// (`LoadComponents`) and the layout save (`SaveToRBS`).
class LayoutCommands : public QObject {
    Q_OBJECT
public:
    /// Who started New Layout: the user resets the layout's identity after
    /// asking about unsaved changes; the page's show reaction does neither
    /// and reads the default layout only when a load is needed.
    enum class Form { User, Page };

    LayoutCommands(AppState& state, Layout& layout, LayoutPage& page, UserDialogs& dialogs,
                   QObject* parent = nullptr);
    ~LayoutCommands() override;

    void setHooks(LayoutCommandHooks hooks) { m_hooks = std::move(hooks); }
    /// The program's save prompt; without one the commands make their own.
    void setSavePrompt(SaveExitDialog* prompt) { m_prompt = prompt; }

    /// New Layout. False when the user cancelled, and nothing changed.
    bool btnNewPresentClick(Form form);
    void btnOpenLayoutClick();
    void btnSaveLayoutClick();
    void btnSaveAsClick();

    /// Reads the requested layout file into the record and the controls when
    /// a load is needed, then refreshes the preview.
    void LoadComponents();
    /// Writes the layout to its own file. Throws `AppError` naming the file
    /// when it cannot be written; then nothing else changes.
    void SaveToRBS();

    /// The layout open and save dialogs as they stand.
    const UserDialogs::FileDialogOptions& openDialog() const { return m_openDialog; }
    const UserDialogs::FileDialogOptions& saveDialog() const { return m_saveDialog; }

private:
    enum class SaveCheck { Unmodified, Saved, SavedThroughDialog, Discarded, Cancelled };

    SaveCheck checkUnsavedChanges();
    UserDialogs::Answer askSavePrompt();
    bool saveThroughDialog();
    void saveTo(const QString& folder, const QString& fileName);
    bool hasOwnFile() const;
    /// A new layout without a file, to be read into the controls.
    void becomeUntitled();
    void showBlankPage();

    QString serveNewRequest();
    bool serveOpenRequest(QString& fileName);
    bool serveExampleRequest(QString& fileName);
    QString exampleLayoutFileName() const;
    void readIntoControls(const QString& fileName);
    void showLayoutControls();
    void resetImageHints();
    void resetButtonHints();
    QString layoutsFolder() const;
    void connectButtons();

    AppState& m_state;
    Layout& m_layout;
    LayoutPage& m_page;
    UserDialogs& m_dialogs;
    LayoutCommandHooks m_hooks;
    SaveExitDialog* m_prompt = nullptr;
    std::unique_ptr<SaveExitDialog> m_ownPrompt;
    UserDialogs::FileDialogOptions m_openDialog;
    UserDialogs::FileDialogOptions m_saveDialog;
};
