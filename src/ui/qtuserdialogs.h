#pragma once

#include "ui/userdialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QFileDialog;

/// Sets a file dialog up as the options say. The desktop's own dialog is
/// used where it offers one (a portal or the platform theme); Qt's dialog,
/// used otherwise, opens large enough for its columns and filters within the
/// screen, with a picture pane when the options ask for one.
void setUpFileDialog(QFileDialog& dialog, const UserDialogs::FileDialogOptions& options, bool save);

/// The real dialogs: Qt's message boxes, file and colour dialogs.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QString applicationTitle);

    /// The window dialogs are centred on; none before the main window exists.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

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

private:
    QString titleOr(const QString& title) const;
    QString runFileDialog(FileDialogOptions& options, bool save);

    QString m_applicationTitle;
    QPointer<QWidget> m_parent;
};
