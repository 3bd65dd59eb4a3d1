#pragma once

#include <QDialog>

class QCheckBox;
class SettingsChoices;
class UserDialogs;

/// Explains how links in the document behave while editing, in the preview
/// and in the published listing. Its "don't show" box and the settings
/// window's option are one choice, kept in the settings file.
class InsertLinkInfoDialog : public QDialog {
    Q_OBJECT
public:
    InsertLinkInfoDialog(UserDialogs& dialogs, QString settingsFile,
                         SettingsChoices* settings = nullptr, QWidget* parent = nullptr);

    QCheckBox* cbxHideInsertLinkInfo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cbxHideInsertLinkInfoClick(bool hide);

    UserDialogs& m_dialogs;
    QString m_settingsFile;
    SettingsChoices* m_settings;
};
