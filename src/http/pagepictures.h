#pragma once

#include <QString>
#include <QStringList>

/// Every picture address a listing page refers to, in the order of first
/// appearance, each once: `src` of `img` elements, `background` attributes
/// and CSS `url()` (in style sheets and style attributes). Character
/// references in attributes are decoded; embedded `data:` pictures are left
/// out, as they need no server.
QStringList pagePictureAddresses(const QString& html);
