#pragma once

#include "editor/liststyles.h"
#include "editor/parastyles.h"
#include "editor/textstyles.h"

#include <QString>

/// The inline style attribute values of the exported HTML, escaped for use
/// inside double quotes.
namespace htmlcss {

/// "#RRGGBB" in upper case.
QString color(const QColor& color);
QString text(const TTextStyleInfo& style);
/// `extraLeft` pixels are added to the left margin (list indentation).
QString paragraph(const TParaStyleInfo& style, int extraLeft = 0);
/// The marker of the list item with that number (counted from 0).
QString listMarker(const TListInfo& list, int itemNumber);

} // namespace htmlcss
