#pragma once

#include "docmodel/liststyles.h"
#include "docmodel/parastyles.h"
#include "docmodel/textstyles.h"

#include <QImage>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

/// The style sheet of a document (`DocStyle1`): text, paragraph and list
/// styles, and the picture drawn in place of one that cannot be read. It
/// turns style numbers into Qt formats and, for content that arrives from
/// outside (paste, HTML), Qt formats back into styles.
class TDocStyle {
public:
    TTextStyleInfos TextStyles;
    TParaStyleInfos ParaStyles;
    TListInfos ListStyles;
    QImage InvalidPicture;

    TDocStyle();
    /// The style sheet the editor starts with.
    static TDocStyle designed();

    QTextCharFormat charFormat(int styleNo) const;
    QTextBlockFormat blockFormat(int paraNo) const;
    QTextListFormat listFormat(int listNo, int level) const;

    /// The look of a Qt character format; what it does not state comes from
    /// `base`.
    static TTextStyleInfo textStyleOf(const QTextCharFormat& format, const TTextStyleInfo& base);
    static TParaStyleInfo paraStyleOf(const QTextBlockFormat& format);
    static TListInfo listStyleOf(const QTextListFormat& format);

    /// Brings every measure within what the document file holds, so a look
    /// that arrives from outside is saved and read back as it is shown.
    static void limitToFile(TTextStyleInfo& style);
    static void limitToFile(TParaStyleInfo& style);
    static void limitToFile(TListInfo& style);

    bool operator==(const TDocStyle& other) const;
};
