#pragma once

#include "docmodel/styleinfolist.h"

#include <QColor>
#include <QList>
#include <QString>

/// One entry of the paragraph style list; paragraphs refer to it by index.
struct TParaStyleInfo {
    enum TAlignment { edaLeft, edaRight, edaCenter, edaJustify };
    /// The direction the paragraph reads in; by default the text decides.
    enum TBiDiMode { bdDefault, bdLeftToRight, bdRightToLeft };
    struct Tab {
        int Position = 0; // pixels from the left indent
        bool operator==(const Tab& other) const { return Position == other.Position; }
    };

    QString StyleName = QStringLiteral("Paragraph Style");
    TAlignment Alignment = edaLeft;
    QList<Tab> Tabs;
    int LeftIndent = 0; // pixels
    int RightIndent = 0;
    int FirstIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    int LineSpacing = 100; // percent
    QColor Background;     // invalid: none
    TBiDiMode BiDiMode = bdDefault;
    int BorderWidth = 0; // pixels of a frame around the paragraph; 0: none
    QColor BorderColor;  // invalid: black

    bool sameLook(const TParaStyleInfo& other) const;
    bool operator==(const TParaStyleInfo& other) const;
};

/// The paragraph style list (`ParaStyles`).
using TParaStyleInfos = StyleInfoList<TParaStyleInfo>;
