#pragma once

#include <QString>
#include <QStringList>

class QUrl;

/// Applying a regenerated page to the page a browser shows, in place.
///
/// When only layout values change, the regenerated page differs from the
/// shown one only in its lines before the document: the style sheet and the
/// opening tags of the decoration. The browser's own parser reads those lines
/// of both pages; the shown page's nodes must match the first, and take the
/// text and attributes of the second. The document's part, however large, is
/// neither sent nor parsed again.
namespace decorationupdate {

/// The lines of `next` before its document when they are all it changes
/// compared to `shown` (same line count, same first line, same lines from
/// `documentLine` on); an empty list otherwise. The first line opens the body,
/// which the preview styles itself, so it has to stay as it is.
QStringList changedStart(const QStringList& shown, const QStringList& next, qsizetype documentLine);

/// A script for the program's own world of the page at `page` that turns the
/// nodes made from `shownStart` into those made from `nextStart` and scrolls
/// to the top, as a fresh load would show it. It answers true when done and
/// false, changing nothing, when the browser holds another page or nodes that
/// do not match `shownStart`, or when `nextStart` would make other nodes.
QString script(const QUrl& page, const QStringList& shownStart, const QStringList& nextStart);

} // namespace decorationupdate
