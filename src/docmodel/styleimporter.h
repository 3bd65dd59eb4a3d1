#pragma once

class EdDocument;
class TDocStyle;

/// Brings the styles of a document into another style sheet: each style is
/// found there (by its look) or appended, and the document's items are
/// renumbered to refer to that sheet. Used when native content is pasted.
class StyleImporter {
public:
    static void renumberInto(EdDocument& source, TDocStyle& target);
};
