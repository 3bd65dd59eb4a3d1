#include "editor/textstyles.h"

bool TTextStyleInfo::sameLook(const TTextStyleInfo& other) const {
    return FontName == other.FontName && Size == other.Size && Style == other.Style &&
           Color == other.Color && BackColor == other.BackColor && Overline == other.Overline &&
           AllCaps == other.AllCaps && VAlign == other.VAlign && Jump == other.Jump;
}

bool TTextStyleInfo::operator==(const TTextStyleInfo& other) const {
    return StyleName == other.StyleName && NonLinkStyleNo == other.NonLinkStyleNo &&
           sameLook(other);
}

TTextStyleInfo& TTextStyleInfos::add(const TTextStyleInfo& info) {
    m_items.append(info);
    return m_items.last();
}

const TTextStyleInfo& TTextStyleInfos::at(int index) const {
    static const TTextStyleInfo fallback;
    return index >= 0 && index < count() ? m_items.at(index) : fallback;
}

TTextStyleInfo* TTextStyleInfos::item(int index) {
    return index >= 0 && index < count() ? &m_items[index] : nullptr;
}

int TTextStyleInfos::indexOfLook(const TTextStyleInfo& info) const {
    for (int i = 0; i < count(); ++i) {
        if (m_items.at(i).sameLook(info))
            return i;
    }
    return -1;
}

int TTextStyleInfos::findOrAppend(const TTextStyleInfo& info) {
    const int found = indexOfLook(info);
    if (found >= 0)
        return found;
    add(info);
    return count() - 1;
}
