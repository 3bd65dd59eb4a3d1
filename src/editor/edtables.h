#pragma once

#include <QTextCharFormat>

class EdActionList;
class EdDocument;
class QTextCursor;

/// The editor's actions on tables: inserting one, its rows and columns,
/// merging and splitting cells, selecting in it, and the look of its cells
/// and frame. Each works on the caret's table.
namespace edtables {

/// What Select Table, Rows, Columns and Cell select.
enum class Select { Table, Rows, Columns, Cell };

/// Asks for the size of a new table and inserts it at the caret.
void insertTable(EdActionList& list);
/// Runs one of the document's table operations at the caret.
void tableEdit(EdActionList& list, void (EdDocument::*operation)(QTextCursor&));
void insertRowsAbove(EdActionList& list);
void insertRowsBelow(EdActionList& list);
void insertColumnsLeft(EdActionList& list);
void insertColumnsRight(EdActionList& list);
/// Merges the selected cells, or says why it cannot.
void mergeCells(EdActionList& list);
/// Asks how many rows and columns a merged cell splits back into.
void splitCells(EdActionList& list);
void selectInTable(EdActionList& list, Select what);
void cellVAlign(EdActionList& list, QTextCharFormat::VerticalAlignment align);
bool hasCellVAlign(EdActionList& list, QTextCharFormat::VerticalAlignment align);
/// The dialog of the table's border, padding and spacing.
void tableProperties(EdActionList& list);
/// All four sides of the selected cells, or of the caret's.
void cellBorders(EdActionList& list, bool on);
/// One side (`docprop::CellLeft` ...) of the selected cells.
void toggleCellBorder(EdActionList& list, int side);
bool cellBordered(EdActionList& list, int side);
/// The background of the selected cells; outside a table, the paragraph's.
void fillColor(EdActionList& list);

} // namespace edtables
