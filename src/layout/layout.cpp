#include "layout/layout.h"

#include <tuple>

namespace {

auto fieldsOf(const Layout& l) {
    return std::tie(l.AdWidthValue, l.AdWidthType, l.AdBackCol, l.AdCenter, l.AdImg, l.AdImgHide,
                    l.AdHideCol, l.OBWidth, l.OBColor, l.OBType, l.FWidth, l.FBgCol, l.FBgHideCol,
                    l.FBgImg, l.FImgHide, l.FImgRepX, l.FImgRepY, l.FBWidth, l.FBType, l.FBCol,
                    l.TxtPadLeft, l.TxtPadRight, l.TxtPadTop, l.TxtBgCol, l.TxtHideCol, l.TxtBgImg,
                    l.TxtImgHide, l.TxtRepeatX, l.TxtRepeatY, l.TxtCol);
}

} // namespace

Layout Layout::withDefaults() {
    const QString white = QStringLiteral("#ffffff");
    const QString solid = QStringLiteral("solid");
    const QString zero = QStringLiteral("0");

    Layout l;
    l.AdWidthValue = QStringLiteral("690");
    l.AdWidthType = QStringLiteral("1");
    l.AdBackCol = white;
    l.AdCenter = true;
    l.AdImgHide = true;
    l.AdHideCol = true;

    l.OBWidth = zero;
    l.OBColor = white;
    l.OBType = solid;

    l.FWidth = zero;
    l.FBgCol = white;
    l.FBgHideCol = true;
    l.FImgHide = true;
    l.FImgRepX = true;
    l.FImgRepY = true;

    l.FBWidth = zero;
    l.FBType = solid;
    l.FBCol = white;

    l.TxtPadLeft = zero;
    l.TxtPadRight = zero;
    l.TxtPadTop = zero;
    l.TxtBgCol = white;
    l.TxtHideCol = false;
    l.TxtImgHide = true;
    l.TxtRepeatX = true;
    l.TxtRepeatY = true;
    l.TxtCol = QStringLiteral("#000000");
    return l;
}

bool Layout::operator==(const Layout& other) const {
    return fieldsOf(*this) == fieldsOf(other);
}

const QStringList& borderTypes() {
    static const QStringList types = {
        QStringLiteral("solid"),  QStringLiteral("dotted"), QStringLiteral("dashed"),
        QStringLiteral("double"), QStringLiteral("ridge"),  QStringLiteral("groove"),
        QStringLiteral("inset"),  QStringLiteral("outset"),
    };
    return types;
}

QString imageHint(const QString& imagePath) {
    if (imagePath.isEmpty())
        return QStringLiteral("No image selected");
    return QStringLiteral("Vantrel/images") + imagePath;
}
