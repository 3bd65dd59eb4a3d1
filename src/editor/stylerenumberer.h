#pragma once

class EdDocument;

/// Deletes the styles that nothing in a document uses and renumbers every
/// reference to the styles that stay.
class StyleRenumberer {
public:
    explicit StyleRenumberer(EdDocument& document)
        : m_document(document) {}

    void removeUnusedTextStyles();
    void removeUnusedParaStyles();
    void removeUnusedListStyles();

private:
    EdDocument& m_document;
};
