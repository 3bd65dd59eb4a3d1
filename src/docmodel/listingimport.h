#pragma once

#include "docmodel/docpicture.h"
#include "docmodel/eddocument.h"

#include <QHash>

#include <QString>
#include <QStringList>
#include <functional>

/// Listing pages made elsewhere, opened or pasted as document content: the
/// text, headings, lists, tables, links and formatting come in; what a
/// document cannot hold is left out and counted.
namespace listingimport {

/// What a page brought that the document does not keep, by kind.
struct LeftOut {
    int scripts = 0;     // script elements and script links
    int forms = 0;       // forms
    int formFields = 0;  // buttons, fields and choices outside a form
    int styleSheets = 0; // style elements and linked style sheets
    int embedded = 0;    // frames, plug-ins, video, audio, drawings
    int webPictures = 0; // pictures by a web address that is not http or https
    /// Local pictures that could not be read, as the page names them.
    QStringList unreadablePictures;

    bool isEmpty() const;
};

/// Decides whether a picture source stays in the page; counts it in the
/// left-out parts when it does not.
using PictureFilter = std::function<bool(const QString& source)>;

/// The page's text: UTF-8, or Windows-1252 when the bytes are not UTF-8.
QString decode(const QByteArray& bytes);

/// The HTML without its scripts, forms, style sheets and embedded objects,
/// script links lose their address; pictures stay only where the filter
/// keeps them. Everything else is left as it is.
QString withoutForeignParts(const QString& html, LeftOut& leftOut,
                            const PictureFilter& keepPicture = {});

/// Reads the picture of an `img` source: a `data:` address gives a picture
/// without a file; a local path or file address, relative ones against
/// `baseFolder` (none: not resolved), gives the file's picture without its
/// path, so that the document never refers to the machine it came from; an
/// http or https address gives a picture by that address. False for
/// pictures that cannot be read or fetched, which are counted in `leftOut`.
bool readPicture(const QString& source, const QString& baseFolder, DocPicture& picture,
                 LeftOut& leftOut);

/// HTML from outside made ready for the text document: its foreign parts
/// left out and its pictures read, by the source the HTML names them with.
struct Prepared {
    QString html;
    QHash<QString, DocPicture> pictures;

    /// Hands the adoption the pictures read, by their source.
    EdDocument::PictureResolver resolver() const;
};
Prepared prepare(const QString& html, const QString& baseFolder, LeftOut& leftOut);

/// A whole page added to the end of the document and made the document's
/// own, as the editor pastes it; relative picture paths are resolved
/// against `baseFolder`. Returns what was left out.
LeftOut importPage(EdDocument& document, const QString& html, const QString& baseFolder,
                   const EdDocument::ReadHyperlinkHandler& readHyperlink = {});

/// One line telling what was left out ("Left out: 2 scripts, 1 form."), in
/// the program's language; empty when nothing was.
QString summary(const LeftOut& leftOut);

} // namespace listingimport
