#pragma once

#include <QList>
#include <QString>

struct Layout;
struct PublishingState;

/// Where the layout's pictures are: below the user folder's "images" for
/// the preview, at their server addresses while publishing.
struct PictureSources {
    const QString& userFolder;
    const PublishingState& publishing;
};

struct ListingVariable {
    QString name;
    QString value;
};

/// The page template's variables for a layout, in the order they are set.
/// Variables the layout leaves unset (hidden pictures, the three repeat
/// keywords not chosen) are absent and merge to nothing.
///
/// Values reach the page only in their own form: a colour that is not "#"
/// and six hexadecimal digits, a number that is not decimal digits or a
/// border type outside the list gives the field's default, and picture
/// addresses are encoded so that they stay inside their quoted url(). A
/// layout file, whoever wrote it, cannot put markup, styles or script into
/// the page.
QList<ListingVariable> listingVariables(const Layout& layout, const PictureSources& pictures);
