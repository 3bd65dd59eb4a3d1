#include "editor/edparagraphs.h"

#include "docmodel/docproperties.h"
#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

#include <QSpinBox>
#include <QTextBlock>
#include <QTextList>
#include <functional>

namespace edparagraphs {

using Para = TParaStyleInfo;

namespace {

void changePara(EdActionList& list, const std::function<void(Para&)>& change) {
    QTextCursor cursor = list.editor().textCursor();
    list.editor().edDocument().changeParaStyle(cursor, change);
}

/// How far one step of Increase and Decrease Indent moves, and the most.
constexpr int kIndentStep = 24;
constexpr int kIndentMax = 200;

/// The direction the caret's paragraph reads in: its own, or the one its
/// text gives it.
Qt::LayoutDirection caretDirection(EdActionList& list) {
    return list.editor().textCursor().block().textDirection();
}

TListInfo::TListType caretListType(EdActionList& list, bool& inList) {
    const QTextList* textList = list.editor().textCursor().currentList();
    inList = textList != nullptr;
    return inList ? list.editor()
                        .Style()
                        .ListStyles.at(textList->format().intProperty(docprop::ListNo))
                        .ListType
                  : TListInfo::lstBullet;
}

} // namespace

const TParaStyleInfo& caretPara(EdActionList& list) {
    return list.editor().Style().ParaStyles.at(
        list.editor().textCursor().blockFormat().intProperty(docprop::ParaNo));
}

void paragraph(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdParagraphDialog dialog(&editor);
    dialog.setStyle(caretPara(list));
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    changePara(list, [&dialog](Para& info) { info = dialog.applyTo(info); });
}

void indent(EdActionList& list, int direction) {
    changePara(list, [direction](Para& info) {
        info.LeftIndent = qBound(0, info.LeftIndent + direction * kIndentStep, kIndentMax);
    });
}

void align(EdActionList& list, Para::TAlignment alignment) {
    changePara(list, [alignment](Para& info) { info.Alignment = alignment; });
}

bool alignedTo(EdActionList& list, Para::TAlignment alignment) {
    return caretPara(list).Alignment == alignment;
}

void lineSpacing(EdActionList& list, int percent) {
    changePara(list, [percent](Para& info) { info.LineSpacing = percent; });
}

bool linesSpaced(EdActionList& list, int percent) {
    return caretPara(list).LineSpacing == percent;
}

void paraColor(EdActionList& list) {
    const QColor current = caretPara(list).Background;
    const std::optional<QColor> color =
        list.editor().dialogs().chooseColor(current.isValid() ? current : QColor(Qt::white));
    if (color)
        changePara(list, [color](Para& info) { info.Background = *color; });
}

/// A paragraph direction changes the order the text reads in and leaves the
/// paragraph where it is on the page.
void paraDirection(EdActionList& list, Para::TBiDiMode mode) {
    changePara(list, [mode](Para& info) { info.BiDiMode = mode; });
}

bool parasDirected(EdActionList& list, Para::TBiDiMode mode) {
    return caretDirection(list) ==
           (mode == Para::bdRightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

/// A text direction also moves a paragraph set against the side its text
/// now starts from over to that side; centred and justified ones stay.
void textDirection(EdActionList& list, Para::TBiDiMode mode) {
    const bool rtl = mode == Para::bdRightToLeft;
    changePara(list, [mode, rtl](Para& info) {
        info.BiDiMode = mode;
        if (info.Alignment == (rtl ? Para::edaLeft : Para::edaRight))
            info.Alignment = rtl ? Para::edaRight : Para::edaLeft;
    });
}

bool textDirected(EdActionList& list, Para::TBiDiMode mode) {
    const bool rtl = mode == Para::bdRightToLeft;
    return caretDirection(list) == (rtl ? Qt::RightToLeft : Qt::LeftToRight) &&
           caretPara(list).Alignment != (rtl ? Para::edaLeft : Para::edaRight);
}

void paraBorder(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdParaBorderDialog dialog(
        [&editor](const QColor& current) { return editor.dialogs().chooseColor(current); },
        &editor);
    dialog.setStyle(caretPara(list));
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    // Only what the dialog shows changes; each paragraph keeps the rest.
    const TParaStyleInfo chosen = dialog.applyTo(caretPara(list));
    changePara(list, [&chosen](Para& info) {
        info.BorderWidth = chosen.BorderWidth;
        info.BorderColor = chosen.BorderColor;
        info.Background = chosen.Background;
    });
}

// --- How the paragraphs show ---------------------------------------------

void wordWrap(EdActionList& list) {
    TDocEditor& editor = list.editor();
    editor.setLineWrapMode(editor.lineWrapMode() == QTextEdit::NoWrap ? QTextEdit::WidgetWidth
                                                                      : QTextEdit::NoWrap);
}

bool wrapsWords(EdActionList& list) {
    return list.editor().lineWrapMode() != QTextEdit::NoWrap;
}

void showSpecialCharacters(EdActionList& list) {
    QTextDocument* document = list.editor().document();
    QTextOption option = document->defaultTextOption();
    const auto marks = QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators;
    option.setFlags(option.flags() ^ marks);
    document->setDefaultTextOption(option);
}

bool showsSpecialCharacters(EdActionList& list) {
    return list.editor().document()->defaultTextOption().flags() & QTextOption::ShowTabsAndSpaces;
}

// --- Lists ---------------------------------------------------------------

void toggleList(EdActionList& list, TListInfo::TListType type) {
    QTextCursor cursor = list.editor().textCursor();
    list.editor().edDocument().toggleList(cursor, type);
}

bool inBulletList(EdActionList& list) {
    bool inList = false;
    return caretListType(list, inList) == TListInfo::lstBullet && inList;
}

bool inNumberedList(EdActionList& list) {
    bool inList = false;
    return caretListType(list, inList) == TListInfo::lstDecimal && inList;
}

void bulletsAndNumbering(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdListDialog dialog(&editor);
    bool inList = false;
    const TListInfo::TListType type = caretListType(list, inList);
    const QTextList* current = editor.textCursor().currentList();
    const int level = current ? current->format().intProperty(docprop::ListLevel) : 0;
    dialog.choose(inList ? int(type) + 1 : 0);
    dialog.level->setValue(level + 1);
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    QTextCursor cursor = editor.textCursor();
    if (dialog.chosen() <= 0) {
        editor.edDocument().removeList(cursor);
        return;
    }
    const auto chosen = TListInfo::TListType(dialog.chosen() - 1);
    const int chosenLevel = dialog.level->value() - 1;
    if (!inList || chosen != type || chosenLevel != level)
        editor.edDocument().setList(cursor, chosen, chosenLevel);
}

} // namespace edparagraphs
