#pragma once

#include "editor/eddocument.h"

/// Turns content that came from outside (HTML import, paste) into items of
/// our own: every run gets a text style from the style sheet (appended when
/// new), links get their tags, paragraphs and lists get their styles,
/// pictures get their bytes, and named anchors become anchor items.
class ImportAdopter {
public:
    ImportAdopter(EdDocument& document, const EdDocument::ReadHyperlinkHandler& readHyperlink,
                  const EdDocument::PictureResolver& resolvePicture);

    void adopt(int from, int to);

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
