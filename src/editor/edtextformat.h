#pragma once

#include "docmodel/textstyles.h"

class EdActionList;

/// The editor's actions on the look of characters: font, style bits, size,
/// colours and case. Each works on the selection, or on what is typed next.
namespace edtextformat {

/// The text style at the caret.
const TTextStyleInfo& caretStyle(EdActionList& list);
void toggleFontStyle(EdActionList& list, TTextStyleInfo::FontStyle style);
bool hasFontStyle(EdActionList& list, TTextStyleInfo::FontStyle style);
void toggleAllCaps(EdActionList& list);
void toggleOverline(EdActionList& list);
/// The font dialog; applies only what the seller changed in it.
void fonts(EdActionList& list);
/// One step up (`direction` 1) or down (-1) the usual sizes, or one point.
void stepFontSize(EdActionList& list, int direction, bool onePoint);
/// The colour of the text, or of its background.
void fontColor(EdActionList& list, bool background);
/// Changes the case of the selection, or of the word at the caret.
void characterCase(EdActionList& list);

} // namespace edtextformat
