#include "editor/edactiontable.h"

#include "docmodel/docpicture.h"
#include "docmodel/docproperties.h"
#include "docmodel/vdocformat.h"
#include "editor/edactionlist.h"
#include "editor/edclipboard.h"
#include "editor/eddialogs.h"
#include "editor/edfilecommands.h"
#include "editor/edprint.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

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

// --- Files ---------------------------------------------------------------

void newDocument(EdActionList& list) {
    list.files().New();
}

void openDocument(EdActionList& list) {
    list.files().Open();
}

void saveDocument(EdActionList& list) {
    list.files().Save();
}

void saveDocumentAs(EdActionList& list) {
    list.files().SaveAs();
}

void exportDocument(EdActionList& list) {
    TDocEditor& editor = list.editor();
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Export");
    options.filter =
        QStringLiteral("HTML files (*.htm, *.html)|*.htm;*.html|Text files (*.txt)|*.txt");
    options.defaultExtension = QStringLiteral("html");
    const QString fileName = editor.dialogs().saveFileName(options);
    if (fileName.isEmpty())
        return;
    QByteArray bytes;
    if (options.filterIndex == 2 || fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        // Pictures and anchors have no text: their placeholder characters go.
        bytes = editor.document()->toPlainText().remove(QChar::ObjectReplacementCharacter).toUtf8();
    } else {
        // The program's link handler decides what a published page links
        // to; an exported file keeps every link as the document has it.
        HtmlFragmentExporter exporter(editor.edDocument());
        exporter.picturesFolder = QFileInfo(fileName).absolutePath();
        bytes = "<html><head><meta charset=\"utf-8\"></head><body>\n" + exporter.toHtml().toUtf8() +
                "\n</body></html>\n";
    }
    writeFileAtomically(fileName, bytes);
}

// --- Editing -------------------------------------------------------------

void pasteSpecial(EdActionList& list) {
    TDocEditor& editor = list.editor();
    const QMimeData* source = QGuiApplication::clipboard()->mimeData();
    if (!source)
        return;
    struct Offer {
        QString caption;
        QString mime;
    };
    QList<Offer> offers;
    if (source->hasFormat(EdClipboard::nativeMimeType()))
        offers.append({QStringLiteral("Vantrel document"), EdClipboard::nativeMimeType()});
    if (source->hasHtml())
        offers.append({QStringLiteral("HTML format"), QStringLiteral("text/html")});
    if (source->hasImage())
        offers.append({QStringLiteral("Picture"), QStringLiteral("application/x-qt-image")});
    if (source->hasText())
        offers.append({QStringLiteral("Unformatted text"), QStringLiteral("text/plain")});
    if (offers.isEmpty())
        return;
    QStringList captions;
    for (const Offer& offer : offers)
        captions.append(offer.caption);
    EdChoiceDialog dialog(QStringLiteral("PasteSpecialDialog"), QStringLiteral("Paste Special"),
                          captions, &editor);
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted || dialog.chosen() < 0)
        return;
    const QString mime = offers.at(dialog.chosen()).mime;
    QMimeData only;
    if (mime == QLatin1String("application/x-qt-image"))
        only.setImageData(source->imageData());
    else
        only.setData(mime, source->data(mime));
    editor.insertMimeData(only);
}

/// Looks for the next occurrence from the caret and selects it.
bool findNext(EdActionList& list) {
    TDocEditor& editor = list.editor();
    if (list.SearchText.isEmpty())
        return false;
    if (editor.find(list.SearchText, list.SearchFlags))
        return true;
    // Past the end (or the start) the search goes on from the other end.
    QTextCursor from(editor.document());
    if (list.SearchFlags & QTextDocument::FindBackward)
        from.movePosition(QTextCursor::End);
    const QTextCursor found = editor.document()->find(list.SearchText, from, list.SearchFlags);
    if (!found.isNull()) {
        editor.setTextCursor(found);
        return true;
    }
    editor.dialogs().showMessage(QStringLiteral("Cannot find \"%1\".").arg(list.SearchText),
                                 UserDialogs::Icon::Information, QStringLiteral("Find"));
    return false;
}

