#pragma once

#include "layoutui/layoutcontrols.h"

#include <QObject>
#include <QString>

class LayoutDocument;
struct WorkingFolders;
class UserDialogs;

/// The picture choice of the Layout page's three picture buttons
/// (`btnAdImgClick`, `btnFrmImgClick`, `btnTxtImgClick`): the picture is
/// chosen in the picture dialog, gathered into the own pictures folder,
/// given to the layout document by its path below the images folder, and
/// shown.
class LayoutPictures : public QObject {
    Q_OBJECT
public:
    LayoutPictures(const LayoutControls& controls, LayoutDocument& document,
                   const WorkingFolders& folders, UserDialogs& dialogs, QObject* parent = nullptr);

    void btnAdImgClick();
    void btnFrmImgClick();
    void btnTxtImgClick();

signals:
    /// A picture was copied into the own pictures folder.
    void pictureCopied(const QString& copy);
    /// The layout changed: the preview is to show it.
    void refreshNeeded();

private:
    struct Area;
    void choosePicture(const Area& area);

    LayoutControls m_controls;
    LayoutDocument& m_document;
    const WorkingFolders& m_folders;
    UserDialogs& m_dialogs;
};
