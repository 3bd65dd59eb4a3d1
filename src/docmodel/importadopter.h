#pragma once

#include "docmodel/eddocument.h"

#include <climits>

/// Turns content that came from outside (HTML import, paste) into items of
/// our own: every run gets a text style from the style sheet (appended when
/// new), links get their tags, paragraphs and lists get their styles,
/// pictures get their bytes, and named anchors become anchor items.
class ImportAdopter {
public:
    ImportAdopter(EdDocument& document, const EdDocument::ReadHyperlinkHandler& readHyperlink,
                  const EdDocument::PictureResolver& resolvePicture);

    void adopt(int from, int to);

    /// Replaces every table starting between the two positions that lies
    /// deeper than `maxDepth` in other tables, or has more rows or columns
    /// than the document file keeps, by the content of its cells; returns
    /// how many were.
    static int flattenTablesBeyond(QTextDocument* text, int maxDepth, int from = 0,
                                   int to = INT_MAX);
    /// How many tables hold the cursor's place.
    static int tableDepth(const QTextCursor& cursor);

private:
    void removeStrayCharacters(int from, int to);
    void adoptBlocks(int from, int to);
    void adoptLists(int from, int to);
    void adoptRuns(int from, int to);
    QTextCharFormat adoptedRun(const QTextCharFormat& format);
    QTextCharFormat adoptedPicture(const QTextImageFormat& format);
    int linkStyleFor(const TTextStyleInfo& look);

    EdDocument& m_document;
    EdDocument::ReadHyperlinkHandler m_readHyperlink;
    EdDocument::PictureResolver m_resolvePicture;
};
