#pragma once

#include <QString>
#include <QStringList>

/// The decoration around the item description: page area ("ad"), outer
/// border, frame, inner border and text area. One field per key of the layout
/// file, named like the key, each in the form it is stored and merged into
/// the page: numbers as decimal digits, colours as "#RRGGBB", border types as
/// CSS border-style words, pictures as the path after "images".
///
/// A default-constructed record is empty, as it is before the first layout
/// is read; `withDefaults()` gives the values of keys missing from a file.
struct Layout {
    // Page area
    QString AdWidthValue; // pixels, used when AdWidthType is "0"
    QString AdWidthType;  // "0": AdWidthValue pixels, "1": full width
    QString AdBackCol;
    bool AdCenter = false;
    QString AdImg;
    bool AdImgHide = false;
    bool AdHideCol = false; // background transparent: AdBackCol unused

    // Outer border; width "0" means none
    QString OBWidth;
    QString OBColor;
    QString OBType;

    // Frame; width "0" means none
    QString FWidth;
    QString FBgCol;
    bool FBgHideCol = false;
    QString FBgImg;
    bool FImgHide = false;
    bool FImgRepX = false;
    bool FImgRepY = false;

    // Inner border; width "0" means none
    QString FBWidth;
    QString FBType;
    QString FBCol;

    // Text area
    QString TxtPadLeft;
    QString TxtPadRight;
    QString TxtPadTop; // top and bottom
    QString TxtBgCol;
    bool TxtHideCol = false;
    QString TxtBgImg;
    bool TxtImgHide = false;
    bool TxtRepeatX = false;
    bool TxtRepeatY = false;
    QString TxtCol; // only ever read from a layout file, never edited

    /// The values a layout takes for every key its file does not hold.
    static Layout withDefaults();

    bool operator==(const Layout& other) const;
    bool operator!=(const Layout& other) const { return !(*this == other); }
};

/// The border styles a layout offers, in the order the lists show them.
const QStringList& borderTypes();

/// The hint of a picture button for a picture path as the layout stores it:
/// "Vantrel/images" followed by the path, or "No image selected" for none.
QString imageHint(const QString& imagePath);
