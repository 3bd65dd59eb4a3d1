#pragma once

#include "docmodel/liststyles.h"
#include "docmodel/parastyles.h"
#include "docmodel/textstyles.h"

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
/// `extraLeft` pixels are added to the left margin (list indentation); the
/// first line starts `hanging` pixels further left, where a list item's
/// marker stands, so that the lines after it start under its text.
QString paragraph(const TParaStyleInfo& style, int extraLeft = 0, int hanging = 0);
/// The style of the box holding a list item's marker: `width` pixels wide at
/// least, the marker at its end, next to the item's text.
QString listMarkerBox(int width);
/// The marker of the list item with that number (counted from 0).
QString listMarker(const TListInfo& list, int itemNumber);

} // namespace htmlcss
