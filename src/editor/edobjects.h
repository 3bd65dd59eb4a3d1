#pragma once

class EdActionList;

/// The editor's actions on what is not text: pictures, horizontal lines,
/// symbols, page breaks, the document's background, and the properties of
/// the object at the caret.
namespace edobjects {

/// Asks for a picture file and inserts it at the caret, fitted to the page.
void insertPicture(EdActionList& list);
void insertHLine(EdActionList& list);
/// Asks for a symbol and inserts it in the caret's text style.
void insertSymbol(EdActionList& list);
void insertPageBreak(EdActionList& list);
void removePageBreak(EdActionList& list);
/// The properties dialog of what lies at the caret: a picture, a line, the
/// table, or else the paragraph.
void itemProperties(EdActionList& list);
/// Makes a colour the document's background.
void backgroundColor(EdActionList& list);
/// Chooses between no background, a colour and a picture.
void background(EdActionList& list);

} // namespace edobjects
