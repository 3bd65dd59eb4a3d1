#include "docmodel/docstyle.h"

#include "docmodel/docproperties.h"
#include "docmodel/vdocformat.h"

#include <QPainter>

namespace {

QImage makeInvalidPicture() {
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawRect(1, 1, 22, 22);
    painter.drawLine(5, 5, 19, 19);
    painter.drawLine(19, 5, 5, 19);
    return image;
}

TTextStyleInfo textStyle(const char* name, int style, const QColor& color, bool jump) {
    TTextStyleInfo info;
    info.StyleName = QString::fromLatin1(name);
    info.Style = style;
    info.Color = color;
    info.Jump = jump;
    return info;
}

Qt::Alignment qtAlignment(TParaStyleInfo::TAlignment alignment) {
    switch (alignment) {
    case TParaStyleInfo::edaRight:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case TParaStyleInfo::edaCenter:
        return Qt::AlignHCenter;
    case TParaStyleInfo::edaJustify:
        return Qt::AlignJustify;
    case TParaStyleInfo::edaLeft:
        break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

TParaStyleInfo::TAlignment alignmentOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight)
        return TParaStyleInfo::edaRight;
    if (alignment & Qt::AlignHCenter)
        return TParaStyleInfo::edaCenter;
    if (alignment & Qt::AlignJustify)
        return TParaStyleInfo::edaJustify;
    return TParaStyleInfo::edaLeft;
}

QTextListFormat::Style qtListStyle(TListInfo::TListType type) {
    switch (type) {
    case TListInfo::lstDecimal:
        return QTextListFormat::ListDecimal;
    case TListInfo::lstLowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case TListInfo::lstUpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case TListInfo::lstLowerRoman:
        return QTextListFormat::ListLowerRoman;
    case TListInfo::lstUpperRoman:
        return QTextListFormat::ListUpperRoman;
    case TListInfo::lstBullet:
        break;
    }
    return QTextListFormat::ListDisc;
}

/// A measure rounded to whole units, far outside every limit at most, so
/// that rounding cannot overflow before the limits apply.
int rounded(qreal value) {
    return qRound(qBound(qreal(-1e9), value, qreal(1e9)));
}

} // namespace

TDocStyle::TDocStyle()
    : InvalidPicture(makeInvalidPicture()) {}

TDocStyle TDocStyle::designed() {
    TDocStyle style;
    style.TextStyles.add(textStyle("Normal text", 0, QColor(), false));
    style.TextStyles.add(textStyle("Heading", TTextStyleInfo::fsBold, QColor(0, 0, 255), false));
    style.TextStyles.add(textStyle("Subheading", TTextStyleInfo::fsBold, QColor(0, 0, 128), false));
    style.TextStyles.add(textStyle("Keywords", TTextStyleInfo::fsItalic, QColor(128, 0, 0), false));
    style.TextStyles.add(textStyle("Jump 1", TTextStyleInfo::fsUnderline, QColor(0, 128, 0), true));
    style.TextStyles.add(textStyle("Jump 2", TTextStyleInfo::fsUnderline, QColor(0, 128, 0), true));
    style.ParaStyles.add();
    TParaStyleInfo& centered = style.ParaStyles.add();
    centered.StyleName = QStringLiteral("Centered");
    centered.Alignment = TParaStyleInfo::edaCenter;
    return style;
}

