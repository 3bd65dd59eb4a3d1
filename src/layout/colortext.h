#pragma once

#include <QColor>
#include <QString>

/// Colour text as layouts store it and pages use it: "#" and two hexadecimal
/// digits each for red, green and blue.

/// "#RRGGBB" with upper-case digits. The invalid colour stands for the colour
/// pickers' automatic entry ("no colour") and gives "#FFFFFF".
QString ColorToHtml(const QColor& color);

/// Reads "#rrggbb" in either letter case. Any other text gives the invalid
/// colour, which the colour pickers show as their automatic entry, so a
/// damaged layout file still loads.
QColor HtmlToColor(const QString& text);
