#include "editor/parastyles.h"

bool TParaStyleInfo::sameLook(const TParaStyleInfo& other) const {
    return Alignment == other.Alignment && Tabs == other.Tabs && LeftIndent == other.LeftIndent &&
           RightIndent == other.RightIndent && FirstIndent == other.FirstIndent &&
           SpaceBefore == other.SpaceBefore && SpaceAfter == other.SpaceAfter &&
           LineSpacing == other.LineSpacing && Background == other.Background;
}

bool TParaStyleInfo::operator==(const TParaStyleInfo& other) const {
    return StyleName == other.StyleName && sameLook(other);
}

TParaStyleInfo& TParaStyleInfos::add(const TParaStyleInfo& info) {
    m_items.append(info);
    return m_items.last();
}

const TParaStyleInfo& TParaStyleInfos::at(int index) const {
    static const TParaStyleInfo fallback;
    return index >= 0 && index < count() ? m_items.at(index) : fallback;
}

TParaStyleInfo* TParaStyleInfos::item(int index) {
    return index >= 0 && index < count() ? &m_items[index] : nullptr;
}

int TParaStyleInfos::findOrAppend(const TParaStyleInfo& info) {
    for (int i = 0; i < count(); ++i) {
        if (m_items.at(i).sameLook(info))
            return i;
    }
    add(info);
    return count() - 1;
}
