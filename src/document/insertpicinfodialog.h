#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class SettingsChoices;
class UserDialogs;

/// Explains how the seller's own pictures reach the image server: where the
/// last picture was copied to and which folder to upload. Its "don't show"
/// box and the settings window's option are one choice, kept in the
/// settings file.
class InsertPicInfoDialog : public QDialog {
    Q_OBJECT
public:
    InsertPicInfoDialog(UserDialogs& dialogs, QString settingsFile,
                        SettingsChoices* settings = nullptr, QWidget* parent = nullptr);

    /// Shows the last copy and the own pictures folder, shortened to fit.
    void showPaths(const QString& lastCopy, const QString& ownPicturesFolder);

    QLabel* lblShortDest = nullptr;
    QLabel* lblOwnImageFolder = nullptr;
    QCheckBox* cbxHideInsertPicInfo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cbxHideInsertPicInfoClick(bool hide);

    UserDialogs& m_dialogs;
    QString m_settingsFile;
    SettingsChoices* m_settings;
};
