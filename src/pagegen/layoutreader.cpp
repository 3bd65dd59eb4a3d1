#include "pagegen/layoutreader.h"

#include "platform/inifile.h"

namespace {

struct TextKey {
    const char* section;
    const char* key;
    QString Layout::*field;
};

struct FlagKey {
    const char* section;
    const char* key;
    bool Layout::*field;
};

const TextKey textKeys[] = {
    {"POS", "AdWidthValue", &Layout::AdWidthValue},
    {"POS", "AdWidthType", &Layout::AdWidthType},
    {"POS", "AdBackCol", &Layout::AdBackCol},
    {"POS", "AdImg", &Layout::AdImg},
    {"OUTER", "OBWidth", &Layout::OBWidth},
    {"OUTER", "OBColor", &Layout::OBColor},
    {"OUTER", "OBType", &Layout::OBType},
    {"FRAME", "FBgCol", &Layout::FBgCol},
    {"FRAME", "FWidth", &Layout::FWidth},
    {"FRAME", "FBWidth", &Layout::FBWidth},
    {"FRAME", "FBType", &Layout::FBType},
    {"FRAME", "FBCol", &Layout::FBCol},
    {"FRAME", "FBgImg", &Layout::FBgImg},
    {"TEXT", "TxtPadLeft", &Layout::TxtPadLeft},
    {"TEXT", "TxtPadRight", &Layout::TxtPadRight},
    {"TEXT", "TxtPadTop", &Layout::TxtPadTop},
    {"TEXT", "TxtBgCol", &Layout::TxtBgCol},
    {"TEXT", "TxtBgImg", &Layout::TxtBgImg},
    {"TEXT", "TxtCol", &Layout::TxtCol},
};

const FlagKey flagKeys[] = {
    {"POS", "AdCenter", &Layout::AdCenter},      {"POS", "AdHideCol", &Layout::AdHideCol},
    {"POS", "AdImgHide", &Layout::AdImgHide},    {"FRAME", "FBgHideCol", &Layout::FBgHideCol},
    {"FRAME", "FImgRepX", &Layout::FImgRepX},    {"FRAME", "FImgRepY", &Layout::FImgRepY},
    {"FRAME", "FImgHide", &Layout::FImgHide},    {"TEXT", "TxtHideCol", &Layout::TxtHideCol},
    {"TEXT", "TxtImgHide", &Layout::TxtImgHide}, {"TEXT", "TxtRepeatX", &Layout::TxtRepeatX},
    {"TEXT", "TxtRepeatY", &Layout::TxtRepeatY},
};

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

LayoutFileValues readLayoutValues(const QString& fileName) {
    const IniFile file(fileName);
    LayoutFileValues values;
    Layout& l = values.layout;
    for (const TextKey& k : textKeys)
        l.*k.field = file.readString(latin1(k.section), latin1(k.key), l.*k.field);
    for (const FlagKey& k : flagKeys)
        l.*k.field = file.readBool(latin1(k.section), latin1(k.key), l.*k.field);
    values.TxtAllMargins = file.readBool(QStringLiteral("TEXT"), QStringLiteral("TxtAllMargins"),
                                         values.TxtAllMargins);
    return values;
}
