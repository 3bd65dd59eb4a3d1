#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Where a page refers to a picture: the attribute value or url() argument
/// as written (quotes and character references included) and its place.
struct PagePictureReference {
    qsizetype start = 0;
    qsizetype length = 0;
    QString value;
    /// An attribute's value (img src, background), not a CSS url().
    bool attribute = true;
};

/// Every place a page refers to a picture, in the page's order: `src` of
/// `img` elements, `background` attributes and CSS `url()` (in style sheets
/// and style attributes).
QList<PagePictureReference> pagePictureReferences(const QString& html);

/// Every picture address a listing page refers to, in the order of first
/// appearance, each once: `src` of `img` elements, `background` attributes
/// and CSS `url()` (in style sheets and style attributes). Character
/// references in attributes are decoded; embedded `data:` pictures are left
/// out, as they need no server.
QStringList pagePictureAddresses(const QString& html);