void runFindDialog(EdActionList& list, bool replacing) {
    TDocEditor& editor = list.editor();
    EdFindDialog dialog(replacing, &editor);
    const QString selected = editor.textCursor().selectedText();
    dialog.setText(selected.isEmpty() || selected.contains(QChar::ParagraphSeparator)
                       ? list.SearchText
                       : selected);
    dialog.setWholeWord(list.SearchFlags & QTextDocument::FindWholeWords);
    dialog.setMatchCase(list.SearchFlags & QTextDocument::FindCaseSensitively);
    dialog.setBackward(list.SearchFlags & QTextDocument::FindBackward);
    const int command = editor.dialogs().runModal(dialog);
    if (command == QDialog::Rejected || dialog.text().isEmpty())
        return;
    list.SearchText = dialog.text();
    list.SearchFlags = {};
    if (dialog.wholeWord())
        list.SearchFlags |= QTextDocument::FindWholeWords;
    if (dialog.matchCase())
        list.SearchFlags |= QTextDocument::FindCaseSensitively;
    if (dialog.backward())
        list.SearchFlags |= QTextDocument::FindBackward;
    if (command == EdFindDialog::ReplaceAll) {
        const int count = editor.edDocument().replaceAll(list.SearchText, dialog.replacement(),
                                                         int(list.SearchFlags));
        editor.dialogs().showMessage(count == 1
                                         ? QStringLiteral("1 occurrence replaced.")
                                         : QStringLiteral("%1 occurrences replaced.").arg(count),
                                     UserDialogs::Icon::Information, QStringLiteral("Replace"));
        return;
    }
    if (command == EdFindDialog::ReplaceOne) {
        QTextCursor cursor = editor.textCursor();
        const Qt::CaseSensitivity sensitivity =
            dialog.matchCase() ? Qt::CaseSensitive : Qt::CaseInsensitive;
        // The occurrence found last is replaced; otherwise the next is found.
        if (cursor.selectedText().compare(list.SearchText, sensitivity) == 0) {
            cursor.insertText(dialog.replacement(), cursor.charFormat());
            editor.setTextCursor(cursor);
        }
    }
    findNext(list);
}

void find(EdActionList& list) {
    runFindDialog(list, false);
}

void replace(EdActionList& list) {
    runFindDialog(list, true);
}

