#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

/// Addresses of picture files, for the preview (`file:` URLs) and for the
/// published page (image servers), built by one rule: a path is cut into its
/// elements (`pathElements`) and each element is encoded as one segment of
/// the address (`urltext::pathSegment`), so that the address leads to the
/// file whatever its name holds.

/// The elements of a path, empty ones left out. A path in this system's own
/// form starts with "/", and in it "\" is a letter of a name like any other;
/// a path written elsewhere ("C:\Pics\sky.jpg", or a layout's
/// "\Backgrounds\sky.jpg") is cut at "\" as well.
QStringList pathElements(const QString& path);

/// The last element of a path: the name of the file.
QString pathFileName(const QString& path);

/// A `file:` URL for a local path, cut as `pathElements` cuts it. Letter
/// case is kept (the file system tells "Sky.GIF" from "sky.gif"), a drive
/// ("C:") stays as it is, and every element is encoded by `pathSegment`, so
/// the URL leads to the file for any name and can close neither a quoted
/// attribute nor a CSS url().
QString PathToFileUrl(const QString& path);

/// The address of the picture file `fileName` on an image server: the
/// server's base address (ending with "/") followed by the name as one
/// encoded segment, letter case kept.
QString addressOnServer(const QString& server, const QString& fileName);

namespace urltext {

/// A name as one segment of an address's path: every character but letters,
/// digits and "-._~" percent-encoded (UTF-8), so that "#", "?", "%", "/",
/// "\", ":" and blanks stay part of the name instead of ending or changing
/// the address.
QString pathSegment(QStringView name);

/// One character, or a surrogate pair, starting at `i`.
QStringView characterAt(QStringView text, qsizetype i);

/// Appends the character's UTF-8 bytes as "%XX" each, in upper case.
void appendPercentEncoded(QString& out, QStringView character);

} // namespace urltext
