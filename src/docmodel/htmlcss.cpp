#include "docmodel/htmlcss.h"

#include "docmodel/htmlescape.h"

namespace htmlcss {

namespace {

QString roman(int number) {
    static const std::pair<int, const char*> digits[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString result;
    for (const auto& [value, text] : digits) {
        for (; number >= value; number -= value)
            result += QLatin1String(text);
    }
    return result;
}

QString alphabetic(int number) {
    QString result;
    for (; number > 0; number = (number - 1) / 26)
        result.prepend(QChar(u'A' + (number - 1) % 26));
    return result;
}

bool containsAny(QStringView name, std::initializer_list<const char*> words) {
    for (const char* word : words) {
        if (name.contains(QLatin1String(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

QString genericFamily(QStringView fontName) {
    if (containsAny(fontName, {"mono", "courier", "console", "consolas", "typewriter", "fixedsys",
                               "terminal", "code"}))
        return QStringLiteral("monospace");
    if (containsAny(fontName, {"sans", "gothic", "grotesk"}))
        return QStringLiteral("sans-serif");
    if (containsAny(fontName,
                    {"serif",    "times",    "roman",     "georgia", "garamond",   "palatino",
                     "antiqua",  "bookman",  "century",   "cambria", "constantia", "baskerville",
                     "bodoni",   "didot",    "caslon",    "charter", "goudy",      "minion",
                     "perpetua", "rockwell", "schoolbook"}))
        return QStringLiteral("serif");
    return QStringLiteral("sans-serif");
}

QString color(const QColor& value) {
    return QStringLiteral("#%1%2%3")
        .arg(value.red(), 2, 16, QLatin1Char('0'))
        .arg(value.green(), 2, 16, QLatin1Char('0'))
        .arg(value.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString text(const TTextStyleInfo& style) {
    // The generic family stands in where the named font is missing, in the
    // style the seller chose rather than the browser's default serif.
    const QString family = htmlescape::fontFamily(style.FontName);
    QString css = QStringLiteral("font-family: ");
    if (!family.isEmpty())
        css += u'\'' + family + QStringLiteral("', ");
    css += genericFamily(family) + QStringLiteral("; font-size: %1pt;").arg(style.Size);
    if (style.hasStyle(TTextStyleInfo::fsBold))
        css += QStringLiteral(" font-weight: bold;");
    if (style.hasStyle(TTextStyleInfo::fsItalic))
        css += QStringLiteral(" font-style: italic;");
    QStringList decorations;
    if (style.hasStyle(TTextStyleInfo::fsUnderline))
        decorations << QStringLiteral("underline");
    if (style.hasStyle(TTextStyleInfo::fsStrikeOut))
        decorations << QStringLiteral("line-through");
    if (style.Overline)
        decorations << QStringLiteral("overline");
    if (!decorations.isEmpty())
        css += QStringLiteral(" text-decoration: ") + decorations.join(QLatin1Char(' ')) +
               QLatin1Char(';');
    if (style.Color.isValid())
        css += QStringLiteral(" color: ") + color(style.Color) + QLatin1Char(';');
    if (style.BackColor.isValid())
        css += QStringLiteral(" background-color: ") + color(style.BackColor) + QLatin1Char(';');
    if (style.AllCaps)
        css += QStringLiteral(" text-transform: uppercase;");
    if (style.VAlign == TTextStyleInfo::vsSuperscript)
        css += QStringLiteral(" vertical-align: super;");
    else if (style.VAlign == TTextStyleInfo::vsSubscript)
        css += QStringLiteral(" vertical-align: sub;");
    return css;
}

QString paragraph(const TParaStyleInfo& style, int extraLeft, int hanging) {
    static const char* alignments[] = {"left", "right", "center", "justify"};
    QString css = QStringLiteral("margin: %1px %2px %3px %4px; text-align: %5;")
                      .arg(style.SpaceBefore)
                      .arg(style.RightIndent)
                      .arg(style.SpaceAfter)
                      .arg(style.LeftIndent + extraLeft)
                      .arg(QLatin1String(alignments[style.Alignment]));
    if (style.FirstIndent - hanging != 0)
        css += QStringLiteral(" text-indent: %1px;").arg(style.FirstIndent - hanging);
    if (style.LineSpacing != 100)
        css += QStringLiteral(" line-height: %1%;").arg(style.LineSpacing);
    if (style.Background.isValid())
        css += QStringLiteral(" background-color: ") + color(style.Background) + QLatin1Char(';');
    if (style.BorderWidth > 0)
        css += QStringLiteral(" border: %1px solid ").arg(style.BorderWidth) +
               color(style.BorderColor.isValid() ? style.BorderColor : QColor(Qt::black)) +
               QLatin1Char(';');
    if (style.BiDiMode == TParaStyleInfo::bdRightToLeft)
        css += QStringLiteral(" direction: rtl;");
    else if (style.BiDiMode == TParaStyleInfo::bdLeftToRight)
        css += QStringLiteral(" direction: ltr;");
    return css;
}

QString listMarkerBox(int width) {
    // Its own text starts at its left edge: the paragraph's shift of the
    // first line is not the marker's.
    return QStringLiteral("display: inline-block; min-width: %1px; text-indent: 0; "
                          "text-align: right;")
        .arg(width);
}

QString listMarker(const TListInfo& list, int itemNumber) {
    const int number = list.StartFrom + itemNumber;
    switch (list.ListType) {
    case TListInfo::lstBullet:
        return list.BulletText;
    case TListInfo::lstDecimal:
        return QString::number(number) + QLatin1Char('.');
    case TListInfo::lstLowerAlpha:
        return alphabetic(number).toLower() + QLatin1Char('.');
    case TListInfo::lstUpperAlpha:
        return alphabetic(number) + QLatin1Char('.');
    case TListInfo::lstLowerRoman:
        return roman(number).toLower() + QLatin1Char('.');
    case TListInfo::lstUpperRoman:
        return roman(number) + QLatin1Char('.');
    }
    return QString();
}

} // namespace htmlcss
