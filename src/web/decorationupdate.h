#pragma once

#include <QString>
#include <QStringList>

class QUrl;

/// Applying a regenerated page to the page a browser shows, in place.
///
/// When only layout values change, the regenerated page differs from the
/// shown one only in the lines around the document: the style sheet and the
/// opening tags of the decoration before it, the tags that close them and
/// the default-layout note after it. The browser's own parser reads those
/// lines of both pages (their outlines); the shown page's nodes must match
/// the first, and take the text and attributes of the second. The document's
/// part, however large, is neither sent nor parsed again.
namespace decorationupdate {

/// True when `next` differs from `shown` at most outside the document's line
/// `documentLine` (both pages have it there, the same): the first line opens
/// the body, which the preview styles itself, so it has to stay as it is.
bool onlyDecorationChanged(const QStringList& shown, const QStringList& next,
                           qsizetype documentLine);

/// The page's text with a marker in place of the document's line, which is
/// all an update needs to parse.
QString outline(const QStringList& lines, qsizetype documentLine);

/// A script for the program's own world of the page at `page` that turns the
/// nodes made from the outline `shown` into those made from the outline
/// `next` and scrolls to the top, as a fresh load would show it. Nodes before
/// the document and those closing it take the new text and attributes; the
/// body's nodes after the part holding the document (the default-layout
/// note) are replaced. It answers true when done and false, changing nothing,
/// when the browser holds another page or nodes that do not match `shown`,
/// or when `next` would make other nodes around the document.
QString script(const QUrl& page, const QString& shown, const QString& next);

} // namespace decorationupdate
