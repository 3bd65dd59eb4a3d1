#include "docmodel/docitem.h"

#include "docmodel/docproperties.h"
#include "docmodel/textstyles.h"

int DocItem::styleNo() const {
    return format.intProperty(docprop::StyleNo);
}

QString DocItem::tag() const {
    return format.stringProperty(docprop::Tag);
}

bool DocItem::isLink(const TTextStyleInfos& styles) const {
    if (kind == Picture)
        return format.boolProperty(docprop::PictureJump);
    return kind == Text && styles.at(styleNo()).Jump;
}
