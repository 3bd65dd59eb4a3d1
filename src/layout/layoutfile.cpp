#include "layout/layoutfile.h"

#include "platform/apperror.h"
#include "platform/inifile.h"

namespace {

/// One key of the file. A key holds a text field, a flag field, or (with
/// neither) the "Equal Margins" state. `readAs` is the spelling the reader
/// asks for; it differs from the written one only in letter case.
struct LayoutKey {
    const char* section;
    const char* key;
    const char* readAs;
    QString Layout::*text;
    bool Layout::*flag;
    bool isRead;
};

constexpr LayoutKey text(const char* section, const char* key, QString Layout::*field,
                         const char* readAs = nullptr) {
    return {section, key, readAs ? readAs : key, field, nullptr, true};
}

constexpr LayoutKey flag(const char* section, const char* key, bool Layout::*field,
                         const char* readAs = nullptr) {
    return {section, key, readAs ? readAs : key, nullptr, field, true};
}

// The order in which they are written.
constexpr LayoutKey layoutKeys[] = {
    text("POS", "AdWidthValue", &Layout::AdWidthValue),
    text("POS", "AdWidthType", &Layout::AdWidthType),
    text("POS", "AdBackCol", &Layout::AdBackCol),
    flag("POS", "AdCenter", &Layout::AdCenter),
    flag("POS", "AdHideCol", &Layout::AdHideCol),
    text("POS", "AdImg", &Layout::AdImg),
    flag("POS", "AdImgHide", &Layout::AdImgHide),
    text("OUTER", "OBWidth", &Layout::OBWidth),
    text("OUTER", "OBColor", &Layout::OBColor),
    text("OUTER", "OBType", &Layout::OBType),
    text("FRAME", "FBgCol", &Layout::FBgCol),
    // A second copy of the frame's transparency: written, never read.
    {"FRAME", "FHideCol", "FHideCol", nullptr, &Layout::FBgHideCol, false},
    flag("FRAME", "FBgHideCol", &Layout::FBgHideCol),
    text("FRAME", "FWidth", &Layout::FWidth),
    text("FRAME", "FBWidth", &Layout::FBWidth),
    text("FRAME", "FBType", &Layout::FBType),
    text("FRAME", "FBcol", &Layout::FBCol, "FBCol"),
    text("FRAME", "FBgImg", &Layout::FBgImg),
    flag("FRAME", "FImgRepX", &Layout::FImgRepX),
    flag("FRAME", "FImgRepY", &Layout::FImgRepY),
    flag("FRAME", "FImgHide", &Layout::FImgHide),
    {"TEXT", "TxtAllMargins", "TxtAllMargins", nullptr, nullptr, true},
    text("TEXT", "TxtPadLeft", &Layout::TxtPadLeft),
    text("TEXT", "TxtPadRight", &Layout::TxtPadRight),
    text("TEXT", "TxtPadTop", &Layout::TxtPadTop),
    text("TEXT", "TxtBgCol", &Layout::TxtBgCol),
    text("TEXT", "TxtBgImg", &Layout::TxtBgImg),
    text("TEXT", "TxtCol", &Layout::TxtCol),
    flag("TEXT", "TxtHideCol", &Layout::TxtHideCol),
    flag("TEXT", "TxTImgHide", &Layout::TxtImgHide, "TxtImgHide"),
    flag("TEXT", "TxtRepeatX", &Layout::TxtRepeatX),
    flag("TEXT", "TxtRepeatY", &Layout::TxtRepeatY),
};

LayoutFileContent readKeys(const IniFile::Snapshot& file) {
    LayoutFileContent content; // starts with every default
    Layout& layout = content.layout;
    for (const LayoutKey& k : layoutKeys) {
        if (!k.isRead)
            continue;
        const QString section = QLatin1String(k.section);
        const QString key = QLatin1String(k.readAs);
        if (k.text)
            layout.*k.text = file.readString(section, key, layout.*k.text);
        else if (k.flag)
            layout.*k.flag = file.readBool(section, key, layout.*k.flag);
        else
            content.TxtAllMargins = file.readBool(section, key, content.TxtAllMargins);
    }
    return content;
}

void writeKeys(IniFile::Edit& edit, const LayoutFileContent& content) {
    const Layout& layout = content.layout;
    for (const LayoutKey& k : layoutKeys) {
        const QString section = QLatin1String(k.section);
        const QString key = QLatin1String(k.key);
        if (k.text)
            edit.writeString(section, key, layout.*k.text);
        else
            edit.writeBool(section, key, k.flag ? layout.*k.flag : content.TxtAllMargins);
    }
}

} // namespace

namespace layoutfile {

Result<LayoutFileContent> read(const QString& fileName) {
    try {
        return readKeys(IniFile(fileName).snapshot());
    } catch (const AppError& error) {
        return fail(error.message());
    }
}

Status write(const QString& fileName, const LayoutFileContent& content) {
    try {
        IniFile file(fileName);
        IniFile::Edit edit = file.edit();
        writeKeys(edit, content);
        edit.commit();
    } catch (const AppError& error) {
        return fail(error.message());
    }
    return {};
}

QStringList writtenKeys() {
    QStringList keys;
    for (const LayoutKey& k : layoutKeys)
        keys.append(QLatin1String(k.section) + QLatin1Char('/') + QLatin1String(k.key));
    return keys;
}

} // namespace layoutfile
