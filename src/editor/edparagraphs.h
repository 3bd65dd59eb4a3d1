#pragma once

#include "docmodel/liststyles.h"
#include "docmodel/parastyles.h"

class EdActionList;

/// The editor's actions on paragraphs: their style (indent, alignment,
/// spacing, colour, borders, reading direction), how they show, and lists.
/// Each works on the paragraphs of the selection, or the caret's.
namespace edparagraphs {

/// The paragraph style at the caret.
const TParaStyleInfo& caretPara(EdActionList& list);
/// The paragraph dialog.
void paragraph(EdActionList& list);
/// One step to the right (`direction` 1) or left (-1).
void indent(EdActionList& list, int direction);
void align(EdActionList& list, TParaStyleInfo::TAlignment alignment);
bool alignedTo(EdActionList& list, TParaStyleInfo::TAlignment alignment);
void lineSpacing(EdActionList& list, int percent);
bool linesSpaced(EdActionList& list, int percent);
/// The paragraph's background colour.
void paraColor(EdActionList& list);
void paraDirection(EdActionList& list, TParaStyleInfo::TBiDiMode mode);
bool parasDirected(EdActionList& list, TParaStyleInfo::TBiDiMode mode);
void textDirection(EdActionList& list, TParaStyleInfo::TBiDiMode mode);
bool textDirected(EdActionList& list, TParaStyleInfo::TBiDiMode mode);
/// The dialog of paragraph borders and background.
void paraBorder(EdActionList& list);

/// Long lines wrap at the editor's width, or run on.
void wordWrap(EdActionList& list);
bool wrapsWords(EdActionList& list);
/// Marks for spaces, tabs and paragraph ends.
void showSpecialCharacters(EdActionList& list);
bool showsSpecialCharacters(EdActionList& list);

/// Makes the paragraphs a list of that type, or plain again.
void toggleList(EdActionList& list, TListInfo::TListType type);
bool inBulletList(EdActionList& list);
bool inNumberedList(EdActionList& list);
/// The dialog of list type and level.
void bulletsAndNumbering(EdActionList& list);

} // namespace edparagraphs
