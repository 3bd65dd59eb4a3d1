#pragma once

#include <QByteArray>
#include <functional>

class EdDocument;

/// The last export of a document, kept while the document does not change:
/// a page made again for another reason (a layout change) takes the kept
/// bytes instead of exporting the whole document once more.
class KeptExport {
public:
    using Export = std::function<QByteArray()>;

    /// The export of `document` as it is now: the kept one when the
    /// document has not changed since it was made and `reusable` is true;
    /// otherwise `exportNow`'s, kept for later only when `reusable`. An
    /// export that throws keeps nothing.
    QByteArray get(const EdDocument& document, bool reusable, const Export& exportNow);

    /// Forgets the kept export.
    void clear();

private:
    const EdDocument* m_document = nullptr;
    quint64 m_revision = 0;
    QByteArray m_bytes;
};
