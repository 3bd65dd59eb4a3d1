#include "editor/edtables.h"

#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/edparagraphs.h"
#include "editor/tdoceditor.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

#include <QSpinBox>
#include <QTextTable>

namespace edtables {

namespace {

QTextCursor caret(EdActionList& list) {
    return list.editor().textCursor();
}

} // namespace

void insertTable(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdSizeDialog dialog(QStringLiteral("InsertTableDialog"), QStringLiteral("Insert Table"),
                        &editor);
    if (editor.dialogs().runModal(dialog) == QDialog::Accepted)
        editor.insertTableAtCaret(dialog.rows->value(), dialog.columns->value());
}

void tableEdit(EdActionList& list, void (EdDocument::*operation)(QTextCursor&)) {
    QTextCursor cursor = caret(list);
    (list.editor().edDocument().*operation)(cursor);
    list.editor().setTextCursor(cursor);
}

void insertRowsAbove(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().insertTableRows(cursor, false);
}

void insertRowsBelow(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().insertTableRows(cursor, true);
}

void insertColumnsLeft(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().insertTableColumns(cursor, false);
}

void insertColumnsRight(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().insertTableColumns(cursor, true);
}

void mergeCells(EdActionList& list) {
    QTextCursor cursor = caret(list);
    if (list.editor().edDocument().mergeTableCells(cursor)) {
        list.editor().setTextCursor(cursor);
        return;
    }
    list.editor().dialogs().showMessage(
        uilanguage::text("EDITOR", "cellsNotMerged",
                         QStringLiteral("These cells cannot be merged: the table would keep too "
                                        "few cells of its own for its size. Merge fewer cells, "
                                        "or make the table smaller first.")),
        UserDialogs::Icon::Information,
        uilanguage::text("EDITOR", "mergeCellsTitle", QStringLiteral("Merge Cells")));
}

void splitCells(EdActionList& list) {
    TDocEditor& editor = list.editor();
    QTextCursor cursor = caret(list);
    const QTextTableCell cell = cursor.currentTable()->cellAt(cursor);
    EdSizeDialog dialog(QStringLiteral("SplitCellsDialog"), QStringLiteral("Split Cells"), &editor);
    dialog.rows->setRange(1, cell.rowSpan());
    dialog.rows->setValue(cell.rowSpan());
    dialog.columns->setRange(1, cell.columnSpan());
    dialog.columns->setValue(cell.columnSpan());
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    // A cell splits back into the cells it was merged from: one row and
    // column each, or what is left of its span.
    editor.edDocument().splitTableCell(cursor, cell.rowSpan() - dialog.rows->value() + 1,
                                       cell.columnSpan() - dialog.columns->value() + 1);
}

void selectInTable(EdActionList& list, Select what) {
    QTextCursor cursor = caret(list);
    QTextTable* table = cursor.currentTable();
    if (!table)
        return;
    int row = 0, rows = 1, column = 0, columns = 1;
    if (cursor.hasComplexSelection()) {
        cursor.selectedTableCells(&row, &rows, &column, &columns);
    } else {
        const QTextTableCell cell = table->cellAt(cursor);
        row = cell.row();
        column = cell.column();
    }
    if (what == Select::Table || what == Select::Columns) {
        row = 0;
        rows = table->rows();
    }
    if (what == Select::Table || what == Select::Rows) {
        column = 0;
        columns = table->columns();
    }
    if (what == Select::Cell) {
        const QTextTableCell cell = table->cellAt(row, column);
        cursor.setPosition(cell.firstPosition());
        cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(table->cellAt(row, column).firstPosition());
        cursor.setPosition(table->cellAt(row + rows - 1, column + columns - 1).lastPosition(),
                           QTextCursor::KeepAnchor);
    }
    list.editor().setTextCursor(cursor);
}

void cellVAlign(EdActionList& list, QTextCharFormat::VerticalAlignment align) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().setCellVAlign(cursor, align);
}

bool hasCellVAlign(EdActionList& list, QTextCharFormat::VerticalAlignment align) {
    const QTextCursor cursor = caret(list);
    const QTextTable* table = cursor.currentTable();
    return table && table->cellAt(cursor).format().verticalAlignment() == align;
}

void tableProperties(EdActionList& list) {
    TDocEditor& editor = list.editor();
    QTextCursor cursor = caret(list);
    const QTextTableFormat format = cursor.currentTable()->format();
    EdTablePropertiesDialog dialog(&editor);
    dialog.border->setValue(qRound(format.border()));
    dialog.padding->setValue(qRound(format.cellPadding()));
    dialog.spacing->setValue(qRound(format.cellSpacing()));
    if (editor.dialogs().runModal(dialog) == QDialog::Accepted)
        editor.edDocument().setTableFrame(cursor, dialog.border->value(), dialog.padding->value(),
                                          dialog.spacing->value());
}

void cellBorders(EdActionList& list, bool on) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().setCellBorders(cursor, 0xF, on);
}

void toggleCellBorder(EdActionList& list, int side) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().toggleCellBorder(cursor, side);
}

bool cellBordered(EdActionList& list, int side) {
    return list.editor().edDocument().cellsHaveBorder(caret(list), side);
}

void fillColor(EdActionList& list) {
    QTextCursor cursor = caret(list);
    if (!cursor.currentTable()) {
        edparagraphs::paraColor(list);
        return;
    }
    const std::optional<QColor> color = list.editor().dialogs().chooseColor(
        cursor.currentTable()->cellAt(cursor).format().background().color());
    if (color)
        list.editor().edDocument().setCellBackground(cursor, *color);
}

} // namespace edtables
