#include "editor/edactiontable.h"

#include "docmodel/docproperties.h"
#include "editor/edactionlist.h"
#include "editor/edfilecommands.h"
#include "editor/edfind.h"
#include "editor/edobjects.h"
#include "editor/edparagraphs.h"
#include "editor/edprint.h"
#include "editor/edtables.h"
#include "editor/edtextformat.h"
#include "editor/tdoceditor.h"
#include <QClipboard>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QSpinBox>
#include <QTextList>
#include <QTextTable>

namespace {

using Kind = EdActionKind;
using Font = TTextStyleInfo;
using Para = TParaStyleInfo;

using namespace edfind;
using namespace edobjects;
using namespace edparagraphs;
using namespace edtables;
using namespace edtextformat;

// A row holds a plain function: each of these makes one from a handler that
// takes the row's style, alignment, side or size as a parameter.

template <Font::FontStyle style>
void toggleStyle(EdActionList& list) {
    toggleFontStyle(list, style);
}

template <Font::FontStyle style>
bool hasStyle(EdActionList& list) {
    return hasFontStyle(list, style);
}

template <Para::TAlignment alignment>
void alignTo(EdActionList& list) {
    align(list, alignment);
}

template <Para::TAlignment alignment>
bool isAligned(EdActionList& list) {
    return alignedTo(list, alignment);
}

template <Para::TBiDiMode mode>
void directParas(EdActionList& list) {
    paraDirection(list, mode);
}

template <Para::TBiDiMode mode>
bool areParasDirected(EdActionList& list) {
    return parasDirected(list, mode);
}

template <Para::TBiDiMode mode>
void directText(EdActionList& list) {
    textDirection(list, mode);
}

template <Para::TBiDiMode mode>
bool textDirectedTo(EdActionList& list) {
    return textDirected(list, mode);
}

template <int side>
void toggleBorder(EdActionList& list) {
    toggleCellBorder(list, side);
}

template <int side>
bool bordered(EdActionList& list) {
    return cellBordered(list, side);
}

template <int percent>
void spaceLines(EdActionList& list) {
    lineSpacing(list, percent);
}

template <int percent>
bool isSpaced(EdActionList& list) {
    return linesSpaced(list, percent);
}

template <QTextCharFormat::VerticalAlignment alignment>
void alignCell(EdActionList& list) {
    cellVAlign(list, alignment);
}

template <QTextCharFormat::VerticalAlignment alignment>
bool cellAligned(EdActionList& list) {
    return hasCellVAlign(list, alignment);
}

using VA = QTextCharFormat::VerticalAlignment;

constexpr unsigned W = NeedWritable;
constexpr unsigned T = NeedWritable | NeedTable;

} // namespace

