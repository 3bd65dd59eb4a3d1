#pragma once

#include "ui/userdialogs.h"

#include <QQueue>
#include <QStringList>
#include <functional>

/// The test double of the dialog seam. Each kind of dialog answers from its
/// own queue; an empty queue gives the cancelling answer. Everything shown is
/// recorded in `shown` as "kind: text", in order, so a test can check both
/// what the user saw and that nothing else popped up.
class ScriptedDialogs : public UserDialogs {
public:
    QStringList shown;

    QQueue<Answer> answers;    // askYesNo (Yes/No) and askYesNoCancel
    QQueue<QString> fileNames; // open and save dialogs; "" cancels
    QQueue<std::optional<QColor>> colors;
    QQueue<bool> urlResults; // openUrl; true when empty
    /// Runs a modal window: gets the dialog (to fill or click it) and returns
    /// its result. Without one, the window is rejected.
    QQueue<std::function<int(QDialog&)>> modalActions;

    /// The options of the last file dialog, to check filters and folders.
    FileDialogOptions lastFileDialog;
    /// The title of the last message box or question.
    QString lastTitle;

    void showMessage(const QString& text, Icon icon, const QString& title) override;
    void showError(const QString& text) override;
    bool askYesNo(const QString& text, const QString& title, Icon icon) override;
    Answer askYesNoCancel(const QString& text, const QString& title, Icon icon) override;
    QString openFileName(FileDialogOptions& options) override;
    QString saveFileName(FileDialogOptions& options) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    void beep() override;
    bool openUrl(const QUrl& url) override;
    int runModal(QDialog& dialog) override;

    /// The recorded entries of one kind ("message", "error", ...), texts only.
    QStringList shownOf(const QString& kind) const;
};
