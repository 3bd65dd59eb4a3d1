#include "editor/edtextformat.h"

#include "docmodel/vdocformat.h"
#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/tdoceditor.h"
#include "ui/userdialogs.h"

#include <QFontDialog>

namespace edtextformat {

using Font = TTextStyleInfo;

const TTextStyleInfo& caretStyle(EdActionList& list) {
    return list.editor().Style().TextStyles.at(list.editor().CaretTextStyle());
}

void toggleFontStyle(EdActionList& list, Font::FontStyle style) {
    const bool on = !caretStyle(list).hasStyle(style);
    list.editor().changeTextStyle(
        [style, on](Font& info) { info.Style = on ? info.Style | style : info.Style & ~style; });
}

bool hasFontStyle(EdActionList& list, Font::FontStyle style) {
    return caretStyle(list).hasStyle(style);
}

void fonts(EdActionList& list) {
    TDocEditor& editor = list.editor();
    const Font& caret = caretStyle(list);
    QFont initial(caret.FontName, caret.Size);
    initial.setBold(caret.hasStyle(Font::fsBold));
    initial.setItalic(caret.hasStyle(Font::fsItalic));
    initial.setUnderline(caret.hasStyle(Font::fsUnderline));
    initial.setStrikeOut(caret.hasStyle(Font::fsStrikeOut));
    QFontDialog dialog(initial, &editor);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    // The dialog lists the installed families only: a font this system
    // lacks shows as its stand-in. What the dialog shows at first is
    // compared with what it holds at the end, and only what the seller
    // changed is applied, so the document keeps its own font names (and
    // each run of a mixed selection keeps what was not touched).
    const QFont shown = dialog.currentFont();
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    const QFont font = dialog.currentFont();
    const bool family = font.family() != shown.family();
    const bool size = font.pointSize() != shown.pointSize() && font.pointSize() > 0;
    int setBits = 0;
    int clearBits = 0;
    const auto styleBit = [&](bool now, bool before, int bit) {
        if (now != before)
            (now ? setBits : clearBits) |= bit;
    };
    styleBit(font.bold(), shown.bold(), Font::fsBold);
    styleBit(font.italic(), shown.italic(), Font::fsItalic);
    styleBit(font.underline(), shown.underline(), Font::fsUnderline);
    styleBit(font.strikeOut(), shown.strikeOut(), Font::fsStrikeOut);
    if (!family && !size && !setBits && !clearBits)
        return;
    editor.changeTextStyle([&](Font& info) {
        if (family)
            info.FontName = font.family();
        if (size)
            info.Size = qBound(1, font.pointSize(), int(vdocformat::kMaxFontSize));
        info.Style = (info.Style | setBits) & ~clearBits;
    });
}

/// The sizes Grow Font and Shrink Font step through.
constexpr int kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

void stepFontSize(EdActionList& list, int direction, bool onePoint) {
    list.editor().changeTextStyle([direction, onePoint](Font& info) {
        if (onePoint) {
            info.Size = qBound(1, info.Size + direction, 1638);
            return;
        }
        int size = info.Size;
        for (int step : kFontSizes) {
            if (direction > 0 && step > info.Size) {
                size = step;
                break;
            }
            if (direction < 0 && step < info.Size)
                size = step;
        }
        if (size == info.Size)
            size = qBound(1, info.Size + direction, 1638);
        info.Size = size;
    });
}

void fontColor(EdActionList& list, bool background) {
    TDocEditor& editor = list.editor();
    const Font& caret = caretStyle(list);
    const QColor current = background ? caret.BackColor : caret.Color;
    const std::optional<QColor> color = editor.dialogs().chooseColor(
        current.isValid() ? current : QColor(background ? Qt::white : Qt::black));
    if (!color)
        return;
    editor.changeTextStyle(
        [background, color](Font& info) { (background ? info.BackColor : info.Color) = *color; });
}

void toggleAllCaps(EdActionList& list) {
    const bool on = !caretStyle(list).AllCaps;
    list.editor().changeTextStyle([on](Font& info) { info.AllCaps = on; });
}

void toggleOverline(EdActionList& list) {
    const bool on = !caretStyle(list).Overline;
    list.editor().changeTextStyle([on](Font& info) { info.Overline = on; });
}

void characterCase(EdActionList& list) {
    TDocEditor& editor = list.editor();
    QTextCursor cursor = editor.textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    if (!cursor.hasSelection())
        return;
    EdCharCaseDialog dialog(&editor);
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    const EdCharCaseDialog::Case chosen = dialog.chosen();
    editor.edDocument().changeCase(
        cursor, [chosen](const QString& text) { return EdCharCaseDialog::apply(text, chosen); });
    editor.setTextCursor(cursor);
}

} // namespace edtextformat
