#include "docmodel/keptexport.h"

#include "docmodel/eddocument.h"

QByteArray KeptExport::get(const EdDocument& document, bool reusable, const Export& exportNow) {
    if (reusable && m_document == &document && m_revision == document.revision())
        return m_bytes;
    clear();
    QByteArray bytes = exportNow();
    if (reusable) {
        m_document = &document;
        m_revision = document.revision();
        m_bytes = bytes;
    }
    return bytes;
}

void KeptExport::clear() {
    m_document = nullptr;
    m_revision = 0;
    m_bytes.clear();
}