QTextCharFormat TDocStyle::charFormat(int styleNo) const {
    const TTextStyleInfo& info = TextStyles.at(styleNo);
    QTextCharFormat format;
    format.setFontFamilies(QStringList{info.FontName});
    format.setFontPointSize(info.Size);
    format.setFontWeight(info.hasStyle(TTextStyleInfo::fsBold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(info.hasStyle(TTextStyleInfo::fsItalic));
    format.setFontUnderline(info.hasStyle(TTextStyleInfo::fsUnderline));
    format.setFontStrikeOut(info.hasStyle(TTextStyleInfo::fsStrikeOut));
    format.setFontOverline(info.Overline);
    format.setFontCapitalization(info.AllCaps ? QFont::AllUppercase : QFont::MixedCase);
    if (info.VAlign == TTextStyleInfo::vsSuperscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (info.VAlign == TTextStyleInfo::vsSubscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (info.Color.isValid())
        format.setForeground(info.Color);
    if (info.BackColor.isValid())
        format.setBackground(info.BackColor);
    format.setAnchor(info.Jump);
    format.setProperty(docprop::StyleNo, styleNo);
    return format;
}

QTextBlockFormat TDocStyle::blockFormat(int paraNo) const {
    const TParaStyleInfo& info = ParaStyles.at(paraNo);
    QTextBlockFormat format;
    format.setAlignment(qtAlignment(info.Alignment));
    format.setLeftMargin(info.LeftIndent);
    format.setRightMargin(info.RightIndent);
    format.setTextIndent(info.FirstIndent);
    format.setTopMargin(info.SpaceBefore);
    format.setBottomMargin(info.SpaceAfter);
    if (info.LineSpacing != 100)
        format.setLineHeight(info.LineSpacing, QTextBlockFormat::ProportionalHeight);
    if (info.Background.isValid())
        format.setBackground(info.Background);
    if (info.BiDiMode != TParaStyleInfo::bdDefault)
        format.setLayoutDirection(info.BiDiMode == TParaStyleInfo::bdRightToLeft ? Qt::RightToLeft
                                                                                 : Qt::LeftToRight);
    if (info.BorderWidth > 0) {
        // The border stands between the paragraph's margins and its text, as
        // on a page: the text moves in by the border's width.
        format.setLeftMargin(info.LeftIndent + info.BorderWidth);
        format.setRightMargin(info.RightIndent + info.BorderWidth);
        format.setTopMargin(info.SpaceBefore + info.BorderWidth);
        format.setBottomMargin(info.SpaceAfter + info.BorderWidth);
        format.setProperty(docprop::ParaBorderWidth, info.BorderWidth);
        format.setProperty(docprop::ParaBorderColor,
                           info.BorderColor.isValid() ? info.BorderColor : QColor(Qt::black));
    }
    QList<QTextOption::Tab> tabs;
    for (const TParaStyleInfo::Tab& tab : info.Tabs)
        tabs.append(QTextOption::Tab(tab.Position, QTextOption::LeftTab));
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    format.setProperty(docprop::ParaNo, paraNo);
    return format;
}

QTextListFormat TDocStyle::listFormat(int listNo, int level) const {
    QTextListFormat format;
    format.setStyle(qtListStyle(ListStyles.at(listNo).ListType));
    format.setIndent(level + 1);
    format.setProperty(docprop::ListNo, listNo);
    format.setProperty(docprop::ListLevel, level);
    return format;
}

TTextStyleInfo TDocStyle::textStyleOf(const QTextCharFormat& format, const TTextStyleInfo& base) {
    TTextStyleInfo info = base;
    info.Jump = format.isAnchor() && !format.anchorHref().isEmpty();
    info.NonLinkStyleNo = -1;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        info.FontName = families.first();
    if (format.fontPointSize() > 0)
        info.Size = rounded(format.fontPointSize());
    else if (format.hasProperty(QTextFormat::FontPixelSize))
        info.Size = qMax(1, rounded(format.intProperty(QTextFormat::FontPixelSize) * 0.75));
    else if (format.hasProperty(QTextFormat::FontSizeAdjustment)) {
        // Headings and <font size=n> scale the base size as HTML does.
        static const double factors[] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
        const int step = qBound(0, format.intProperty(QTextFormat::FontSizeAdjustment) + 2, 6);
        info.Size = qMax(1, rounded(base.Size * factors[step]));
    }
    int style = 0;
    if (format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                    : base.hasStyle(TTextStyleInfo::fsBold))
        style |= TTextStyleInfo::fsBold;
    if (format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic()
                                                    : base.hasStyle(TTextStyleInfo::fsItalic))
        style |= TTextStyleInfo::fsItalic;
    if (format.hasProperty(QTextFormat::TextUnderlineStyle)
            ? format.fontUnderline()
            : base.hasStyle(TTextStyleInfo::fsUnderline))
        style |= TTextStyleInfo::fsUnderline;
    if (format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                       : base.hasStyle(TTextStyleInfo::fsStrikeOut))
        style |= TTextStyleInfo::fsStrikeOut;
    info.Style = style;
    if (format.hasProperty(QTextFormat::FontOverline))
        info.Overline = format.fontOverline();
    if (format.hasProperty(QTextFormat::FontCapitalization))
        info.AllCaps = format.fontCapitalization() == QFont::AllUppercase;
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        info.VAlign = TTextStyleInfo::vsSuperscript;
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        info.VAlign = TTextStyleInfo::vsSubscript;
    if (format.foreground().style() != Qt::NoBrush)
        info.Color = format.foreground().color();
    if (format.background().style() != Qt::NoBrush)
        info.BackColor = format.background().color();
    limitToFile(info);
    return info;
}

TParaStyleInfo TDocStyle::paraStyleOf(const QTextBlockFormat& format) {
    TParaStyleInfo info;
    info.Alignment = alignmentOf(format.alignment());
    info.LeftIndent = rounded(format.leftMargin());
    info.RightIndent = rounded(format.rightMargin());
    info.FirstIndent = rounded(format.textIndent());
    info.SpaceBefore = rounded(format.topMargin());
    info.SpaceAfter = rounded(format.bottomMargin());
    if (format.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        info.LineSpacing = rounded(format.lineHeight());
    if (format.background().style() != Qt::NoBrush)
        info.Background = format.background().color();
    if (format.hasProperty(QTextFormat::LayoutDirection) &&
        format.layoutDirection() != Qt::LayoutDirectionAuto)
        info.BiDiMode = format.layoutDirection() == Qt::RightToLeft ? TParaStyleInfo::bdRightToLeft
                                                                    : TParaStyleInfo::bdLeftToRight;
    if (format.intProperty(docprop::ParaBorderWidth) > 0) {
        info.BorderWidth = format.intProperty(docprop::ParaBorderWidth);
        info.BorderColor = format.colorProperty(docprop::ParaBorderColor);
        // The margins hold the border's width besides the paragraph's own.
        info.LeftIndent = qMax(0, info.LeftIndent - info.BorderWidth);
        info.RightIndent = qMax(0, info.RightIndent - info.BorderWidth);
        info.SpaceBefore = qMax(0, info.SpaceBefore - info.BorderWidth);
        info.SpaceAfter = qMax(0, info.SpaceAfter - info.BorderWidth);
    }
    for (const QTextOption::Tab& tab : format.tabPositions())
        info.Tabs.append(TParaStyleInfo::Tab{rounded(tab.position)});
    limitToFile(info);
    return info;
}

TListInfo TDocStyle::listStyleOf(const QTextListFormat& format) {
    TListInfo info;
    switch (format.style()) {
    case QTextListFormat::ListDecimal:
        info.ListType = TListInfo::lstDecimal;
        break;
    case QTextListFormat::ListLowerAlpha:
        info.ListType = TListInfo::lstLowerAlpha;
        break;
    case QTextListFormat::ListUpperAlpha:
        info.ListType = TListInfo::lstUpperAlpha;
        break;
    case QTextListFormat::ListLowerRoman:
        info.ListType = TListInfo::lstLowerRoman;
        break;
    case QTextListFormat::ListUpperRoman:
        info.ListType = TListInfo::lstUpperRoman;
        break;
    default:
        info.ListType = TListInfo::lstBullet;
        info.BulletText = format.style() == QTextListFormat::ListCircle ? QStringLiteral("\u25E6")
                          : format.style() == QTextListFormat::ListSquare
                              ? QStringLiteral("\u25AA")
                              : QStringLiteral("\u2022");
        break;
    }
    info.StyleName = info.ListType == TListInfo::lstBullet ? QStringLiteral("Bullets")
                                                           : QStringLiteral("Numbering");
    limitToFile(info);
    return info;
}

void TDocStyle::limitToFile(TTextStyleInfo& style) {
    style.Size = qBound(1, style.Size, vdocformat::kMaxFontSize);
}

void TDocStyle::limitToFile(TParaStyleInfo& style) {
    using namespace vdocformat;
    for (TParaStyleInfo::Tab& tab : style.Tabs)
        tab.Position = qBound(0, tab.Position, kMaxMeasure);
    for (int* indent : {&style.LeftIndent, &style.RightIndent, &style.FirstIndent})
        *indent = qBound(-kMaxMeasure, *indent, kMaxMeasure);
    for (int* space : {&style.SpaceBefore, &style.SpaceAfter})
        *space = qBound(0, *space, kMaxMeasure);
    style.LineSpacing = qBound(kMinLineSpacing, style.LineSpacing, kMaxLineSpacing);
    style.BorderWidth = qBound(0, style.BorderWidth, kMaxBorder);
    // A colour without a border is no look of its own.
    if (style.BorderWidth == 0)
        style.BorderColor = QColor();
}

void TDocStyle::limitToFile(TListInfo& style) {
    using namespace vdocformat;
    style.StartFrom = qBound(0, style.StartFrom, kMaxMeasure);
    style.IndentStep = qBound(0, style.IndentStep, kMaxMeasure);
}

bool TDocStyle::operator==(const TDocStyle& other) const {
    return TextStyles == other.TextStyles && ParaStyles == other.ParaStyles &&
           ListStyles == other.ListStyles;
}
