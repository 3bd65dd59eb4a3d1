#pragma once

#include <QString>

/// The shared settings of the editor's actions and dialogs
/// (`EdControlPanel1`).
struct TEdControlPanel {
    QString DefaultFileName = QStringLiteral("Untitled.vdoc");
    QString DocFilter = QStringLiteral("Vantrel Document Files (*.vdoc)|*.vdoc");
    QString DefaultExt = QStringLiteral("vdoc");
    QString DocFormatTitle = QStringLiteral("Vantrel Document Format");
    QString DialogFontName = QStringLiteral("Tahoma");
    /// The pictures the insert-picture dialog offers.
    QString PictureFilter =
        QStringLiteral("All images (*.jpg *.gif *.png)|*.jpg;*.gif;*.png|JPEG images (*.jpg)|*.jpg|"
                       "GIF images (*.gif)|*.gif|PNG images (*.png)|*.png");
};
