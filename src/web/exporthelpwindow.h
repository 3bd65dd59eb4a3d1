#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QWebEngineView;
class SettingsChoices;
class UserDialogs;

/// The publishing help window `T_frmExport1`: the help page in the
/// program's language, and the box that stops it from showing after
/// publishing. It stays above the main window, which owns it.
class ExportHelpWindow : public QWidget {
    Q_OBJECT
public:
    /// `helpPage` gives the page to show, asked each time the window is
    /// activated (the language may have changed).
    ExportHelpWindow(std::function<QString()> helpPage, QString settingsFile,
                     SettingsChoices& settings, UserDialogs& dialogs, QWidget* parent = nullptr);

    QWebEngineView* browExport1() const { return m_browser; }

signals:
    /// The window was shown or closed: the Publish page hides or shows its
    /// help link.
    void shownChanged(bool shown);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cbxExportHelpHideClick(bool hide);

    std::function<QString()> m_helpPage;
    QString m_settingsFile;
    SettingsChoices& m_settings;
    UserDialogs& m_dialogs;
    QCheckBox* m_hide = nullptr;
    QWebEngineView* m_browser = nullptr;
};
