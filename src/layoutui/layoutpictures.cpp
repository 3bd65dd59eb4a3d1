#include "layoutui/layoutpictures.h"

#include "layout/layout.h"
#include "layout/layoutdocument.h"
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
    LayoutDocument::Picture picture;
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

LayoutPictures::LayoutPictures(const LayoutControls& controls, LayoutDocument& document,
                               const WorkingFolders& folders, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_controls(controls)
    , m_document(document)
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
    choosePicture({LayoutDocument::Picture::Ad, m_controls.btnAdImg, m_controls.cbxAdImg, 300});
}

void LayoutPictures::btnFrmImgClick() {
    choosePicture(
        {LayoutDocument::Picture::Frame, m_controls.btnFrmImg, m_controls.cbxFrmImg, 200});
}

void LayoutPictures::btnTxtImgClick() {
    choosePicture({LayoutDocument::Picture::Text, m_controls.btnTxtImg, m_controls.cbxTxtImg, 200});
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

    // The picture, the box that shows it and the preview's capture are one
    // step; undoing it leaves the copy in the seller's pictures folder.
    const LayoutDocument::Step step(m_document);
    m_document.choosePicture(area.picture, path);
    area.button->setToolTip(m_document.pictureHint(area.picture));
    // The picture is shown: its reaction frees the repeat boxes.
    area.hide->setChecked(false);
    m_document.setLoadNeeded(false);
    emit refreshNeeded();
}
