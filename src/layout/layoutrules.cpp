#include "layout/layoutrules.h"

#include "layout/layoutfile.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"

#include <optional>

namespace {

std::optional<int> parsedInteger(const QString& text) {
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return value;
}

int integerValue(const QString& text) {
    const std::optional<int> value = parsedInteger(text);
    if (!value)
        throw AppError(uilanguage::text("MESSAGES", "notAnInteger",
                                        QStringLiteral("'%1' is not a valid integer value"))
                           .arg(text));
    return *value;
}

bool isZeroOrEmpty(const QString& text) {
    return text.isEmpty() || text == QLatin1String("0");
}

} // namespace

Layout normalised(Layout l) {
    l.AdWidthValue = l.AdWidthValue.isEmpty() ? QStringLiteral("700")
                                              : QString::number(integerValue(l.AdWidthValue));
    for (QString* number :
         {&l.OBWidth, &l.FWidth, &l.FBWidth, &l.TxtPadLeft, &l.TxtPadTop, &l.TxtPadRight}) {
        if (!number->isEmpty())
            *number = QString::number(integerValue(*number));
    }
    if (l.OBWidth.isEmpty() || integerValue(l.OBWidth) < 1)
        l.OBWidth = QStringLiteral("0");
    if (isZeroOrEmpty(l.FBWidth))
        l.FBWidth = QStringLiteral("0");
    return l;
}

bool isLayoutNumber(const QString& text) {
    return text.isEmpty() || parsedInteger(text).has_value();
}

Layout withCapturableNumbers(Layout l) {
    const Layout defaults = Layout::withDefaults();
    for (QString Layout::*number :
         {&Layout::AdWidthValue, &Layout::OBWidth, &Layout::FWidth, &Layout::FBWidth,
          &Layout::TxtPadLeft, &Layout::TxtPadTop, &Layout::TxtPadRight}) {
        if (!isLayoutNumber(l.*number))
            l.*number = defaults.*number;
    }
    return l;
}

Result<LayoutFileContent> loadedLayoutFile(const QString& fileName) {
    Result<LayoutFileContent> content = layoutfile::read(fileName);
    if (content)
        content.value().layout = withCapturableNumbers(content->layout);
    return content;
}

Layout shownLayout(const LayoutFileContent& content) {
    Layout l = content.layout;
    if (l.AdWidthType != QLatin1String("1"))
        l.AdWidthType = QStringLiteral("0");
    if (content.TxtAllMargins) {
        l.TxtPadLeft = l.TxtPadRight;
        l.TxtPadTop = l.TxtPadRight;
    }
    return l;
}

LayoutEnabling enabledControls(const Layout& l) {
    LayoutEnabling e;
    e.outerBorder = l.OBWidth.toInt() >= 1;
    e.frame = !isZeroOrEmpty(l.FWidth);
    e.frameRepeat = e.frame && !l.FImgHide;
    e.innerBorder = !isZeroOrEmpty(l.FBWidth);
    e.textRepeat = !l.TxtImgHide;
    return e;
}
