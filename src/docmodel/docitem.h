#pragma once

#include "docmodel/textstyles.h"

#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>

class QTextTable;

/// One item of a container, as the rest of the program addresses it: a text
/// run, a picture, a table, a horizontal line, a page break or a named
/// anchor. Items are read from the underlying text on demand.
struct DocItem {
    enum Kind { Text, Picture, Table, HLine, PageBreak, Anchor };

    Kind kind = Text;
    /// The first item of a paragraph (a table is a paragraph of its own).
    bool startsParagraph = false;
    /// Document position of the item's first character and its length.
    int position = 0;
    int length = 0;
    /// The paragraph the item is in; invalid for a table.
    QTextBlock block;
    QTextTable* table = nullptr;
    /// Format of a text run, picture or anchor.
    QTextCharFormat format;
    /// A text run's text.
    QString text;

    int styleNo() const;
    QString tag() const;
    /// A text run in a hyperlink style, or a picture that is a link.
    bool isLink(const TTextStyleInfos& styles) const;
    /// Identity for comparison: kind and place.
    bool sameItem(const DocItem& other) const {
        return kind == other.kind && position == other.position && length == other.length;
    }
};
