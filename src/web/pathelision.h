#pragma once

#include <QString>

class QFontMetrics;

/// The path shortened to fit the width: the folders after the root or
/// drive are replaced, from the left, by one "...", until it fits
/// ("/home/.../images/My images"). What still does not fit is cut at the
/// left.
QString elidedPath(const QString& path, const QFontMetrics& metrics, int width);
