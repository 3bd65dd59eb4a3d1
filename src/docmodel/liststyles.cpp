#include "docmodel/liststyles.h"

bool TListInfo::sameLook(const TListInfo& other) const {
    return ListType == other.ListType && BulletText == other.BulletText &&
           StartFrom == other.StartFrom && IndentStep == other.IndentStep;
}

bool TListInfo::operator==(const TListInfo& other) const {
    return StyleName == other.StyleName && sameLook(other);
}
