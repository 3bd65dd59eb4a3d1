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
/// The CSS generic family of a font's style, from its name: "serif",
/// "monospace" or, for all others, "sans-serif".
QString genericFamily(QStringView fontName);
/// Font names are followed by their generic family ("'Verdana', sans-serif").
QString text(const TTextStyleInfo& style);
/// `extraLeft` pixels are added to the left margin (list indentation).
QString paragraph(const TParaStyleInfo& style, int extraLeft = 0);
/// The marker of the list item with that number (counted from 0).
QString listMarker(const TListInfo& list, int itemNumber);

} // namespace htmlcss
