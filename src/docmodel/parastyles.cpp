#include "docmodel/parastyles.h"

bool TParaStyleInfo::sameLook(const TParaStyleInfo& other) const {
    return Alignment == other.Alignment && Tabs == other.Tabs && LeftIndent == other.LeftIndent &&
           RightIndent == other.RightIndent && FirstIndent == other.FirstIndent &&
           SpaceBefore == other.SpaceBefore && SpaceAfter == other.SpaceAfter &&
           LineSpacing == other.LineSpacing && Background == other.Background &&
           BiDiMode == other.BiDiMode && BorderWidth == other.BorderWidth &&
           (BorderWidth == 0 || BorderColor == other.BorderColor);
}

bool TParaStyleInfo::operator==(const TParaStyleInfo& other) const {
    return StyleName == other.StyleName && sameLook(other);
}
