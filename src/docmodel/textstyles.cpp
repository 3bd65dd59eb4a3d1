#include "docmodel/textstyles.h"

bool TTextStyleInfo::sameLook(const TTextStyleInfo& other) const {
    return FontName == other.FontName && Size == other.Size && Style == other.Style &&
           Color == other.Color && BackColor == other.BackColor && Overline == other.Overline &&
           AllCaps == other.AllCaps && VAlign == other.VAlign && Jump == other.Jump;
}

bool TTextStyleInfo::operator==(const TTextStyleInfo& other) const {
    return StyleName == other.StyleName && NonLinkStyleNo == other.NonLinkStyleNo &&
           sameLook(other);
}
