#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class QDialog;

/// The one seam for everything modal or external: message boxes, questions,
/// file and colour dialogs, the beep, opening a web page with the desktop and
/// running a window of our own modally. The program uses `QtUserDialogs`;
/// tests use a scripted fake that answers from a queue and records what was
/// shown, so no test ever waits on a real dialog.
class UserDialogs {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel };

    struct FileDialogOptions {
        QString title;
        /// "Description|*.a;*.b|Other|*.c", the filter form the program's
        /// settings and texts use.
        QString filter;
        /// 1-based index of the selected filter; the dialog writes back the
        /// one the user chose.
        int filterIndex = 1;
        QString initialFolder;
        QString fileName;
        /// Appended (with a dot) to a chosen name that has no extension.
        QString defaultExtension;
        /// Save dialogs: ask before replacing an existing file.
        bool overwritePrompt = true;
        /// Open dialogs: only an existing file can be chosen.
        bool mustExist = true;
        /// Open dialogs: a pane shows the picture under the cursor.
        bool picturePreview = false;
    };

    virtual ~UserDialogs() = default;

    /// A plain message box with an OK button.
    virtual void showMessage(const QString& text, Icon icon = Icon::None,
                             const QString& title = {}) = 0;
    /// The application's standard error box: the application title and an
    /// error icon. Used for every error a command does not handle itself.
    virtual void showError(const QString& text) = 0;
    /// Yes/No question; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title = {},
                          Icon icon = Icon::Question) = 0;
    virtual Answer askYesNoCancel(const QString& text, const QString& title = {},
                                  Icon icon = Icon::Question) = 0;
    /// The chosen file's full path, or an empty string when cancelled.
    virtual QString openFileName(FileDialogOptions& options) = 0;
    virtual QString saveFileName(FileDialogOptions& options) = 0;
    /// The chosen colour, or nothing when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    virtual void beep() = 0;
    /// Opens the address with the desktop's default handler; false on failure.
    virtual bool openUrl(const QUrl& url) = 0;
    /// Runs one of the program's own windows modally; returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
};

/// "Desc|*.a;*.b|Other|*.c" as the list of Qt name filters
/// "Desc (*.a *.b)", "Other (*.c)".
QStringList nameFiltersFromPipeFilter(const QString& filter);

/// The default extension appended to a file name that has none.
QString withDefaultExtension(const QString& fileName, const QString& extension);

/// Runs one user command at the boundary between the user interface and
/// the program: an error the command does not handle ends it and is shown
/// in the standard error box; whatever the command did before stays, and no
/// exception reaches the event loop. Returns false when the command ended
/// on an error.
bool runCommand(UserDialogs& dialogs, const std::function<void()>& command);

/// Connects a user's action to a command run through `runCommand`: the one
/// place where a reaction meets the error box.
template <typename Sender, typename Signal, typename Command>
QMetaObject::Connection connectCommand(const Sender* sender, Signal signal, const QObject* context,
                                       UserDialogs& dialogs, Command command) {
    return QObject::connect(sender, signal, context, [&dialogs, command = std::move(command)] {
        runCommand(dialogs, command);
    });
}