const std::vector<EdActionRow>& edActionTable() {
    // One row per action, kept as a table: name, caption, keys, kind, then
    // handler, needs, checked, and why it is unavailable.
    static const std::vector<EdActionRow> rows = {
        // clang-format off
        // Doc File
        {"edActionNew1", "&New Document", {}, Kind::Plain,
         [](EdActionList& l) { l.files().New(); }},
        {"edActionOpen1", "&Open...", {"Ctrl+O"}, Kind::Plain,
         [](EdActionList& l) { l.files().Open(); }},
        {"edActionSave1", "&Save Document", {"Ctrl+S"}, Kind::Plain,
         [](EdActionList& l) { l.files().Save(); }},
        {"edActionSaveAs1", "Save Document as...", {"Ctrl+Shift+S"}, Kind::Plain,
         [](EdActionList& l) { l.files().SaveAs(); }},
        {"edActionExport1", "&Export...", {}, Kind::Plain,
         [](EdActionList& l) { l.files().exportDocument(); }},
        {"edActionPrintPreview1", "P&rint Preview...", {}, Kind::Plain,
         [](EdActionList& l) { l.print().preview(); }},
        {"edActionPrint1", "&Print...", {"Ctrl+P"}, Kind::Plain,
         [](EdActionList& l) { l.print().printWithDialog(); }},
        {"edActionQuickPrint1", "&Print", {}, Kind::Plain,
         [](EdActionList& l) { l.print().quickPrint(); }},
        {"edActionPageSetup1", "Pa&ge Setup...", {}, Kind::Plain,
         [](EdActionList& l) {
             l.print().pageSetup();
             l.editor().setPageTextWidth(l.print().textWidth());
         }},
        // Doc Edit
        {"edActionCut1", "Cu&t", {"Ctrl+X"}, Kind::Plain,
         [](EdActionList& l) { l.editor().cut(); }, W | NeedSelection},
        {"edActionCopy1", "&Copy", {"Ctrl+C"}, Kind::Plain,
         [](EdActionList& l) { l.editor().copy(); }, NeedSelection},
        {"edActionPaste1", "&Paste", {"Ctrl+V"}, Kind::Plain,
         [](EdActionList& l) { l.editor().paste(); }, W | NeedPaste},
        {"edActionPasteSpecial1", "Paste &Special...", {}, Kind::Plain,
         [](EdActionList& l) { l.editor().pasteSpecial(); }, W | NeedPaste},
        {"edActionSelectAll1", "Select &All", {"Ctrl+A"}, Kind::Plain,
         [](EdActionList& l) { l.editor().selectAll(); }},
        {"edActionUndo1", "&Undo", {"Ctrl+Z"}, Kind::Plain,
         [](EdActionList& l) { l.editor().undo(); }, W | NeedUndo},
        {"edActionRedo1", "&Redo", {"Ctrl+Y", "Ctrl+Shift+Z"}, Kind::Plain,
         [](EdActionList& l) { l.editor().redo(); }, W | NeedRedo},
        {"edActionFind1", "&Find...", {"Ctrl+F"}, Kind::Plain, find},
        {"edActionFindNext1", "Find &Next", {"F3"}, Kind::Plain, findAgain},
        {"edActionReplace1", "&Replace...", {"Ctrl+H"}, Kind::Plain, replace, W},
        {"edActionCharCase1", "Character Case", {"Shift+F3"}, Kind::Plain, characterCase, W},
        // Doc Text
        {"edActionFonts1", "&Font...", {}, Kind::Plain, fonts, W},
        {"edActionFontEx1", "&Font...", {}, Kind::FontEx, nullptr, W},
        {"edActionFontBold1", "&Bold", {"Ctrl+B"}, Kind::Checkable,
         toggleStyle<Font::fsBold>, W, hasStyle<Font::fsBold>},
        {"edActionFontItalic1", "&Italic", {"Ctrl+I"}, Kind::Checkable,
         toggleStyle<Font::fsItalic>, W, hasStyle<Font::fsItalic>},
        {"edActionFontUnderline1", "&Underline", {"Ctrl+U"}, Kind::Checkable,
         toggleStyle<Font::fsUnderline>, W, hasStyle<Font::fsUnderline>},
        {"edActionFontStrikeout1", "&Strike out", {}, Kind::Checkable,
         toggleStyle<Font::fsStrikeOut>, W, hasStyle<Font::fsStrikeOut>},
        {"edActionFontGrow1", "&Grow Font", {}, Kind::Plain,
         [](EdActionList& l) { stepFontSize(l, 1, false); }, W},
        {"edActionFontShrink1", "S&hrink Font", {}, Kind::Plain,
         [](EdActionList& l) { stepFontSize(l, -1, false); }, W},
        {"edActionFontGrowOnePoint1", "G&row Font By One Point", {}, Kind::Plain,
         [](EdActionList& l) { stepFontSize(l, 1, true); }, W},
        {"edActionFontShrinkOnePoint1", "Shri&nk Font By One Point", {}, Kind::Plain,
         [](EdActionList& l) { stepFontSize(l, -1, true); }, W},
        {"edActionFontAllCaps1", "&All Capitals", {}, Kind::Checkable,
         toggleAllCaps, W, [](EdActionList& l) { return caretStyle(l).AllCaps; }},
        {"edActionFontOverline1", "&Overline", {}, Kind::Checkable,
         toggleOverline, W, [](EdActionList& l) { return caretStyle(l).Overline; }},
        {"edActionFontColor1", "Text &Color...", {}, Kind::Plain,
         [](EdActionList& l) { fontColor(l, false); }, W},
        {"edActionFontBackColor1", "Text Bac&kground Color...", {}, Kind::Plain,
         [](EdActionList& l) { fontColor(l, true); }, W},
        // Doc Paragraph
        {"edActionParagraph1", "Paragrap&h...", {}, Kind::Plain, paragraph, W},
        {"edActionIndentInc1", "&Increase Indent", {}, Kind::Plain,
         [](EdActionList& l) { indent(l, 1); }, W},
        {"edActionIndentDec1", "&Decrease Indent", {}, Kind::Plain,
         [](EdActionList& l) { indent(l, -1); }, W},
        {"edActionWordWrap1", "&Word Wrap", {}, Kind::Checkable,
         wordWrap, NeedNothing, wrapsWords},
        {"edActionAlignLeft1", "Align &Left", {}, Kind::Checkable,
         alignTo<Para::edaLeft>, W, isAligned<Para::edaLeft>},
        {"edActionAlignRight1", "Align &Right", {}, Kind::Checkable,
         alignTo<Para::edaRight>, W, isAligned<Para::edaRight>},
        {"edActionAlignCenter", "Align &Center", {}, Kind::Checkable,
         alignTo<Para::edaCenter>, W, isAligned<Para::edaCenter>},
        {"edActionAlignJustify1", "&Justify", {}, Kind::Checkable,
         alignTo<Para::edaJustify>, W, isAligned<Para::edaJustify>},
        {"edActionParaColor1", "Paragraph Back&ground Color...", {}, Kind::Plain, paraColor, W},
        {"edActionLineSpacing1001", "&Single Line Spacing", {}, Kind::Checkable,
         spaceLines<100>, W, isSpaced<100>},
        {"edActionLineSpacing1501", "1.5 Li&ne Spacing", {}, Kind::Checkable,
         spaceLines<150>, W, isSpaced<150>},
        {"edActionLineSpacing2001", "D&ouble Line Spacing", {}, Kind::Checkable,
         spaceLines<200>, W, isSpaced<200>},
        {"edActionParaBorder1", "Paragraph Borders &and Background...", {}, Kind::Plain,
         paraBorder, W},
        // Doc List
        {"edActionParaList1", "&Bullets and Numbering...", {}, Kind::Plain, bulletsAndNumbering, W},
        {"edActionParaBullets1", "&Bullets", {}, Kind::Checkable,
         [](EdActionList& l) { toggleList(l, TListInfo::lstBullet); }, W, inBulletList},
        {"edActionParaNumbering1", "Nu&mbering", {}, Kind::Checkable,
         [](EdActionList& l) { toggleList(l, TListInfo::lstDecimal); }, W, inNumberedList},
        // Doc Table
        {"edActionInsertTable1", "&Insert Table...", {}, Kind::Plain, insertTable, W},
        {"edActionTableInsertRowsAbove1", "Insert Row &Above", {}, Kind::Plain,
         insertRowsAbove, T},
        {"edActionTableInsertRowsBelow1", "Insert Row &Below", {}, Kind::Plain,
         insertRowsBelow, T},
        {"edActionTableInsertColLeft1", "Insert Column &Left", {}, Kind::Plain,
         insertColumnsLeft, T},
        {"edActionTableInsertColRight1", "Insert Column &Right", {}, Kind::Plain,
         insertColumnsRight, T},
        {"edActionTableDeleteRows1", "Delete R&ows", {}, Kind::Plain,
         [](EdActionList& l) { tableEdit(l, &EdDocument::deleteTableRows); }, T},
        {"edActionTableDeleteCols1", "Delete &Columns", {}, Kind::Plain,
         [](EdActionList& l) { tableEdit(l, &EdDocument::deleteTableColumns); }, T},
        {"edActionTableDeleteTable1", "&Delete Table", {}, Kind::Plain,
         [](EdActionList& l) { tableEdit(l, &EdDocument::deleteTable); }, T},
        {"edActionTableMergeCells1", "&Merge Cells", {}, Kind::Plain, mergeCells, T | NeedCells},
        {"edActionTableSplitCells1", "&Split Cells...", {}, Kind::Plain,
         splitCells, T | NeedMerged},
        // Alt+Clear is what keypad 5 without Num Lock sends.
        {"edActionTableSelectTable1", "Select &Table", {"Alt+Clear"}, Kind::Plain,
         [](EdActionList& l) { selectInTable(l, Select::Table); }, NeedTable},
        {"edActionTableSelectRows1", "Select Ro&ws", {}, Kind::Plain,
         [](EdActionList& l) { selectInTable(l, Select::Rows); }, NeedTable},
        {"edActionTableSelectCols1", "Select Col&umns", {}, Kind::Plain,
         [](EdActionList& l) { selectInTable(l, Select::Columns); }, NeedTable},
        {"edActionTableSelectCell1", "Select C&ell", {}, Kind::Plain,
         [](EdActionList& l) { selectInTable(l, Select::Cell); }, NeedTable},
        {"edActionTableCellVAlignTop1", "Alig&n Cell To The Top", {}, Kind::Checkable,
         alignCell<VA::AlignTop>, T, cellAligned<VA::AlignTop>},
        {"edActionTableCellVAlignMiddle1", "Align Cell To The Mi&ddle", {}, Kind::Checkable,
         alignCell<VA::AlignMiddle>, T, cellAligned<VA::AlignMiddle>},
        {"edActionTableCellVAlignBottom1", "Align Cell To The Botto&m", {}, Kind::Checkable,
         alignCell<VA::AlignBottom>, T, cellAligned<VA::AlignBottom>},
        {"edActionTableCellVAlignDefault1", "Default Cell &Vertical Alignment", {}, Kind::Checkable,
         alignCell<VA::AlignNormal>, T, cellAligned<VA::AlignNormal>},
        {"edActionTableProperties1", "T&able Properties...", {}, Kind::Plain, tableProperties, T},
        {"edActionTableGrid1", "Show &Grid Lines", {}, Kind::Checkable,
         [](EdActionList& l) { l.editor().setShowTableGrid(!l.editor().showTableGrid()); },
         NeedNothing, [](EdActionList& l) { return l.editor().showTableGrid(); }},
        {"edActionTableCellLeftBorder1", "&Left Border", {}, Kind::Checkable,
         toggleBorder<docprop::CellLeft>, T, bordered<docprop::CellLeft>},
        {"edActionTableCellRightBorder1", "&Right Border", {}, Kind::Checkable,
         toggleBorder<docprop::CellRight>, T, bordered<docprop::CellRight>},
        {"edActionTableCellTopBorder1", "&Top Border", {}, Kind::Checkable,
         toggleBorder<docprop::CellTop>, T, bordered<docprop::CellTop>},
        {"edActionTableCellBottomBorder1", "&Bottom Border", {}, Kind::Checkable,
         toggleBorder<docprop::CellBottom>, T, bordered<docprop::CellBottom>},
        {"edActionTableCellAllBorders1", "&All Borders", {}, Kind::Plain,
         [](EdActionList& l) { cellBorders(l, true); }, T},
        {"edActionTableCellNoBorders1", "&No Borders", {}, Kind::Plain,
         [](EdActionList& l) { cellBorders(l, false); }, T},
        // Doc Insert
        {"edActionInsertFile1", "&File...", {}, Kind::Plain,
         [](EdActionList& l) { l.files().insertFile(); }, W},
        {"edActionInsertPicture1", "&Picture...", {}, Kind::Plain, insertPicture, W},
        {"edActionInsertHLine1", "&Horizontal Line", {}, Kind::Plain, insertHLine, W},
        {"edActionInsertHyperlink1", "Hypertext &Link...", {}, Kind::Plain,
         [](EdActionList& l) { l.editor().insertHyperlinkFromDialog(); }, W},
        {"edActionInsertSymbol1", "&Symbol...", {}, Kind::Plain, insertSymbol, W},
        // Doc Miscellaneous
        {"edActionColor1", "Background &Color...", {}, Kind::Plain, backgroundColor, W},
        {"edActionFillColor1", "&Fill Color...", {}, Kind::Plain, fillColor, W},
        {"edActionInsertPageBreak1", "Insert Page &Break",
         {"Ctrl+Return", "Ctrl+Enter"}, Kind::Plain,
         insertPageBreak, W},
        {"edActionRemovePageBreak1", "&Remove Page Break", {}, Kind::Plain,
         removePageBreak, W | NeedPageBreak},
        {"edActionItemProperties1", "Ob&ject Properties...",
         {"Alt+Return", "Alt+Enter"}, Kind::Plain,
         itemProperties, W},
        {"edActionBackground1", "&Background...", {}, Kind::Plain, background, W},
        {"edActionShowSpecialCharacters1", "&Nonprinting Characters", {}, Kind::Checkable,
         showSpecialCharacters, NeedNothing, showsSpecialCharacters},
        // Doc BiDi
        {"edActionTextRTL1", "Right To Left Text", {}, Kind::Checkable,
         directText<Para::bdRightToLeft>, W, textDirectedTo<Para::bdRightToLeft>},
        {"edActionTextLTR1", "Left To Right Text", {}, Kind::Checkable,
         directText<Para::bdLeftToRight>, W, textDirectedTo<Para::bdLeftToRight>},
        {"edActionParaRTL1", "Right To Left", {}, Kind::Checkable,
         directParas<Para::bdRightToLeft>, W, areParasDirected<Para::bdRightToLeft>},
        {"edActionParaLTR1", "Left To Right", {}, Kind::Checkable,
         directParas<Para::bdLeftToRight>, W, areParasDirected<Para::bdLeftToRight>},
        // clang-format on
    };
    return rows;
}
