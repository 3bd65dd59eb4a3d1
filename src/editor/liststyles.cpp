#include "editor/liststyles.h"

bool TListInfo::sameLook(const TListInfo& other) const {
    return ListType == other.ListType && BulletText == other.BulletText &&
           StartFrom == other.StartFrom && IndentStep == other.IndentStep;
}

bool TListInfo::operator==(const TListInfo& other) const {
    return StyleName == other.StyleName && sameLook(other);
}

TListInfo& TListInfos::add(const TListInfo& info) {
    m_items.append(info);
    return m_items.last();
}

const TListInfo& TListInfos::at(int index) const {
    static const TListInfo fallback;
    return index >= 0 && index < count() ? m_items.at(index) : fallback;
}

int TListInfos::findOrAppend(const TListInfo& info) {
    for (int i = 0; i < count(); ++i) {
        if (m_items.at(i).sameLook(info))
            return i;
    }
    add(info);
    return count() - 1;
}