void findAgain(EdActionList& list) {
    if (list.SearchText.isEmpty())
        runFindDialog(list, false);
    else
        findNext(list);
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

// --- Text ----------------------------------------------------------------

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

// --- Paragraphs ----------------------------------------------------------

const TParaStyleInfo& caretPara(EdActionList& list) {
    return list.editor().Style().ParaStyles.at(
        list.editor().textCursor().blockFormat().intProperty(docprop::ParaNo));
}

void changePara(EdActionList& list, const std::function<void(Para&)>& change) {
    QTextCursor cursor = list.editor().textCursor();
    list.editor().edDocument().changeParaStyle(cursor, change);
}

void paragraph(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdParagraphDialog dialog(&editor);
    dialog.setStyle(caretPara(list));
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    changePara(list, [&dialog](Para& info) { info = dialog.applyTo(info); });
}

/// How far one step of Increase and Decrease Indent moves, and the most.
constexpr int kIndentStep = 24;
constexpr int kIndentMax = 200;

void indent(EdActionList& list, int direction) {
    changePara(list, [direction](Para& info) {
        info.LeftIndent = qBound(0, info.LeftIndent + direction * kIndentStep, kIndentMax);
    });
}

void align(EdActionList& list, Para::TAlignment alignment) {
    changePara(list, [alignment](Para& info) { info.Alignment = alignment; });
}

void lineSpacing(EdActionList& list, int percent) {
    changePara(list, [percent](Para& info) { info.LineSpacing = percent; });
}

void paraColor(EdActionList& list) {
    const QColor current = caretPara(list).Background;
    const std::optional<QColor> color =
        list.editor().dialogs().chooseColor(current.isValid() ? current : QColor(Qt::white));
    if (color)
        changePara(list, [color](Para& info) { info.Background = *color; });
}

/// The direction the caret's paragraph reads in: its own, or the one its
/// text gives it.
Qt::LayoutDirection caretDirection(EdActionList& list) {
    return list.editor().textCursor().block().textDirection();
}

/// A paragraph direction changes the order the text reads in and leaves the
/// paragraph where it is on the page.
void paraDirection(EdActionList& list, Para::TBiDiMode mode) {
    changePara(list, [mode](Para& info) { info.BiDiMode = mode; });
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

void wordWrap(EdActionList& list) {
    TDocEditor& editor = list.editor();
    editor.setLineWrapMode(editor.lineWrapMode() == QTextEdit::NoWrap ? QTextEdit::WidgetWidth
                                                                      : QTextEdit::NoWrap);
}

// --- Lists ---------------------------------------------------------------

TListInfo::TListType caretListType(EdActionList& list, bool& inList) {
    const QTextList* textList = list.editor().textCursor().currentList();
    inList = textList != nullptr;
    return inList ? list.editor()
                        .Style()
                        .ListStyles.at(textList->format().intProperty(docprop::ListNo))
                        .ListType
                  : TListInfo::lstBullet;
}

void toggleList(EdActionList& list, TListInfo::TListType type) {
    QTextCursor cursor = list.editor().textCursor();
    list.editor().edDocument().toggleList(cursor, type);
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

// --- Tables --------------------------------------------------------------

QTextCursor caret(EdActionList& list) {
    return list.editor().textCursor();
}

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

enum class Select { Table, Rows, Columns, Cell };

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

/// All four sides of the selected cells, or of the caret's.
void cellBorders(EdActionList& list, bool on) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().setCellBorders(cursor, 0xF, on);
}

// --- Insert --------------------------------------------------------------

void insertPicture(EdActionList& list) {
    TDocEditor& editor = list.editor();
    UserDialogs::FileDialogOptions options;
    options.title =
        uilanguage::text("EDITOR", "insertPictureTitle", QStringLiteral("Insert Picture"));
    options.filter = editor.controlPanel().PictureFilter;
    options.initialFolder = list.PictureInitialDir;
    options.defaultExtension = QStringLiteral("jpg");
    const QString fileName = editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return;
    DocPicture picture;
    if (!DocPicture::fromFile(fileName, picture)) {
        QString message = uilanguage::text("EDITOR", "pictureNotLoaded",
                                           QStringLiteral("Error loading image file.")) +
                          QLatin1Char('\n') + fileName;
        const QSize size = DocPicture::filePixelSize(fileName);
        if (qint64(size.width()) * size.height() > DocPicture::kMaxPixels)
            message += QLatin1Char('\n') +
                       uilanguage::text("EDITOR", "pictureTooLarge",
                                        QStringLiteral("The picture is %1 \u00d7 %2 pixels (%3 "
                                                       "megapixels); pictures of at most %4 "
                                                       "megapixels can be inserted."))
                           .arg(size.width())
                           .arg(size.height())
                           .arg(qint64(size.width()) * size.height() / 1000000)
                           .arg(DocPicture::kMaxPixels / 1000000);
        editor.dialogs().showMessage(
            message, UserDialogs::Icon::Error,
            uilanguage::text("EDITOR", "errorTitle", QStringLiteral("Error")));
        return;
    }
    editor.fitPictureToPage(picture);
    QTextCursor cursor = editor.textCursor();
    cursor.removeSelectedText();
    editor.edDocument().insertPicture(cursor, picture);
    editor.setTextCursor(cursor);
}

/// The largest file Insert File reads: beyond it the editor would hold a
/// document no listing page can carry.
constexpr qint64 kInsertFileLimit = qint64(50) * 1024 * 1024;

void insertFile(EdActionList& list) {
    TDocEditor& editor = list.editor();
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Insert File");
    options.filter =
        editor.controlPanel().DocFilter + QStringLiteral("|HTML files (*.htm, *.html)|*.htm;*.html"
                                                         "|Text files (*.txt)|*.txt");
    const QString fileName = editor.dialogs().openFileName(options);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).size() > kInsertFileLimit) {
        editor.dialogs().showMessage(
            QStringLiteral("The file is larger than 50 MB and cannot be inserted.\n") + fileName,
            UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    QByteArray bytes;
    if (!readWholeFile(fileName, bytes)) {
        editor.dialogs().showMessage(QStringLiteral("Error loading file.\n") + fileName,
                                     UserDialogs::Icon::Error, QStringLiteral("Error"));
        return;
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QMimeData content;
    if (suffix == QLatin1String("vdoc"))
        content.setData(EdClipboard::nativeMimeType(), bytes);
    else if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        content.setHtml(QString::fromUtf8(bytes));
    else
        content.setText(QString::fromUtf8(bytes));
    editor.insertMimeData(content);
}

void insertHLine(EdActionList& list) {
    QTextCursor cursor = caret(list);
    cursor.removeSelectedText();
    list.editor().edDocument().insertHLine(cursor);
    list.editor().setTextCursor(cursor);
}

void insertHyperlink(EdActionList& list) {
    TDocEditor& editor = list.editor();
    HyperlinkDialog dialog(&editor);
    QFont font = dialog.font();
    font.setFamily(editor.controlPanel().DialogFontName);
    dialog.setFont(font);
    dialog.setText(editor.textCursor().selectedText());
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    editor.insertHyperlink(dialog.text(), dialog.target());
}

void insertSymbol(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdSymbolDialog dialog(&editor);
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted || dialog.symbol().isEmpty())
        return;
    QTextCursor cursor = editor.textCursor();
    editor.edDocument().insertText(cursor, dialog.symbol(), editor.CaretTextStyle());
    editor.setTextCursor(cursor);
}

// --- Miscellaneous -------------------------------------------------------

void backgroundColor(EdActionList& list) {
    TDocEditor& editor = list.editor();
    const QColor current = editor.edDocument().backgroundColor();
    const std::optional<QColor> color =
        editor.dialogs().chooseColor(current.isValid() ? current : QColor(Qt::white));
    if (!color)
        return;
    // The colour is the background from now on, as the page shows it: a
    // picture would hide it in the editor.
    editor.edDocument().setBackgroundPicture(DocPicture());
    editor.edDocument().setBackgroundColor(*color);
    editor.setDocumentModified(true);
}

void fillColor(EdActionList& list) {
    QTextCursor cursor = caret(list);
    if (!cursor.currentTable()) {
        paraColor(list);
        return;
    }
    const std::optional<QColor> color = list.editor().dialogs().chooseColor(
        cursor.currentTable()->cellAt(cursor).format().background().color());
    if (color)
        list.editor().edDocument().setCellBackground(cursor, *color);
}

void insertPageBreak(EdActionList& list) {
    QTextCursor cursor = caret(list);
    cursor.removeSelectedText();
    list.editor().edDocument().insertPageBreak(cursor);
    list.editor().setTextCursor(cursor);
}

void removePageBreak(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().removePageBreak(cursor);
}

void pictureProperties(EdActionList& list, int position) {
    TDocEditor& editor = list.editor();
    QTextCursor at(editor.document());
    at.setPosition(position);
    at.setPosition(position + 1, QTextCursor::KeepAnchor);
    const DocPicture picture = DocPicture::fromFormat(at.charFormat().toImageFormat());
    const QSize own = picture.pixelSize();
    EdPictureSizeDialog dialog(own, &editor);
    dialog.setShownSize(QSize(picture.width > 0 ? picture.width : own.width(),
                              picture.height > 0 ? picture.height : own.height()));
    if (editor.dialogs().runModal(dialog) == QDialog::Accepted)
        editor.edDocument().resizePicture(position, dialog.columns->value(), dialog.rows->value());
}

void lineProperties(EdActionList& list, int position) {
    TDocEditor& editor = list.editor();
    const QTextBlockFormat format = editor.document()->findBlock(position).blockFormat();
    EdLineDialog dialog(
        [&editor](const QColor& current) { return editor.dialogs().chooseColor(current); },
        &editor);
    dialog.setColor(docprop::hLineColor(format));
    dialog.lineWidth->setValue(docprop::hLineWidth(format));
    if (editor.dialogs().runModal(dialog) == QDialog::Accepted)
        editor.edDocument().setHLine(position, dialog.color(), dialog.lineWidth->value());
}

void itemProperties(EdActionList& list) {
    const int picture = list.editor().edDocument().pictureAt(caret(list));
    const int line = EdDocument::hLineAt(caret(list));
    if (picture >= 0)
        pictureProperties(list, picture);
    else if (line >= 0)
        lineProperties(list, line);
    else if (caret(list).currentTable())
        tableProperties(list);
    else
        paragraph(list);
}

void background(EdActionList& list) {
    TDocEditor& editor = list.editor();
    EdChoiceDialog dialog(
        QStringLiteral("BackgroundDialog"), QStringLiteral("Background"),
        {QStringLiteral("No background"), QStringLiteral("Color..."), QStringLiteral("Picture...")},
        &editor);
    // The choice shown first is the background the document has: the
    // picture wins over a colour, as in the editor.
    const EdDocument& document = editor.edDocument();
    dialog.choose(!document.backgroundPicture().isEmpty() ? 2
                  : document.backgroundColor().isValid()  ? 1
                                                          : 0);
    if (editor.dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    switch (dialog.chosen()) {
    case 0:
        editor.edDocument().setBackgroundPicture(DocPicture());
        editor.edDocument().setBackgroundColor(QColor());
        editor.setDocumentModified(true);
        break;
    case 1:
        backgroundColor(list);
        break;
    case 2: {
        UserDialogs::FileDialogOptions options;
        options.title = QStringLiteral("Background Picture");
        options.filter = editor.controlPanel().PictureFilter;
        options.initialFolder = list.PictureInitialDir;
        const QString fileName = editor.dialogs().openFileName(options);
        DocPicture picture;
        if (fileName.isEmpty())
            return;
        if (!DocPicture::fromFile(fileName, picture)) {
            editor.dialogs().showMessage(QStringLiteral("Error loading image file.\n") + fileName,
                                         UserDialogs::Icon::Error, QStringLiteral("Error"));
            return;
        }
        editor.edDocument().setBackgroundPicture(picture);
        editor.setDocumentModified(true);
        break;
    }
    default:
        break;
    }
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

void toggleAllCaps(EdActionList& l) {
    const bool on = !caretStyle(l).AllCaps;
    l.editor().changeTextStyle([on](Font& info) { info.AllCaps = on; });
}

void toggleOverline(EdActionList& l) {
    const bool on = !caretStyle(l).Overline;
    l.editor().changeTextStyle([on](Font& info) { info.Overline = on; });
}

bool inBulletList(EdActionList& l) {
    bool inList = false;
    return caretListType(l, inList) == TListInfo::lstBullet && inList;
}

bool inNumberedList(EdActionList& l) {
    bool inList = false;
    return caretListType(l, inList) == TListInfo::lstDecimal && inList;
}

void insertRowsAbove(EdActionList& l) {
    QTextCursor c = caret(l);
    l.editor().edDocument().insertTableRows(c, false);
}

void insertRowsBelow(EdActionList& l) {
    QTextCursor c = caret(l);
    l.editor().edDocument().insertTableRows(c, true);
}

void insertColumnsLeft(EdActionList& l) {
    QTextCursor c = caret(l);
    l.editor().edDocument().insertTableColumns(c, false);
}

void insertColumnsRight(EdActionList& l) {
    QTextCursor c = caret(l);
    l.editor().edDocument().insertTableColumns(c, true);
}

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
bool alignedTo(EdActionList& list) {
    return caretPara(list).Alignment == alignment;
}

template <Para::TBiDiMode mode>
void directParas(EdActionList& list) {
    paraDirection(list, mode);
}

template <Para::TBiDiMode mode>
bool parasDirected(EdActionList& list) {
    return caretDirection(list) ==
           (mode == Para::bdRightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
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
void toggleCellBorder(EdActionList& list) {
    QTextCursor cursor = caret(list);
    list.editor().edDocument().toggleCellBorder(cursor, side);
}

template <int side>
bool cellBordered(EdActionList& list) {
    return list.editor().edDocument().cellsHaveBorder(caret(list), side);
}

template <int percent>
void spaceLines(EdActionList& list) {
    lineSpacing(list, percent);
}

template <int percent>
bool linesSpaced(EdActionList& list) {
    return caretPara(list).LineSpacing == percent;
}

template <QTextCharFormat::VerticalAlignment alignment>
void alignCell(EdActionList& list) {
    cellVAlign(list, alignment);
}

template <QTextCharFormat::VerticalAlignment alignment>
bool cellAligned(EdActionList& list) {
    return hasCellVAlign(list, alignment);
}

bool wrapsWords(EdActionList& list) {
    return list.editor().lineWrapMode() != QTextEdit::NoWrap;
}

void toggleGrid(EdActionList& list) {
    list.editor().setShowTableGrid(!list.editor().showTableGrid());
}

bool showsGrid(EdActionList& list) {
    return list.editor().showTableGrid();
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
        {"edActionNew1", "&New Document", {}, Kind::Plain, newDocument},
        {"edActionOpen1", "&Open...", {"Ctrl+O"}, Kind::Plain, openDocument},
        {"edActionSave1", "&Save Document", {"Ctrl+S"}, Kind::Plain, saveDocument},
        {"edActionSaveAs1", "Save Document as...", {}, Kind::Plain, saveDocumentAs},
        {"edActionExport1", "&Export...", {}, Kind::Plain, exportDocument},
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
         pasteSpecial, W | NeedPaste},
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
         alignTo<Para::edaLeft>, W, alignedTo<Para::edaLeft>},
        {"edActionAlignRight1", "Align &Right", {}, Kind::Checkable,
         alignTo<Para::edaRight>, W, alignedTo<Para::edaRight>},
        {"edActionAlignCenter", "Align &Center", {}, Kind::Checkable,
         alignTo<Para::edaCenter>, W, alignedTo<Para::edaCenter>},
        {"edActionAlignJustify1", "&Justify", {}, Kind::Checkable,
         alignTo<Para::edaJustify>, W, alignedTo<Para::edaJustify>},
        {"edActionParaColor1", "Paragraph Back&ground Color...", {}, Kind::Plain, paraColor, W},
        {"edActionLineSpacing1001", "&Single Line Spacing", {}, Kind::Checkable,
         spaceLines<100>, W, linesSpaced<100>},
        {"edActionLineSpacing1501", "1.5 Li&ne Spacing", {}, Kind::Checkable,
         spaceLines<150>, W, linesSpaced<150>},
        {"edActionLineSpacing2001", "D&ouble Line Spacing", {}, Kind::Checkable,
         spaceLines<200>, W, linesSpaced<200>},
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
         toggleGrid, NeedNothing, showsGrid},
        {"edActionTableCellLeftBorder1", "&Left Border", {}, Kind::Checkable,
         toggleCellBorder<docprop::CellLeft>, T, cellBordered<docprop::CellLeft>},
        {"edActionTableCellRightBorder1", "&Right Border", {}, Kind::Checkable,
         toggleCellBorder<docprop::CellRight>, T, cellBordered<docprop::CellRight>},
        {"edActionTableCellTopBorder1", "&Top Border", {}, Kind::Checkable,
         toggleCellBorder<docprop::CellTop>, T, cellBordered<docprop::CellTop>},
        {"edActionTableCellBottomBorder1", "&Bottom Border", {}, Kind::Checkable,
         toggleCellBorder<docprop::CellBottom>, T, cellBordered<docprop::CellBottom>},
        {"edActionTableCellAllBorders1", "&All Borders", {}, Kind::Plain,
         [](EdActionList& l) { cellBorders(l, true); }, T},
        {"edActionTableCellNoBorders1", "&No Borders", {}, Kind::Plain,
         [](EdActionList& l) { cellBorders(l, false); }, T},
        // Doc Insert
        {"edActionInsertFile1", "&File...", {}, Kind::Plain, insertFile, W},
        {"edActionInsertPicture1", "&Picture...", {}, Kind::Plain, insertPicture, W},
        {"edActionInsertHLine1", "&Horizontal Line", {}, Kind::Plain, insertHLine, W},
        {"edActionInsertHyperlink1", "Hypertext &Link...", {}, Kind::Plain, insertHyperlink, W},
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
         directParas<Para::bdRightToLeft>, W, parasDirected<Para::bdRightToLeft>},
        {"edActionParaLTR1", "Left To Right", {}, Kind::Checkable,
         directParas<Para::bdLeftToRight>, W, parasDirected<Para::bdLeftToRight>},
        // clang-format on
    };
    return rows;
}
