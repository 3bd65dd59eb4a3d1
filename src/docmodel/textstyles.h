#pragma once

#include "docmodel/styleinfolist.h"

#include <QColor>
#include <QString>

/// One entry of the text style list: how a text run looks. Text runs refer to
/// it by index (`StyleNo`), so every look the editor shows is one entry here.
struct TTextStyleInfo {
    enum FontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
    enum VShift { vsNormal, vsSuperscript, vsSubscript };

    QString StyleName = QStringLiteral("Normal text");
    QString FontName = QStringLiteral("Arial");
    int Size = 10;    // points
    int Style = 0;    // FontStyle bits
    QColor Color;     // invalid: the default text colour
    QColor BackColor; // invalid: no background
    bool Overline = false;
    bool AllCaps = false;
    VShift VAlign = vsNormal;
    bool Jump = false;
    /// For a hyperlink style, the style it was made from; -1 when none.
    int NonLinkStyleNo = -1;

    bool hasStyle(FontStyle style) const { return (Style & style) != 0; }
    /// Same look and behaviour; the name and the remembered non-link style do
    /// not count, so formatting finds an existing entry whatever it is called.
    bool sameLook(const TTextStyleInfo& other) const;
    bool operator==(const TTextStyleInfo& other) const;
    bool operator!=(const TTextStyleInfo& other) const { return !(*this == other); }
};

/// The text style list (`TextStyles`).
using TTextStyleInfos = StyleInfoList<TTextStyleInfo>;
