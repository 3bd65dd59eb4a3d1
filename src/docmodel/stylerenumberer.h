#pragma once

#include <QList>
#include <QSet>
#include <functional>

class EdDocument;

/// Deletes the styles that nothing in a document uses and renumbers every
/// reference to the styles that stay. `beforeFirstChange` runs once, just
/// before the first change, and not at all when every style is in use.
class StyleRenumberer {
public:
    StyleRenumberer(EdDocument& document, std::function<void()> beforeFirstChange)
        : m_document(document)
        , m_beforeFirstChange(std::move(beforeFirstChange)) {}

    void removeUnusedTextStyles();
    void removeUnusedParaStyles();
    void removeUnusedListStyles();

private:
    /// The new index of every style, -1 for the unused; empty when all are
    /// used and nothing is to change.
    QList<int> renumbering(int count, const QSet<int>& used);

    EdDocument& m_document;
    std::function<void()> m_beforeFirstChange;
};
