#include "layoutui/layoutpictures.h"

#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "platform/apperror.h"
#include "platform/ownpictures.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "ui/userdialogs.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>

/// What one picture button works on.
struct LayoutPictures::Area {
    QString Layout::*path;
    QString LayoutState::*fileName;
    QString LayoutState::*hint;
    QPushButton* button;
    QCheckBox* hide;
    /// The longest path the layout keeps for this area.
    int maxPath;
};

namespace {

// Upper-case extensions count too: cameras write "PHOTO.JPG".
QString pictureFilter() {
    return uilanguage::text("MESSAGES", "pictureFiles",
                            QStringLiteral("Images (*.jpg, *.gif, *.png)")) +
           QStringLiteral("|*.jpg;*.JPG;*.jpeg;*.JPEG;*.gif;*.GIF;*.png;*.PNG");
}

} // namespace

LayoutPictures::LayoutPictures(const LayoutControls& controls, LayoutState& state, Layout& layout,
                               const WorkingFolders& folders, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_state(state)
    , m_layout(layout)
    , m_folders(folders)
    , m_dialogs(dialogs) {
    connectCommand(controls.btnAdImg, &QPushButton::clicked, this, dialogs,
                   [this] { btnAdImgClick(); });
    connectCommand(controls.btnFrmImg, &QPushButton::clicked, this, dialogs,
                   [this] { btnFrmImgClick(); });
    connectCommand(controls.btnTxtImg, &QPushButton::clicked, this, dialogs,
                   [this] { btnTxtImgClick(); });
}

void LayoutPictures::btnAdImgClick() {
    choosePicture({&Layout::AdImg, &LayoutState::AdImageFileName, &LayoutState::AdImageHint,
                   m_controls.btnAdImg, m_controls.cbxAdImg, 300});
}

void LayoutPictures::btnFrmImgClick() {
    choosePicture({&Layout::FBgImg, &LayoutState::FrameImageFileName, &LayoutState::FrameImageHint,
                   m_controls.btnFrmImg, m_controls.cbxFrmImg, 200});
}

void LayoutPictures::btnTxtImgClick() {
    choosePicture({&Layout::TxtBgImg, &LayoutState::TextImageFileName, &LayoutState::TextImageHint,
                   m_controls.btnTxtImg, m_controls.cbxTxtImg, 200});
}

void LayoutPictures::choosePicture(const Area& area) {
    UserDialogs::FileDialogOptions options;
    options.title =
        uilanguage::text("MESSAGES", "openPictureTitle", QStringLiteral("Open picture"));
    options.filter = pictureFilter();
    options.initialFolder = m_folders.imagesFolder();
    options.picturePreview = true;
    const QString chosen = m_dialogs.openFileName(options);
    if (chosen.isEmpty())
        return;

    // Nothing of the layout changes until the picture is in place.
    const ownpictures::Placement placed =
        ownpictures::CheckImageLocation(chosen, m_folders.ownImagesFolder());
    if (placed.copied)
        emit pictureCopied(placed.path);
    const QString path = ownpictures::imagesRelativePath(placed.path, m_folders.imagesFolder());
    if (path.isEmpty() || path.size() > area.maxPath)
        throw AppError(uilanguage::text("MESSAGES", "picturePathTooLong",
                                        QStringLiteral("The picture's path \"%1\" is longer "
                                                       "than a layout keeps (%2 characters). "
                                                       "Give the picture a shorter name."))
                           .arg(path)
                           .arg(area.maxPath));
    if (placed.renamed)
        m_dialogs.showMessage(
            uilanguage::text("MESSAGES", "pictureRenamed",
                             QStringLiteral("\"%1\" was copied into your own pictures folder as "
                                            "\"%2\", because a different picture has its name "
                                            "there already or its name cannot be used in a "
                                            "listing."))
                .arg(QFileInfo(chosen).fileName(), QFileInfo(placed.path).fileName()),
            UserDialogs::Icon::Information);

    m_state.*area.fileName = QFileInfo(placed.path).fileName();
    m_layout.*area.path = path;
    m_state.*area.hint = imageHint(path);
    area.button->setToolTip(m_state.*area.hint);
    // Its reaction stores the flag and frees the repeat boxes.
    area.hide->setChecked(false);
    m_state.LayoutModified = true;
    m_state.LayoutLoadNeeded = false;
    emit refreshNeeded();
}
