#pragma once

#include <QString>

/// The seller's own pictures folder ("My images"): every picture taken from
/// elsewhere is copied into it, so that one folder holds everything to
/// upload to the image server.
namespace ownpictures {

/// Where a picture ended up.
struct Placement {
    /// The picture's path inside the own pictures folder, canonical.
    QString path;
    /// A copy was made (false: the file was there already, or a file with
    /// the same bytes was).
    bool copied = false;
    /// The copy took another name than the picture's own, because a
    /// different picture has that name already or the name is unsafe.
    bool renamed = false;
};

/// Puts a picture into the own pictures folder (`CheckImageLocation`). A
/// file whose folder is the own pictures folder (symbolic links resolved,
/// letter case significant) stays where it is. Otherwise it is copied under
/// a name that is safe in the program's files and in an address; an
/// existing file of that name is kept: the same bytes make no copy, other
/// bytes make the copy take a free name ("sky (2).jpg"). Throws `AppError`
/// when the picture cannot be read or the copy cannot be written.
Placement CheckImageLocation(const QString& file, const QString& ownPicturesFolder);

/// Copies a whole file (`FileCopy`) all at once: a failed copy leaves any
/// earlier destination as it was. Copying a file onto itself does nothing.
/// Throws `AppError` naming the file that cannot be read or written.
void FileCopy(const QString& source, const QString& destination);

/// A file name that reads back from the program's files and stands in an
/// address as it is: letters outside Windows-1252 spelt without accents
/// where possible, characters that break an address or a path replaced.
QString safeFileName(const QString& name);

/// The path with A-Z in lower case and every "/" turned into "\"
/// (`ReverseURL`).
QString ReverseURL(const QString& path);

/// The path of a picture below the images folder, as layouts store it:
/// "/My images/sky.jpg". Empty when the picture is not below that folder.
QString imagesRelativePath(const QString& file, const QString& imagesFolder);

} // namespace ownpictures
