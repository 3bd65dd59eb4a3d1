#include "docmodel/docproperties.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/vdocreader.h"
#include "docmodel/vdocwriter.h"
#include "editor/edactionlist.h"
#include "editor/edactiontable.h"
#include "editor/eddialogs.h"
#include "editor/edfilecommands.h"
#include "editor/edprint.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "editor/tedaction.h"
#include "support/sampledocument.h"
#include "supportui/scripteddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontDialog>
#include <QHash>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextList>
#include <QTextTable>
#include <QtMath>

namespace {

/// A small document: a plain paragraph, a heading, a 2x2 table and a last
/// paragraph, in an editor with its actions.
struct Sample {
    ScriptedDialogs dialogs;
    TDocEditor editor{dialogs};
    EdFileCommands files{editor};
    EdActionList actions{editor, files};

    Sample() {
        EdDocument& document = editor.edDocument();
        QTextCursor cursor = editor.textCursor();
        document.insertText(cursor, QStringLiteral("alpha beta gamma"), 0);
        cursor.insertBlock();
        document.insertText(cursor, QStringLiteral("Heading"), 1);
        cursor.insertBlock();
        QTextTable* table = document.insertTable(cursor, 2, 2);
        for (int cell = 0; cell < 4; ++cell) {
            QTextCursor inCell = table->cellAt(cell / 2, cell % 2).firstCursorPosition();
            document.insertText(inCell, QString(QChar(u'a' + cell)), 0);
        }
        cursor.movePosition(QTextCursor::End);
        document.insertText(cursor, QStringLiteral("end"), 0);
        editor.document()->clearUndoRedoStacks();
        editor.setDocumentModified(false);
        editor.resize(600, 400);
    }

    QTextTable* table() const {
        QTextCursor cursor(editor.document()->findBlockByNumber(3));
        return cursor.currentTable();
    }

    /// Puts the caret or the selection where an action is tried.
    void place(const QString& where) {
        QTextCursor cursor = editor.textCursor();
        if (where == QLatin1String("caret")) {
            cursor.setPosition(2);
        } else if (where == QLatin1String("word")) {
            cursor.setPosition(6);
            cursor.setPosition(10, QTextCursor::KeepAnchor);
        } else if (where == QLatin1String("heading")) {
            cursor.setPosition(editor.document()->findBlockByNumber(1).position() + 3);
        } else if (where == QLatin1String("cell")) {
            cursor = table()->cellAt(0, 0).lastCursorPosition();
        } else if (where == QLatin1String("cells")) {
            cursor.setPosition(table()->cellAt(0, 0).firstPosition());
            cursor.setPosition(table()->cellAt(0, 1).lastPosition(), QTextCursor::KeepAnchor);
        } else if (where == QLatin1String("merged")) {
            table()->mergeCells(0, 0, 1, 2);
            cursor = table()->cellAt(0, 0).lastCursorPosition();
        } else if (where == QLatin1String("rtl")) {
            cursor.setPosition(2);
            editor.edDocument().changeParaStyle(cursor, [](TParaStyleInfo& info) {
                info.BiDiMode = TParaStyleInfo::bdRightToLeft;
                info.Alignment = TParaStyleInfo::edaRight;
            });
        } else if (where == QLatin1String("borderless") ||
                   where == QLatin1String("borderless cells")) {
            // A table without a grid of its own: its cells' borders are theirs.
            cursor = table()->cellAt(0, 0).lastCursorPosition();
            editor.edDocument().setTableFrame(cursor, 0, 2, 2);
            if (where == QLatin1String("borderless cells")) {
                place(QStringLiteral("cells"));
                return;
            }
        } else if (where == QLatin1String("table")) {
            cursor.setPosition(table()->cellAt(0, 0).firstPosition());
            cursor.setPosition(table()->cellAt(1, 1).lastPosition(), QTextCursor::KeepAnchor);
        } else if (where == QLatin1String("line")) {
            // A line after "al"; the caret on it.
            cursor.setPosition(2);
            editor.edDocument().insertHLine(cursor);
            cursor.movePosition(QTextCursor::PreviousBlock);
        } else if (where == QLatin1String("bordered")) {
            // A borderless table whose first cell has a left border of its
            // own; the caret in it.
            place(QStringLiteral("borderless"));
            QTextTableCell first = table()->cellAt(0, 0);
            QTextCharFormat format = first.format();
            docprop::setCellBorder(format, docprop::CellLeft,
                                   {2, QTextFrameFormat::BorderStyle_Solid, QColor(Qt::blue)});
            first.setFormat(format);
            cursor = first.lastCursorPosition();
        } else if (where == QLatin1String("bordered cells")) {
            place(QStringLiteral("bordered"));
            place(QStringLiteral("cells"));
            return;
        } else if (where == QLatin1String("pagebreak")) {
            cursor.setPosition(editor.document()->findBlockByNumber(1).position());
            editor.edDocument().insertPageBreak(cursor);
        } else if (where == QLatin1String("picture")) {
            DocPicture picture;
            picture.bytes = sampledocument::pngBytes(4, 3);
            picture.format = "png";
            cursor.setPosition(0);
            editor.edDocument().insertPicture(cursor, picture);
        } else if (where == QLatin1String("copied")) {
            cursor.setPosition(6);
            cursor.setPosition(10, QTextCursor::KeepAnchor);
            editor.setTextCursor(cursor);
            editor.copy();
            cursor.setPosition(0);
        } else if (where == QLatin1String("edited") || where == QLatin1String("undone")) {
            cursor.setPosition(0);
            editor.setTextCursor(cursor);
            QTest::keyClicks(&editor, QStringLiteral("X"));
            if (where == QLatin1String("undone"))
                editor.undo();
            cursor = editor.textCursor();
        }
        editor.setTextCursor(cursor);
        actions.updateState();
    }
};

QString colorName(const QColor& color) {
    return color.isValid() ? color.name() : QStringLiteral("none");
}

/// What an action changed, seen through the model.
QString observe(Sample& sample, const QString& what, const QString& folder) {
    TDocEditor& editor = sample.editor;
    if (what == QLatin1String("font")) {
        QTextCursor at(editor.document());
        at.setPosition(8);
        const TTextStyleInfo& style =
            editor.Style().TextStyles.at(at.charFormat().intProperty(docprop::StyleNo));
        QStringList out{QString::number(style.Size)};
        const char* names[] = {"bold", "italic", "underline", "strike"};
        for (int bit = 0; bit < 4; ++bit) {
            if (style.Style & (1 << bit))
                out << QLatin1String(names[bit]);
        }
        if (style.AllCaps)
            out << QStringLiteral("caps");
        if (style.Overline)
            out << QStringLiteral("over");
        if (style.Color.isValid())
            out << QStringLiteral("color=") + style.Color.name();
        if (style.BackColor.isValid())
            out << QStringLiteral("back=") + style.BackColor.name();
        return out.join(QLatin1Char(' '));
    }
    if (what == QLatin1String("para")) {
        const QTextBlock block = editor.document()->begin();
        const TParaStyleInfo& para =
            editor.Style().ParaStyles.at(block.blockFormat().intProperty(docprop::ParaNo));
        return QStringLiteral("align=%1 left=%2 spacing=%3 bg=%4")
            .arg(para.Alignment)
            .arg(para.LeftIndent)
            .arg(para.LineSpacing)
            .arg(colorName(para.Background));
    }
    if (what == QLatin1String("direction")) {
        // The first two paragraphs: shown direction, stored direction, alignment.
        QStringList out;
        for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
            const TParaStyleInfo& para =
                editor.Style().ParaStyles.at(block.blockFormat().intProperty(docprop::ParaNo));
            out << QStringLiteral("%1%2%3")
                       .arg(QLatin1String(block.textDirection() == Qt::RightToLeft ? "R" : "L"))
                       .arg(para.BiDiMode)
                       .arg(para.Alignment);
            if (block.text() == QLatin1String("Heading"))
                break;
        }
        return out.join(QLatin1Char(' '));
    }
    if (what == QLatin1String("borders")) {
        // Left, top, right and bottom border widths of the first row's cells.
        QStringList out;
        for (int column = 0; column < 2; ++column) {
            const QTextCharFormat format = sample.table()->cellAt(0, column).format();
            QString widths;
            for (int side = docprop::CellLeft; side <= docprop::CellBottom; ++side)
                widths += QString::number(docprop::cellBorder(format, side).width);
            out << widths;
        }
        return out.join(QLatin1Char(' '));
    }
    if (what == QLatin1String("line")) {
        const QString html = HtmlFragmentExporter(editor.edDocument()).toHtml();
        return QRegularExpression(QStringLiteral("<hr[^>]*>")).match(html).captured(0);
    }
    if (what == QLatin1String("clipboard"))
        return QGuiApplication::clipboard()->text();
    if (what == QLatin1String("print")) {
        // The print dialog, or without a printer the offer of a PDF file.
        for (const QString& shown : sample.dialogs.shown) {
            if (shown == QLatin1String("modal: PrintDialog") ||
                shown.startsWith(QLatin1String("yesno: No printer is available.")))
                return QStringLiteral("asked");
        }
        return sample.dialogs.shown.join(QStringLiteral(" / "));
    }
    if (what == QLatin1String("frame")) {
        const QTextBlock block = editor.document()->begin();
        const TParaStyleInfo& para =
            editor.Style().ParaStyles.at(block.blockFormat().intProperty(docprop::ParaNo));
        return QStringLiteral("border=%1 color=%2 bg=%3 left=%4")
            .arg(para.BorderWidth)
            .arg(colorName(para.BorderColor))
            .arg(colorName(para.Background))
            .arg(para.LeftIndent);
    }
    if (what == QLatin1String("list")) {
        const QTextList* list = editor.document()->begin().textList();
        return list
                   ? QString::number(editor.Style()
                                         .ListStyles.at(list->format().intProperty(docprop::ListNo))
                                         .ListType)
                   : QStringLiteral("none");
    }
    if (what == QLatin1String("list level")) {
        const QTextList* list = editor.document()->begin().textList();
        return list ? QStringLiteral("%1/%2")
                          .arg(editor.Style()
                                   .ListStyles.at(list->format().intProperty(docprop::ListNo))
                                   .ListType)
                          .arg(list->format().intProperty(docprop::ListLevel))
                    : QStringLiteral("none");
    }
    if (what == QLatin1String("table")) {
        QTextTable* table = sample.table();
        if (!table)
            return QStringLiteral("none");
        const QTextTableCell cell = table->cellAt(0, 0);
        return QStringLiteral("%1x%2 span=%3,%4 valign=%5 border=%6 pad=%7 bg=%8")
            .arg(table->rows())
            .arg(table->columns())
            .arg(cell.rowSpan())
            .arg(cell.columnSpan())
            .arg(cell.format().verticalAlignment())
            .arg(table->format().border())
            .arg(table->format().cellPadding())
            .arg(cell.format().background().style() == Qt::NoBrush
                     ? QStringLiteral("none")
                     : cell.format().background().color().name());
    }
    if (what == QLatin1String("text")) {
        QStringList blocks;
        for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next()) {
            QString text = block.text();
            text.replace(QChar::ObjectReplacementCharacter, QLatin1Char('*'));
            if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                text.prepend(QLatin1Char('^'));
            if (block.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
                text.append(QStringLiteral("--"));
            blocks << text;
        }
        return blocks.join(QLatin1Char('|'));
    }
    if (what == QLatin1String("picture")) {
        DocPicture picture;
        if (!editor.edDocument().ItemPicture(editor.edDocument().rootData(), 0, picture))
            return QStringLiteral("none");
        return QStringLiteral("%1x%2").arg(picture.width).arg(picture.height);
    }
    if (what == QLatin1String("dialogs"))
        return sample.dialogs.shown.join(QStringLiteral(" / "));
    if (what == QLatin1String("selection"))
        // Paragraph and table boundaries alike as "|".
        return editor.textCursor().selectedText().replace(
            QRegularExpression(QStringLiteral("[\\x{2029}\\x{fdd0}\\x{fdd1}]")),
            QStringLiteral("|"));
    if (what == QLatin1String("background"))
        return colorName(editor.edDocument().backgroundColor());
    if (what == QLatin1String("view"))
        return QStringLiteral("wrap=%1 marks=%2 grid=%3")
            .arg(editor.lineWrapMode() != QTextEdit::NoWrap)
            .arg(bool(editor.document()->defaultTextOption().flags() &
                      QTextOption::ShowTabsAndSpaces))
            .arg(editor.showTableGrid());
    if (what == QLatin1String("text export")) {
        // The first line; a picture leaves no placeholder in it.
        QFile file(folder + QStringLiteral("/out.txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine()).trimmed()
                                              : QStringLiteral("missing");
    }
    if (what == QLatin1String("export")) {
        QFile file(folder + QStringLiteral("/out.html"));
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("alpha beta gamma")
                   ? QStringLiteral("written")
                   : QStringLiteral("missing");
    }
    return QStringLiteral("unknown probe ") + what;
}

/// Fills a dialog of the editor as a user would: "kind:argument".
std::function<int(QDialog&)> modalAnswer(const QString& answer) {
    const QString kind = answer.section(QLatin1Char(':'), 0, 0);
    const QString argument = answer.section(QLatin1Char(':'), 1);
    return [kind, argument](QDialog& dialog) -> int {
        if (auto* find = qobject_cast<EdFindDialog*>(&dialog)) {
            find->setText(argument.section(QLatin1Char('>'), 0, 0));
            find->setReplacement(argument.section(QLatin1Char('>'), 1));
            find->setWholeWord(kind.contains(QLatin1String("word")));
            find->setMatchCase(kind.contains(QLatin1String("case")));
            return kind.startsWith(QLatin1String("replaceall")) ? EdFindDialog::ReplaceAll
                   : kind.startsWith(QLatin1String("replace"))  ? EdFindDialog::ReplaceOne
                                                                : EdFindDialog::FindNext;
        }
        if (auto* paragraph = qobject_cast<EdParagraphDialog*>(&dialog)) {
            paragraph->alignment->setCurrentIndex(TParaStyleInfo::edaCenter);
            paragraph->leftIndent->setValue(argument.toInt());
            paragraph->lineSpacing->setCurrentIndex(2);
        } else if (auto* frame = qobject_cast<EdParaBorderDialog*>(&dialog)) {
            // The width typed, then each colour button clicked: the colour
            // dialogs answer from their own queue.
            frame->borderWidth->setValue(argument.toInt());
            for (const char* button : {"borderColor", "background"})
                frame->findChild<QPushButton*>(QLatin1String(button))->click();
            if (kind.contains(QLatin1String("nobg")))
                frame->findChild<QPushButton*>(QStringLiteral("noBackground"))->click();
        } else if (auto* line = qobject_cast<EdLineDialog*>(&dialog)) {
            line->lineWidth->setValue(argument.toInt());
            line->findChild<QPushButton*>(QStringLiteral("lineColor"))->click();
        } else if (auto* size = qobject_cast<EdSizeDialog*>(&dialog)) {
            size->rows->setValue(argument.section(QLatin1Char('x'), 0, 0).toInt());
            size->columns->setValue(argument.section(QLatin1Char('x'), 1).toInt());
        } else if (auto* table = qobject_cast<EdTablePropertiesDialog*>(&dialog)) {
            table->border->setValue(argument.section(QLatin1Char(','), 0, 0).toInt());
            table->padding->setValue(argument.section(QLatin1Char(','), 1, 1).toInt());
        } else if (auto* letterCase = qobject_cast<EdCharCaseDialog*>(&dialog)) {
            letterCase->choose(EdCharCaseDialog::Case(argument.toInt()));
        } else if (auto* symbol = qobject_cast<EdSymbolDialog*>(&dialog)) {
            symbol->setSymbol(QChar(argument.toUShort(nullptr, 16)));
        } else if (auto* list = qobject_cast<EdListDialog*>(&dialog);
                   list && kind == QLatin1String("list")) {
            list->choose(argument.section(QLatin1Char(','), 0, 0).toInt());
            list->level->setValue(argument.section(QLatin1Char(','), 1).toInt());
        } else if (auto* choice = qobject_cast<EdChoiceDialog*>(&dialog)) {
            choice->choose(argument.toInt());
        } else if (kind != QLatin1String("accept")) {
            return QDialog::Rejected;
        }
        return QDialog::Accepted;
    };
}

/// Queues the user's answers: "modal:kind:arg", "color:#rrggbb", "file:name"
/// (%DIR% is the test's folder), "yes", separated by ";".
void script(ScriptedDialogs& dialogs, const QString& answers, const QString& folder) {
    for (QString answer : answers.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        answer.replace(QStringLiteral("%DIR%"), folder);
        if (answer.startsWith(QLatin1String("modal:")))
            dialogs.modalActions.enqueue(modalAnswer(answer.mid(6)));
        else if (answer.startsWith(QLatin1String("color:")))
            dialogs.colors.enqueue(QColor(answer.mid(6)));
        else if (answer.startsWith(QLatin1String("file:")))
            dialogs.fileNames.enqueue(answer.mid(5));
        else if (answer == QLatin1String("yes"))
            dialogs.answers.enqueue(UserDialogs::Answer::Yes);
    }
}

const EdActionRow* rowOf(const QString& name) {
    for (const EdActionRow& row : edActionTable()) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

/// The seller opens the dialog, types at once into whatever has the
/// keyboard there, and closes it.
void typeIntoDialog(QDialog& dialog, const QString& text) {
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }))
        qWarning("the dialog did not become active");
    if (QWidget* focus = QApplication::focusWidget())
        QTest::keyClicks(focus, text);
    dialog.hide();
}

/// A PNG file of that size holding only its header and the start of its
/// data: enough for a reader to learn the size, far too little to decode.
QByteArray pngHeaderOnly(quint32 width, quint32 height) {
    const auto crc = [](const QByteArray& bytes) {
        quint32 value = 0xFFFFFFFFu;
        for (char byte : bytes) {
            value ^= quint8(byte);
            for (int bit = 0; bit < 8; ++bit)
                value = (value >> 1) ^ (0xEDB88320u & (0u - (value & 1u)));
        }
        return ~value;
    };
    const auto be32 = [](quint32 value) {
        QByteArray out(4, '\0');
        for (int i = 0; i < 4; ++i)
            out[i] = char((value >> (24 - 8 * i)) & 0xFF);
        return out;
    };
    const auto chunk = [&](const QByteArray& type, const QByteArray& data) {
        return be32(quint32(data.size())) + type + data + be32(crc(type + data));
    };
    // 8-bit grey, no interlace.
    const QByteArray header = be32(width) + be32(height) + QByteArray("\x08\x00\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", QByteArray(8, '\0')) + chunk("IEND", {});
}

} // namespace

class TestEditorActions : public QObject {
    Q_OBJECT

private slots:
    void init();
    void actionChangesTheModel_data();
    void actionChangesTheModel();
    void changesSurviveTheDocumentFile_data();
    void changesSurviveTheDocumentFile();
    void readOnlyDocumentStaysByteIdentical_data();
    void readOnlyDocumentStaysByteIdentical();
    void keysReachTheirActions_data();
    void keysReachTheirActions();
    void stateFollowsTheCaret_data();
    void stateFollowsTheCaret();
    void pasteComesWithTheEditorsWindow();
    void popupMenuFitsTheClickedPlace_data();
    void popupMenuFitsTheClickedPlace();
    void linkDialogFieldsHoldAWholeAddress();
    void gridLinesShowBorderlessCells_data();
    void gridLinesShowBorderlessCells();
    void printsToPdfWithFixedMargins_data();
    void printsToPdfWithFixedMargins();
    void printsBordersAndLinesAsDrawn_data();
    void printsBordersAndLinesAsDrawn();
    void withoutPrinterOffersAPdfFile_data();
    void withoutPrinterOffersAPdfFile();
    void insertFileReadsKnownFormatsUpTo50MB_data();
    void insertFileReadsKnownFormatsUpTo50MB();
    void largePicturesAreInsertedToFitThePage_data();
    void largePicturesAreInsertedToFitThePage();
    void pictureSizeKeepsItsProportions_data();
    void pictureSizeKeepsItsProportions();
    void backgroundShownIsTheBackgroundExported_data();
    void backgroundShownIsTheBackgroundExported();
    void tablesAreMadeOnlyAsTheFileKeepsThem_data();
    void tablesAreMadeOnlyAsTheFileKeepsThem();
    void fontDialogAppliesOnlyWhatWasChanged_data();
    void fontDialogAppliesOnlyWhatWasChanged();
    void typingInASizeDialogReplacesTheNumberShown_data();
    void typingInASizeDialogReplacesTheNumberShown();
    void typingInTheFindBoxReplacesTheTermShown_data();
    void typingInTheFindBoxReplacesTheTermShown();

private:
    QTemporaryDir m_folder;
};

void TestEditorActions::init() {
    QGuiApplication::clipboard()->clear();
}

void TestEditorActions::actionChangesTheModel_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    const QString text = QStringLiteral("alpha beta gamma|Heading||a|b|c|d|end");
    auto row = [](const char* name, const char* place, const char* answers, const char* probe,
                  const QString& expected) {
        QTest::addRow("%s at %s", name, place)
            << QString::fromLatin1(name) << QString::fromLatin1(place)
            << QString::fromLatin1(answers) << QString::fromLatin1(probe) << expected;
    };
    // Files and printing: dialogs through the seam; cancelled, nothing changes.
    row("edActionNew1", "word", "", "text", QString());
    row("edActionOpen1", "word", "", "dialogs", QStringLiteral("open: Open"));
    row("edActionSave1", "word", "", "dialogs", QStringLiteral("save: Save As"));
    row("edActionSaveAs1", "word", "", "dialogs", QStringLiteral("save: Save As"));
    row("edActionExport1", "word", "file:%DIR%/out.html", "export", QStringLiteral("written"));
    row("edActionExport1", "picture", "file:%DIR%/out.txt", "text export",
        QStringLiteral("alpha beta gamma"));
    row("edActionPrintPreview1", "word", "", "dialogs",
        QStringLiteral("modal: PrintPreviewDialog"));
    row("edActionPageSetup1", "word", "", "dialogs", QStringLiteral("modal: PageSetupDialog"));
    // Editing.
    row("edActionCut1", "word", "", "text", QStringLiteral("alpha  gamma|Heading||a|b|c|d|end"));
    row("edActionCopy1", "word", "", "text", text);
    row("edActionPaste1", "copied", "", "text",
        QStringLiteral("betaalpha beta gamma|Heading||a|b|c|d|end"));
    row("edActionPasteSpecial1", "copied", "modal:choice:0", "text",
        QStringLiteral("betaalpha beta gamma|Heading||a|b|c|d|end"));
    row("edActionSelectAll1", "caret", "", "selection",
        QStringLiteral("alpha beta gamma|Heading||a|b|c|d|end"));
    row("edActionUndo1", "edited", "", "text", text);
    row("edActionRedo1", "undone", "", "text",
        QStringLiteral("Xalpha beta gamma|Heading||a|b|c|d|end"));
    row("edActionFind1", "caret", "modal:find:gamma", "selection", QStringLiteral("gamma"));
    row("edActionFind1", "caret", "modal:find-word:gam", "dialogs",
        QStringLiteral("modal: FindDialog / message: Cannot find \"gam\"."));
    row("edActionFind1", "word", "modal:find:alpha", "selection", QStringLiteral("alpha"));
    row("edActionFindNext1", "caret", "modal:find:beta", "selection", QStringLiteral("beta"));
    row("edActionReplace1", "caret", "modal:replaceall:a>o", "dialogs",
        QStringLiteral("modal: ReplaceDialog / message: 7 occurrences replaced."));
    row("edActionReplace1", "caret", "modal:replaceall-case:Heading>Title", "text",
        QStringLiteral("alpha beta gamma|Title||a|b|c|d|end"));
    row("edActionReplace1", "word", "modal:replace:beta>BETA", "text",
        QStringLiteral("alpha BETA gamma|Heading||a|b|c|d|end"));
    row("edActionCharCase1", "word", "modal:case:2", "text",
        QStringLiteral("alpha BETA gamma|Heading||a|b|c|d|end"));
    row("edActionCharCase1", "caret", "modal:case:3", "text",
        QStringLiteral("Alpha beta gamma|Heading||a|b|c|d|end"));
    // Text.
    row("edActionFonts1", "word", "", "dialogs", QStringLiteral("modal: FontDialog"));
    row("edActionFontBold1", "word", "", "font", QStringLiteral("10 bold"));
    row("edActionFontItalic1", "word", "", "font", QStringLiteral("10 italic"));
    row("edActionFontUnderline1", "word", "", "font", QStringLiteral("10 underline"));
    row("edActionFontStrikeout1", "word", "", "font", QStringLiteral("10 strike"));
    row("edActionFontGrow1", "word", "", "font", QStringLiteral("11"));
    row("edActionFontShrink1", "word", "", "font", QStringLiteral("9"));
    row("edActionFontGrowOnePoint1", "word", "", "font", QStringLiteral("11"));
    row("edActionFontShrinkOnePoint1", "word", "", "font", QStringLiteral("9"));
    row("edActionFontAllCaps1", "word", "", "font", QStringLiteral("10 caps"));
    row("edActionFontOverline1", "word", "", "font", QStringLiteral("10 over"));
    row("edActionFontColor1", "word", "color:#ff0000", "font", QStringLiteral("10 color=#ff0000"));
    row("edActionFontBackColor1", "word", "color:#00ff00", "font",
        QStringLiteral("10 back=#00ff00"));
    // Paragraphs.
    const QString plain = QStringLiteral("align=0 left=0 spacing=100 bg=none");
    row("edActionParagraph1", "caret", "modal:para:30", "para",
        QStringLiteral("align=2 left=30 spacing=200 bg=none"));
    row("edActionIndentInc1", "caret", "", "para",
        QStringLiteral("align=0 left=24 spacing=100 bg=none"));
    row("edActionIndentDec1", "caret", "", "para", plain);
    row("edActionWordWrap1", "caret", "", "view", QStringLiteral("wrap=0 marks=0 grid=1"));
    row("edActionTableGrid1", "caret", "", "view", QStringLiteral("wrap=1 marks=0 grid=0"));
    row("edActionAlignLeft1", "caret", "", "para", plain);
    row("edActionAlignRight1", "caret", "", "para",
        QStringLiteral("align=1 left=0 spacing=100 bg=none"));
    row("edActionAlignCenter", "caret", "", "para",
        QStringLiteral("align=2 left=0 spacing=100 bg=none"));
    row("edActionAlignJustify1", "caret", "", "para",
        QStringLiteral("align=3 left=0 spacing=100 bg=none"));
    row("edActionParaColor1", "caret", "color:#ffff00", "para",
        QStringLiteral("align=0 left=0 spacing=100 bg=#ffff00"));
    row("edActionLineSpacing1501", "caret", "", "para",
        QStringLiteral("align=0 left=0 spacing=150 bg=none"));
    row("edActionLineSpacing2001", "caret", "", "para",
        QStringLiteral("align=0 left=0 spacing=200 bg=none"));
    row("edActionLineSpacing1001", "caret", "", "para", plain);
    row("edActionParaBorder1", "caret", "modal:border:2;color:#ff0000;color:#00ff00", "frame",
        QStringLiteral("border=2 color=#ff0000 bg=#00ff00 left=0"));
    row("edActionParaBorder1", "caret", "modal:border:3", "frame",
        QStringLiteral("border=3 color=#000000 bg=none left=0"));
    row("edActionParaBorder1", "caret", "modal:border-nobg:0;color:#ff0000;color:#00ff00", "frame",
        QStringLiteral("border=0 color=none bg=none left=0"));
    row("edActionParaBorder1", "caret", "", "frame",
        QStringLiteral("border=0 color=none bg=none left=0"));
    // Directions: shown direction, stored direction, alignment of the first
    // two paragraphs. Text directions also move the text to its start side.
    row("edActionParaRTL1", "caret", "", "direction", QStringLiteral("R20 L00"));
    row("edActionTextRTL1", "caret", "", "direction", QStringLiteral("R21 L00"));
    row("edActionParaLTR1", "rtl", "", "direction", QStringLiteral("L11 L00"));
    row("edActionTextLTR1", "rtl", "", "direction", QStringLiteral("L10 L00"));
    row("edActionParaLTR1", "caret", "", "direction", QStringLiteral("L10 L00"));
    // Lists.
    row("edActionParaList1", "caret", "modal:choice:3", "list", QStringLiteral("2"));
    row("edActionParaList1", "caret", "modal:list:2,3", "list level", QStringLiteral("1/2"));
    row("edActionParaBullets1", "caret", "", "list", QStringLiteral("0"));
    row("edActionParaNumbering1", "caret", "", "list", QStringLiteral("1"));
    // Tables.
    const QString table = QStringLiteral("2x2 span=1,1 valign=0 border=1 pad=2 bg=none");
    row("edActionInsertTable1", "caret", "modal:size:3x4", "text",
        QStringLiteral("al|||||||||||||pha beta gamma|Heading||a|b|c|d|end"));
    row("edActionTableInsertRowsAbove1", "cell", "", "table",
        QStringLiteral("3x2 span=1,1 valign=0 border=1 pad=2 bg=none"));
    row("edActionTableInsertRowsBelow1", "cell", "", "table",
        QStringLiteral("3x2 span=1,1 valign=0 border=1 pad=2 bg=none"));
    row("edActionTableInsertColLeft1", "cell", "", "table",
        QStringLiteral("2x3 span=1,1 valign=0 border=1 pad=2 bg=none"));
    row("edActionTableInsertColRight1", "cell", "", "table",
        QStringLiteral("2x3 span=1,1 valign=0 border=1 pad=2 bg=none"));
    row("edActionTableDeleteRows1", "cell", "", "text",
        QStringLiteral("alpha beta gamma|Heading||c|d|end"));
    row("edActionTableDeleteCols1", "cell", "", "text",
        QStringLiteral("alpha beta gamma|Heading||b|d|end"));
    row("edActionTableDeleteRows1", "cells", "", "text",
        QStringLiteral("alpha beta gamma|Heading||c|d|end"));
    row("edActionTableDeleteTable1", "cell", "", "table", QStringLiteral("none"));
    row("edActionTableMergeCells1", "cells", "", "table",
        QStringLiteral("2x2 span=1,2 valign=0 border=1 pad=2 bg=none"));
    row("edActionTableSplitCells1", "merged", "modal:size:1x2", "table", table);
    row("edActionTableSelectTable1", "cell", "", "selection", QStringLiteral("abcd"));
    row("edActionTableSelectRows1", "cell", "", "selection", QStringLiteral("ab"));
    row("edActionTableSelectCols1", "cell", "", "selection", QStringLiteral("ac"));
    row("edActionTableSelectCell1", "cell", "", "selection", QStringLiteral("a"));
    row("edActionTableCellVAlignTop1", "cell", "", "table",
        QStringLiteral("2x2 span=1,1 valign=4 border=1 pad=2 bg=none"));
    row("edActionTableCellVAlignMiddle1", "cell", "", "table",
        QStringLiteral("2x2 span=1,1 valign=3 border=1 pad=2 bg=none"));
    row("edActionTableCellVAlignBottom1", "cell", "", "table",
        QStringLiteral("2x2 span=1,1 valign=5 border=1 pad=2 bg=none"));
    row("edActionTableCellVAlignDefault1", "cell", "", "table", table);
    row("edActionTableProperties1", "cell", "modal:table:3,5", "table",
        QStringLiteral("2x2 span=1,1 valign=0 border=3 pad=5 bg=none"));
    // A table's grid borders all its cells alike: to leave a cell out, it
    // becomes borders of the cells' own.
    row("edActionTableCellNoBorders1", "cell", "", "table",
        QStringLiteral("2x2 span=1,1 valign=0 border=0 pad=2 bg=none"));
    row("edActionTableCellNoBorders1", "cell", "", "borders", QStringLiteral("0000 1111"));
    row("edActionTableCellNoBorders1", "table", "", "borders", QStringLiteral("0000 0000"));
    row("edActionTableCellNoBorders1", "borderless", "", "borders", QStringLiteral("0000 0000"));
    row("edActionTableCellAllBorders1", "cell", "", "table", table);
    row("edActionTableCellAllBorders1", "borderless cells", "", "borders",
        QStringLiteral("1111 1111"));
    row("edActionTableCellAllBorders1", "bordered", "", "borders", QStringLiteral("1111 0000"));
    // Cell sides: on where a selected cell lacks it, off where all have it.
    row("edActionTableCellLeftBorder1", "borderless", "", "borders", QStringLiteral("1000 0000"));
    row("edActionTableCellLeftBorder1", "cell", "", "borders", QStringLiteral("0111 1111"));
    row("edActionTableCellTopBorder1", "borderless", "", "borders", QStringLiteral("0100 0000"));
    row("edActionTableCellRightBorder1", "borderless cells", "", "borders",
        QStringLiteral("0010 0010"));
    row("edActionTableCellBottomBorder1", "borderless cells", "", "borders",
        QStringLiteral("0001 0001"));
    row("edActionTableCellBottomBorder1", "cells", "", "borders", QStringLiteral("1110 1110"));
    row("edActionTableCellLeftBorder1", "bordered", "", "borders", QStringLiteral("0000 0000"));
    row("edActionTableCellLeftBorder1", "bordered cells", "", "borders",
        QStringLiteral("1000 1000"));
    row("edActionTableCellTopBorder1", "bordered", "", "borders", QStringLiteral("2100 0000"));
    // Insert.
    row("edActionInsertHLine1", "caret", "", "text",
        QStringLiteral("al|--|pha beta gamma|Heading||a|b|c|d|end"));
    row("edActionInsertSymbol1", "caret", "modal:symbol:A9", "text",
        QStringLiteral("al\u00a9pha beta gamma|Heading||a|b|c|d|end"));
    row("edActionInsertHyperlink1", "word", "", "dialogs",
        QStringLiteral("modal: HyperlinkDialog"));
    row("edActionInsertPicture1", "word", "", "dialogs", QStringLiteral("open: Insert Picture"));
    row("edActionInsertFile1", "word", "", "dialogs", QStringLiteral("open: Insert File"));
    // Miscellaneous.
    row("edActionColor1", "caret", "color:#123456", "background", QStringLiteral("#123456"));
    row("edActionFillColor1", "cell", "color:#654321", "table",
        QStringLiteral("2x2 span=1,1 valign=0 border=1 pad=2 bg=#654321"));
    row("edActionFillColor1", "caret", "color:#654321", "para",
        QStringLiteral("align=0 left=0 spacing=100 bg=#654321"));
    row("edActionInsertPageBreak1", "caret", "", "text",
        QStringLiteral("al|^pha beta gamma|Heading||a|b|c|d|end"));
    // The break goes; the paragraph it was put before stays.
    row("edActionRemovePageBreak1", "pagebreak", "", "text",
        QStringLiteral("alpha beta gamma||Heading||a|b|c|d|end"));
    row("edActionItemProperties1", "cell", "", "dialogs",
        QStringLiteral("modal: TablePropertiesDialog"));
    row("edActionItemProperties1", "picture", "modal:size:30x40", "picture",
        QStringLiteral("40x30"));
    row("edActionItemProperties1", "line", "modal:line:5;color:#0000ff", "line",
        QStringLiteral("<hr style=\"height: 5px; border: none; color: #0000FF; "
                       "background-color: #0000FF\">"));
    row("edActionItemProperties1", "line", "", "dialogs",
        QStringLiteral("modal: LinePropertiesDialog"));
    row("edActionItemProperties1", "caret", "modal:para:0", "para",
        QStringLiteral("align=2 left=0 spacing=200 bg=none"));
    row("edActionBackground1", "caret", "modal:choice:1;color:#abcdef", "background",
        QStringLiteral("#abcdef"));
    row("edActionShowSpecialCharacters1", "caret", "", "view",
        QStringLiteral("wrap=1 marks=1 grid=1"));
}

void TestEditorActions::actionChangesTheModel() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    QFETCH(QString, answers);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    Sample sample;
    sample.place(place);
    script(sample.dialogs, answers, m_folder.path());
    TedAction* action = sample.actions.action(name);
    QVERIFY(action);
    QVERIFY2(action->isEnabled(), qPrintable(name + QStringLiteral(" disabled at ") + place));
    action->trigger();
    QCOMPARE(observe(sample, probe, m_folder.path()), expected);
}

void TestEditorActions::changesSurviveTheDocumentFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("answers");
    for (const char* name :
         {"edActionFontBold1", "edActionFontAllCaps1", "edActionFontOverline1", "edActionFontGrow1",
          "edActionAlignCenter", "edActionIndentInc1", "edActionLineSpacing1501",
          "edActionParaBullets1", "edActionParaNumbering1", "edActionInsertHLine1",
          "edActionInsertPageBreak1", "edActionInsertSymbol1", "edActionTextRTL1",
          "edActionParaRTL1", "edActionParaLTR1"})
        QTest::addRow("%s", name) << QString::fromLatin1(name) << "word"
                                  << "modal:symbol:2122";
    QTest::newRow("paragraph color") << "edActionParaColor1"
                                     << "word"
                                     << "color:#ffff00";
    QTest::newRow("text color") << "edActionFontColor1"
                                << "word"
                                << "color:#ff0000";
    QTest::newRow("text background") << "edActionFontBackColor1"
                                     << "word"
                                     << "color:#00ff00";
    QTest::newRow("document background") << "edActionColor1"
                                         << "word"
                                         << "color:#123456";
    QTest::newRow("paragraph border") << "edActionParaBorder1"
                                      << "word"
                                      << "modal:border:4;color:#0000ff;color:#ffff00";
    QTest::newRow("paragraph dialog") << "edActionParagraph1"
                                      << "word"
                                      << "modal:para:40";
    QTest::newRow("list level") << "edActionParaList1"
                                << "word"
                                << "modal:list:1,2";
    QTest::newRow("letter case") << "edActionCharCase1"
                                 << "word"
                                 << "modal:case:2";
    for (const char* name : {"edActionTableInsertRowsBelow1", "edActionTableInsertColRight1",
                             "edActionTableDeleteRows1", "edActionTableCellVAlignMiddle1",
                             "edActionTableCellVAlignBottom1", "edActionTableCellNoBorders1",
                             "edActionTableCellLeftBorder1", "edActionTableCellRightBorder1",
                             "edActionTableCellTopBorder1", "edActionTableCellBottomBorder1"})
        QTest::addRow("%s", name) << QString::fromLatin1(name) << "cell"
                                  << "";
    QTest::newRow("merged cells") << "edActionTableMergeCells1"
                                  << "cells"
                                  << "";
    QTest::newRow("table properties") << "edActionTableProperties1"
                                      << "cell"
                                      << "modal:table:4,6";
    QTest::newRow("line properties") << "edActionItemProperties1"
                                     << "line"
                                     << "modal:line:7;color:#00ff00";
    QTest::newRow("all borders") << "edActionTableCellAllBorders1"
                                 << "borderless cells"
                                 << "";
    QTest::newRow("cell fill") << "edActionFillColor1"
                               << "cell"
                               << "color:#654321";
}

void TestEditorActions::changesSurviveTheDocumentFile() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    QFETCH(QString, answers);
    Sample sample;
    sample.place(place);
    script(sample.dialogs, answers, m_folder.path());
    const QString unchanged = sampledocument::dump(sample.editor.edDocument());
    sample.actions.action(name)->trigger();
    const QString changed = sampledocument::dump(sample.editor.edDocument());
    QVERIFY(changed != unchanged);
    EdDocument reread;
    QVERIFY(VDocReader::read(VDocWriter::write(sample.editor.edDocument()), reread));
    QCOMPARE(sampledocument::dump(reread), changed);
}

void TestEditorActions::readOnlyDocumentStaysByteIdentical_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    for (const char* place : {"word", "cell", "cells", "line", "picture"}) {
        for (const EdActionRow& row : edActionTable())
            QTest::addRow("%s at %s", row.name, place)
                << QString::fromLatin1(row.name) << QString::fromLatin1(place);
    }
}

void TestEditorActions::readOnlyDocumentStaysByteIdentical() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    Sample sample;
    sample.place(place);
    sample.editor.copy();
    // Modified, so New and Open ask first; every question is cancelled.
    sample.editor.setDocumentModified(true);
    sample.editor.setReadOnly(true);
    // Every dialog the action may open is accepted as it stands.
    for (int i = 0; i < 3; ++i) {
        sample.dialogs.modalActions.enqueue([](QDialog&) { return int(QDialog::Accepted); });
        sample.dialogs.colors.enqueue(QColor(Qt::red));
    }
    const QByteArray before = VDocWriter::write(sample.editor.edDocument());
    TedAction* action = sample.actions.action(name);
    const EdActionRow* row = rowOf(name);
    QVERIFY(action && row);
    if (row->needs & NeedWritable)
        QVERIFY(!action->isEnabled());
    action->trigger();
    action->executeOwn();
    QCOMPARE(VDocWriter::write(sample.editor.edDocument()), before);
}

void TestEditorActions::keysReachTheirActions_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Ctrl+B") << "Ctrl+B"
                            << "word"
                            << ""
                            << "font"
                            << "10 bold";
    QTest::newRow("Ctrl+Shift+Z, the second redo key") << "Ctrl+Shift+Z"
                                                       << "undone"
                                                       << ""
                                                       << "text"
                                                       << "Xalpha beta gamma|Heading||a|b|c|d|end";
    QTest::newRow("Ctrl+Y") << "Ctrl+Y"
                            << "undone"
                            << ""
                            << "text"
                            << "Xalpha beta gamma|Heading||a|b|c|d|end";
    QTest::newRow("Ctrl+Enter") << "Ctrl+Return"
                                << "caret"
                                << ""
                                << "text"
                                << "al|^pha beta gamma|Heading||a|b|c|d|end";
    QTest::newRow("Shift+F3") << "Shift+F3"
                              << "word"
                              << "modal:case:2"
                              << "text"
                              << "alpha BETA gamma|Heading||a|b|c|d|end";
    QTest::newRow("F3 without a search asks for one") << "F3"
                                                      << "caret"
                                                      << ""
                                                      << "dialogs"
                                                      << "modal: FindDialog";
    QTest::newRow("Ctrl+H") << "Ctrl+H"
                            << "caret"
                            << ""
                            << "dialogs"
                            << "modal: ReplaceDialog";
    // The other keys of the action table, each with what it does.
    auto keyRow = [](const char* keys, const char* place, const char* answers, const char* probe,
                     const QString& expected) {
        QTest::addRow("%s", keys) << QString::fromLatin1(keys) << QString::fromLatin1(place)
                                  << QString::fromLatin1(answers) << QString::fromLatin1(probe)
                                  << expected;
    };
    keyRow("Ctrl+O", "word", "", "dialogs", QStringLiteral("open: Open"));
    keyRow("Ctrl+S", "word", "", "dialogs", QStringLiteral("save: Save As"));
    keyRow("Ctrl+P", "word", "", "print", QStringLiteral("asked"));
    keyRow("Ctrl+X", "word", "", "text", QStringLiteral("alpha  gamma|Heading||a|b|c|d|end"));
    keyRow("Ctrl+C", "word", "", "clipboard", QStringLiteral("beta"));
    keyRow("Ctrl+V", "copied", "", "text",
           QStringLiteral("betaalpha beta gamma|Heading||a|b|c|d|end"));
    keyRow("Ctrl+A", "caret", "", "selection",
           QStringLiteral("alpha beta gamma|Heading||a|b|c|d|end"));
    keyRow("Ctrl+Z", "edited", "", "text", QStringLiteral("alpha beta gamma|Heading||a|b|c|d|end"));
    keyRow("Ctrl+F", "caret", "modal:find:gamma", "selection", QStringLiteral("gamma"));
    keyRow("Ctrl+I", "word", "", "font", QStringLiteral("10 italic"));
    keyRow("Ctrl+U", "word", "", "font", QStringLiteral("10 underline"));
    keyRow("Alt+Clear", "cell", "", "selection", QStringLiteral("abcd"));
    QTest::newRow("Alt+Enter in a table") << "Alt+Return"
                                          << "cell"
                                          << ""
                                          << "dialogs"
                                          << "modal: TablePropertiesDialog";
    keyRow("Alt+Return", "line", "", "dialogs", QStringLiteral("modal: LinePropertiesDialog"));
}

void TestEditorActions::keysReachTheirActions() {
    QFETCH(QString, keys);
    QFETCH(QString, place);
    QFETCH(QString, answers);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    Sample sample;
    sample.editor.show();
    sample.editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&sample.editor));
    sample.place(place);
    script(sample.dialogs, answers, m_folder.path());
    QTest::keySequence(&sample.editor, QKeySequence(keys));
    QCOMPARE(observe(sample, probe, m_folder.path()), expected);
}

void TestEditorActions::stateFollowsTheCaret_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");
    auto row = [](const char* name, const char* place, bool readOnly, bool enabled, bool checked) {
        QTest::addRow("%s at %s%s", name, place, readOnly ? " read-only" : "")
            << QString::fromLatin1(name) << QString::fromLatin1(place) << readOnly << enabled
            << checked;
    };
    row("edActionFontBold1", "heading", false, true, true);
    row("edActionFontBold1", "caret", false, true, false);
    row("edActionAlignLeft1", "caret", false, true, true);
    row("edActionAlignCenter", "caret", false, true, false);
    row("edActionCut1", "caret", false, false, false);
    row("edActionCut1", "word", false, true, false);
    row("edActionCopy1", "word", true, true, false);
    row("edActionCut1", "word", true, false, false);
    row("edActionPaste1", "caret", false, false, false);
    row("edActionPaste1", "copied", false, true, false);
    row("edActionPaste1", "copied", true, false, false);
    row("edActionUndo1", "caret", false, false, false);
    row("edActionUndo1", "edited", false, true, false);
    row("edActionRedo1", "edited", false, false, false);
    row("edActionRedo1", "undone", false, true, false);
    row("edActionTableInsertRowsAbove1", "caret", false, false, false);
    row("edActionTableInsertRowsAbove1", "cell", false, true, false);
    row("edActionTableInsertRowsAbove1", "cell", true, false, false);
    row("edActionTableSelectTable1", "cell", true, true, false);
    row("edActionTableMergeCells1", "cell", false, false, false);
    row("edActionTableMergeCells1", "cells", false, true, false);
    row("edActionTableSplitCells1", "cell", false, false, false);
    row("edActionTableSplitCells1", "merged", false, true, false);
    row("edActionTableCellVAlignDefault1", "cell", false, true, true);
    row("edActionRemovePageBreak1", "caret", false, false, false);
    row("edActionRemovePageBreak1", "pagebreak", false, true, false);
    row("edActionFind1", "caret", true, true, false);
    row("edActionFindNext1", "caret", true, true, false);
    row("edActionReplace1", "caret", true, false, false);
    row("edActionPrint1", "caret", true, true, false);
    row("edActionPrintPreview1", "caret", true, true, false);
    row("edActionSelectAll1", "caret", true, true, false);
    row("edActionWordWrap1", "caret", true, true, true);
    row("edActionTextRTL1", "caret", false, true, false);
    row("edActionTextRTL1", "rtl", false, true, true);
    row("edActionTextRTL1", "rtl", true, false, true);
    row("edActionTextLTR1", "caret", false, true, true);
    row("edActionTextLTR1", "rtl", false, true, false);
    row("edActionParaRTL1", "rtl", false, true, true);
    row("edActionParaRTL1", "caret", false, true, false);
    row("edActionParaLTR1", "caret", false, true, true);
    row("edActionParaLTR1", "rtl", false, true, false);
    row("edActionParaBorder1", "caret", false, true, false);
    row("edActionParaBorder1", "caret", true, false, false);
    row("edActionTableCellLeftBorder1", "caret", false, false, false);
    row("edActionTableCellLeftBorder1", "borderless", false, true, false);
    row("edActionTableCellLeftBorder1", "cell", false, true, true);
    row("edActionTableCellLeftBorder1", "bordered", false, true, true);
    row("edActionTableCellLeftBorder1", "bordered", true, false, true);
    row("edActionTableCellLeftBorder1", "bordered cells", false, true, false);
    row("edActionTableCellTopBorder1", "bordered", false, true, false);
}

void TestEditorActions::stateFollowsTheCaret() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    QFETCH(bool, readOnly);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);
    Sample sample;
    sample.place(place);
    // The read-only state arrives as an event of the editor, as the
    // program sets it.
    sample.editor.setReadOnly(readOnly);
    TedAction* action = sample.actions.action(name);
    QVERIFY(action);
    QCOMPARE(action->isEnabled(), enabled);
    QCOMPARE(action->isChecked(), checked);
}

void TestEditorActions::pasteComesWithTheEditorsWindow() {
    // Text on the clipboard before the editor exists: Paste is offered once
    // the editor's window is active, without the clipboard changing.
    QGuiApplication::clipboard()->setText(QStringLiteral("from before"));
    Sample sample;
    TedAction* paste = sample.actions.action(u"edActionPaste1");
    QVERIFY(!paste->isEnabled());
    sample.editor.show();
    QApplication::setActiveWindow(&sample.editor);
    QTRY_VERIFY(paste->isEnabled());
    QGuiApplication::clipboard()->clear();
    QTRY_VERIFY(!paste->isEnabled());
}

void TestEditorActions::popupMenuFitsTheClickedPlace_data() {
    QTest::addColumn<QString>("place");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text") << "text"
                          << QStringList{"edActionCopy1",          "edActionFonts1",
                                         "edActionFontBold1",      "edActionAlignCenter",
                                         "edActionInsertPicture1", "edActionInsertHyperlink1"}
                          << QStringList{"edActionTableInsertRowsAbove1", "edActionItemProperties1",
                                         "edActionRemovePageBreak1"}
                          << "edActionFontBold1"
                          << "font"
                          << "10 bold";
    QTest::newRow("table cell") << "cell"
                                << QStringList{"edActionTableInsertRowsAbove1",
                                               "edActionTableDeleteCols1",
                                               "edActionFonts1",
                                               "edActionTableCellVAlignTop1",
                                               "edActionTableCellVAlignMiddle1",
                                               "edActionTableCellVAlignBottom1",
                                               "edActionTableCellVAlignDefault1",
                                               "edActionTableGrid1",
                                               "edActionTableCellAllBorders1",
                                               "edActionTableCellNoBorders1",
                                               "edActionTableProperties1"}
                                << QStringList{"edActionItemProperties1"}
                                << "edActionTableCellVAlignMiddle1"
                                << "table"
                                << "2x2 span=1,1 valign=3 border=1 pad=2 bg=none";
    QTest::newRow("grid lines from a cell")
        << "cell" << QStringList{"edActionTableGrid1"} << QStringList{} << "edActionTableGrid1"
        << "view"
        << "wrap=1 marks=0 grid=0";
    QTest::newRow("picture") << "picture" << QStringList{"edActionItemProperties1"}
                             << QStringList{"edActionFonts1", "edActionTableDeleteRows1"}
                             << "edActionItemProperties1"
                             << "dialogs"
                             << "modal: PicturePropertiesDialog";
    QTest::newRow("horizontal line")
        << "line" << QStringList{"edActionItemProperties1", "edActionFonts1"}
        << QStringList{"edActionTableDeleteRows1"} << "edActionItemProperties1"
        << "dialogs"
        << "modal: LinePropertiesDialog";
    QTest::newRow("link") << "link" << QStringList{"edActionInsertHyperlink1"}
                          << QStringList{"edActionTableDeleteRows1"} << "edActionInsertHyperlink1"
                          << "dialogs"
                          << "modal: HyperlinkDialog";
    QTest::newRow("page break") << "pagebreak" << QStringList{"edActionRemovePageBreak1"}
                                << QStringList{} << "edActionRemovePageBreak1"
                                << "text"
                                << "alpha beta gamma||Heading||a|b|c|d|end";
}

void TestEditorActions::popupMenuFitsTheClickedPlace() {
    QFETCH(QString, place);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(QString, run);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    Sample sample;
    QTextCursor cursor(sample.editor.document());
    if (place == QLatin1String("picture")) {
        DocPicture picture;
        picture.bytes = sampledocument::pngBytes(40, 40);
        picture.format = "png";
        sample.editor.edDocument().insertPicture(cursor, picture);
        cursor.setPosition(0);
    } else if (place == QLatin1String("link")) {
        sample.editor.setTextCursor(cursor);
        sample.editor.insertHyperlink(QStringLiteral("link"), QStringLiteral("http://a.example"));
        cursor.setPosition(2);
    } else if (place == QLatin1String("cell")) {
        cursor = sample.table()->cellAt(0, 0).firstCursorPosition();
    } else if (place == QLatin1String("line") || place == QLatin1String("pagebreak")) {
        sample.place(place);
        cursor = sample.editor.textCursor();
    } else {
        sample.place(QStringLiteral("word"));
        cursor.setPosition(8);
    }
    sample.editor.show();
    const QPoint point = sample.editor.cursorRect(cursor).center() + QPoint(1, 0);
    std::unique_ptr<QMenu> menu(sample.actions.createPopupMenu(point));
    QCOMPARE(menu->objectName(), QStringLiteral("EdPopupMenu1"));
    // The menu and its submenus; no two entries of one menu share an access key.
    QList<QAction*> offered;
    QList<QMenu*> menus{menu.get()};
    QStringList clashes;
    while (!menus.isEmpty()) {
        QMenu* shown = menus.takeFirst();
        QHash<QKeySequence, QString> keys;
        for (QAction* action : shown->actions()) {
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (!key.isEmpty() && keys.contains(key))
                clashes << QStringLiteral("%1: \"%2\" and \"%3\"")
                               .arg(shown->title(), keys.value(key), action->text());
            if (!key.isEmpty())
                keys.insert(key, action->text());
            if (action->menu())
                menus.append(action->menu());
            else if (!action->isSeparator())
                offered.append(action);
        }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    QStringList names;
    for (const QAction* action : offered)
        names << action->objectName();
    for (const QString& name : present)
        QVERIFY2(names.contains(name), qPrintable(name));
    for (const QString& name : absent)
        QVERIFY2(!names.contains(name), qPrintable(name));
    // What the menu offers works from there.
    QAction* chosen = offered.at(names.indexOf(run));
    QVERIFY(chosen->isEnabled());
    chosen->trigger();
    QCOMPARE(observe(sample, probe, m_folder.path()), expected);
}

void TestEditorActions::linkDialogFieldsHoldAWholeAddress() {
    HyperlinkDialog dialog;
    dialog.show();
    const QString address = QStringLiteral("https://www.example-shop.com/listings/teak-clock-1960");
    for (const char* name : {"edtText", "edtTarget"}) {
        const auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name));
        QVERIFY(edit);
        QVERIFY2(edit->contentsRect().width() >= edit->fontMetrics().horizontalAdvance(address),
                 name);
    }
}

void TestEditorActions::gridLinesShowBorderlessCells_data() {
    QTest::addColumn<int>("border");
    QTest::addColumn<bool>("differs");
    QTest::newRow("borderless table: grid drawn") << 0 << true;
    QTest::newRow("table with borders: nothing added") << 1 << false;
}

void TestEditorActions::gridLinesShowBorderlessCells() {
    QFETCH(int, border);
    QFETCH(bool, differs);
    Sample sample;
    QTextCursor cell = sample.table()->cellAt(0, 0).firstCursorPosition();
    sample.editor.edDocument().setTableFrame(cell, border, 2, 2);
    sample.editor.show();
    auto render = [&sample] {
        sample.editor.viewport()->repaint();
        return sample.editor.viewport()->grab().toImage();
    };
    const QImage shown = render();
    sample.actions.action(u"edActionTableGrid1")->trigger();
    QCOMPARE(render() != shown, differs);
}

void TestEditorActions::printsToPdfWithFixedMargins_data() {
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("default paper") << -1 << 0 << 0;
    QTest::newRow("A4 portrait set up") << 0 << 595 << 842;
    QTest::newRow("Letter landscape set up") << 3 << 792 << 612;
}

void TestEditorActions::printsToPdfWithFixedMargins() {
    QFETCH(int, paper);
    QFETCH(int, width);
    QFETCH(int, height);
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        QSKIP("pdfinfo and pdftotext (poppler-utils) are needed");
    Sample sample;
    if (paper >= 0) {
        if (TEdPrint::printerAvailable())
            QSKIP("the system page setup is used where there is a printer");
        sample.dialogs.modalActions.enqueue(modalAnswer(QStringLiteral("choice:%1").arg(paper)));
        sample.actions.action(u"edActionPageSetup1")->trigger();
    }
    const QString file = m_folder.filePath(QStringLiteral("printed.pdf"));
    QVERIFY(sample.actions.print().printToPdf(file));

    QProcess info;
    info.start(pdfinfo, {file});
    QVERIFY(info.waitForFinished());
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
            .match(infoText);
    QVERIFY2(size.hasMatch(), qPrintable(infoText));
    const double pageWidth = size.captured(1).toDouble();
    QVERIFY(pageWidth > 500);
    if (width > 0) {
        QCOMPARE(qRound(pageWidth), width);
        QCOMPARE(qRound(size.captured(2).toDouble()), height);
    }
    QVERIFY(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));

    // Every word lies inside the 20 mm margins (56.7 points).
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString boxes = QString::fromUtf8(text.readAllStandardOutput());
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">alpha"));
    const QRegularExpressionMatch first = word.match(boxes);
    QVERIFY2(first.hasMatch(), qPrintable(boxes));
    const double margin = 20 / 25.4 * 72;
    QVERIFY2(first.captured(1).toDouble() >= margin, qPrintable(first.captured(0)));
    QVERIFY2(first.captured(1).toDouble() < margin + 12, qPrintable(first.captured(0)));
    QVERIFY2(first.captured(2).toDouble() >= margin, qPrintable(first.captured(0)));
    QVERIFY2(first.captured(2).toDouble() < margin + 20, qPrintable(first.captured(0)));
}

void TestEditorActions::printsBordersAndLinesAsDrawn_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("paragraph border") << "border";
    QTest::newRow("horizontal line") << "line";
}

void TestEditorActions::printsBordersAndLinesAsDrawn() {
    QFETCH(QString, item);
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is needed");
    Sample sample;
    QTextCursor cursor(sample.editor.document());
    if (item == QLatin1String("border")) {
        sample.editor.edDocument().changeParaStyle(cursor, [](TParaStyleInfo& info) {
            info.BorderWidth = 4;
            info.BorderColor = Qt::red;
        });
    } else {
        cursor.setPosition(2);
        sample.editor.edDocument().insertHLine(cursor, Qt::red, 4);
    }
    const QString file = m_folder.filePath(QStringLiteral("decorated.pdf"));
    QVERIFY(sample.actions.print().printToPdf(file));
    const QString prefix = m_folder.filePath(QStringLiteral("decorated"));
    QProcess raster;
    raster.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                            QStringLiteral("-singlefile"), file, prefix});
    QVERIFY(raster.waitForFinished());
    const QImage page(prefix + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    // At 72 dots per inch a dot is a point: the red lies inside the margins.
    QRect red;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80)
                red |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(!red.isEmpty(), "nothing red printed");
    const int margin = qFloor(20 / 25.4 * 72);
    QVERIFY2(red.left() >= margin && red.top() >= margin, qPrintable(QString::number(red.left())));
    QVERIFY2(red.right() < page.width() - margin, qPrintable(QString::number(red.right())));
    // Across the text's width, as the editor draws it.
    QVERIFY2(red.width() > page.width() / 2, qPrintable(QString::number(red.width())));
}

void TestEditorActions::withoutPrinterOffersAPdfFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<bool>("written");
    QTest::newRow("print, to a PDF") << "edActionPrint1"
                                     << "yes;file:%DIR%/print.pdf" << true;
    QTest::newRow("quick print, to a PDF") << "edActionQuickPrint1"
                                           << "yes;file:%DIR%/print.pdf" << true;
    QTest::newRow("print, no PDF") << "edActionPrint1"
                                   << "" << false;
    QTest::newRow("print, PDF dialog cancelled") << "edActionPrint1"
                                                 << "yes" << false;
}

void TestEditorActions::withoutPrinterOffersAPdfFile() {
    QFETCH(QString, name);
    QFETCH(QString, answers);
    QFETCH(bool, written);
    if (TEdPrint::printerAvailable())
        QSKIP("a printer is installed here");
    const QString file = m_folder.filePath(QStringLiteral("print.pdf"));
    QFile::remove(file);
    Sample sample;
    script(sample.dialogs, answers, m_folder.path());
    sample.actions.action(name)->trigger();
    QCOMPARE(sample.dialogs.shownOf(QStringLiteral("yesno")),
             QStringList{QStringLiteral("No printer is available. Do you want to print the "
                                        "document to a PDF file instead?")});
    QCOMPARE(sample.dialogs.shownOf(QStringLiteral("save")).size(), answers.isEmpty() ? 0 : 1);
    QCOMPARE(QFileInfo(file).size() > 0, written);
}

void TestEditorActions::insertFileReadsKnownFormatsUpTo50MB_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shown");
    const QStringList open{QStringLiteral("open: Insert File")};
    QTest::newRow("text file") << "in.txt" << QByteArray("inserted") << qint64(0)
                               << "insertedalpha beta gamma" << open;
    QTest::newRow("HTML file") << "in.html" << QByteArray("<b>bold</b>") << qint64(0)
                               << "boldalpha beta gamma" << open;
    QTest::newRow("just under 50 MB of text")
        << "big.txt" << QByteArray() << qint64(50) * 1024 * 1024 << "" << open;
    QTest::newRow("over 50 MB") << "huge.txt" << QByteArray() << qint64(50) * 1024 * 1024 + 1
                                << "alpha beta gamma"
                                << QStringList{open.first(),
                                               QStringLiteral("message: The file is larger than "
                                                              "50 MB and cannot be inserted.\n") +
                                                   QStringLiteral("%DIR%/huge.txt")};
}

void TestEditorActions::insertFileReadsKnownFormatsUpTo50MB() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QString, text);
    QFETCH(QStringList, shown);
    const QString path = m_folder.filePath(fileName);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    if (size > 0)
        QVERIFY(file.resize(size));
    file.close();
    Sample sample;
    sample.place(QStringLiteral("caret"));
    QTextCursor start = sample.editor.textCursor();
    start.setPosition(0);
    sample.editor.setTextCursor(start);
    sample.dialogs.fileNames.enqueue(path);
    sample.actions.action(u"edActionInsertFile1")->trigger();
    for (QString& entry : shown)
        entry.replace(QStringLiteral("%DIR%"), m_folder.path());
    QCOMPARE(sample.dialogs.shown, shown);
    if (!text.isEmpty())
        QCOMPARE(sample.editor.document()->begin().text(), text);
    QFile::remove(path);
}

void TestEditorActions::largePicturesAreInsertedToFitThePage_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");    // of the picture in the file
    QTest::addColumn<bool>("colour");   // or grey, which is written faster
    QTest::addColumn<QString>("shown"); // "page" (as wide as the page's text) or "own"

    QTest::newRow("48-megapixel phone photo") << "photo.jpg" << QSize(8000, 6000) << true << "page";
    QTest::newRow("108-megapixel photo") << "large.jpg" << QSize(12000, 9000) << false << "page";
    QTest::newRow("64-megapixel PNG") << "square.png" << QSize(8000, 8000) << true << "page";
    QTest::newRow("64-megapixel grey PNG") << "grey.png" << QSize(8000, 8000) << false << "page";
    QTest::newRow("picture narrower than the page")
        << "small.png" << QSize(300, 200) << true << "own";
    QTest::newRow("400 megapixels, over the limit")
        << "huge.png" << QSize(20000, 20000) << false << "";
}

void TestEditorActions::largePicturesAreInsertedToFitThePage() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, colour);
    QFETCH(QString, shown);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    if (shown.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(pngHeaderOnly(size.width(), size.height()));
    } else {
        QImage image(size, colour ? QImage::Format_RGB888 : QImage::Format_Grayscale8);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(path, file.endsWith(QLatin1String(".jpg")) ? "JPEG" : "PNG", 80));
    }
    Sample sample;
    TDocEditor& editor = sample.editor;
    editor.moveCursor(QTextCursor::Start);
    sample.dialogs.fileNames.enqueue(path);
    sample.actions.action(u"edActionInsertPicture1")->trigger();
    EdDocument& document = editor.edDocument();
    DocPicture inserted;
    const bool found = document.ItemPicture(document.rootData(), 0, inserted);
    if (shown.isEmpty()) {
        QVERIFY(!found);
        QCOMPARE(sample.dialogs.shownOf(QStringLiteral("message")),
                 QStringList{QStringLiteral("Error loading image file.\n%1\nThe picture is 20000 "
                                            "\u00d7 20000 pixels (400 megapixels); pictures of "
                                            "at most 150 megapixels can be inserted.")
                                 .arg(path)});
        return;
    }
    QVERIFY2(found, qPrintable(sample.dialogs.shown.join(u'|')));
    QVERIFY(sample.dialogs.shownOf(QStringLiteral("message")).isEmpty());
    const int width = shown == QLatin1String("page") ? editor.pageTextWidth() : size.width();
    QCOMPARE(QSize(inserted.width, inserted.height),
             QSize(width, qRound(double(size.height()) * width / size.width())));
    // The file's own bytes are kept, and the picture shows, also once the
    // document has been saved and opened again.
    QFile original(path);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QVERIFY(inserted.bytes == original.readAll());
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(document), reopened));
    for (EdDocument* holder : {&document, &reopened}) {
        DocPicture picture;
        QVERIFY(holder->ItemPicture(holder->rootData(), 0, picture));
        QCOMPARE(QSize(picture.width, picture.height), QSize(inserted.width, inserted.height));
        const QImage drawn =
            holder->textDocument()
                ->resource(QTextDocument::ImageResource, QUrl(picture.resourceName()))
                .value<QImage>();
        QVERIFY(!drawn.isNull());
        QVERIFY(drawn != holder->docStyle().InvalidPicture);
        QVERIFY(drawn.width() >= inserted.width);
    }
}

void TestEditorActions::pictureSizeKeepsItsProportions_data() {
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("typed"); // "w=N" or "h=N"
    QTest::addColumn<QSize>("expected");

    // The picture is 4 x 3 pixels.
    QTest::newRow("width, proportions kept") << true << "w=800" << QSize(800, 600);
    QTest::newRow("height, proportions kept") << true << "h=30" << QSize(40, 30);
    QTest::newRow("width, proportions off") << false << "w=800" << QSize(800, 3);
}

void TestEditorActions::pictureSizeKeepsItsProportions() {
    QFETCH(bool, keep);
    QFETCH(QString, typed);
    QFETCH(QSize, expected);
    Sample sample;
    sample.place(QStringLiteral("picture"));
    QTextCursor onPicture(sample.editor.document());
    onPicture.setPosition(0);
    onPicture.setPosition(1, QTextCursor::KeepAnchor);
    sample.editor.setTextCursor(onPicture);
    bool startedLinked = false;
    sample.dialogs.modalActions.enqueue([&](QDialog& dialog) {
        auto& size = dynamic_cast<EdPictureSizeDialog&>(dialog);
        startedLinked = size.keepProportions->isChecked();
        size.keepProportions->setChecked(keep);
        QSpinBox* box = typed.startsWith(u'w') ? size.columns : size.rows;
        // Typed digit by digit, as the seller does.
        box->clear();
        QTest::keyClicks(box, typed.mid(2));
        return int(QDialog::Accepted);
    });
    sample.actions.action(u"edActionItemProperties1")->trigger();
    QVERIFY(startedLinked);
    QCOMPARE(observe(sample, QStringLiteral("picture"), QString()),
             QStringLiteral("%1x%2").arg(expected.width()).arg(expected.height()));
}

void TestEditorActions::backgroundShownIsTheBackgroundExported_data() {
    QTest::addColumn<QString>("before");   // "none", "colour" or "picture"
    QTest::addColumn<QString>("action");   // run after the Background dialog was looked at
    QTest::addColumn<int>("shownChoice");  // what the Background dialog offers first
    QTest::addColumn<QString>("exported"); // the colour the page gets, "none", "" unchecked

    QTest::newRow("no background") << "none"
                                   << "" << 0 << "none";
    QTest::newRow("colour") << "colour"
                            << "" << 1 << "#FFEEDD";
    QTest::newRow("picture") << "picture"
                             << "" << 2 << "none";
    QTest::newRow("Background Color over a picture") << "picture"
                                                     << "edActionColor1" << 1 << "#123456";
}

void TestEditorActions::backgroundShownIsTheBackgroundExported() {
    QFETCH(QString, before);
    QFETCH(QString, action);
    QFETCH(QString, exported);
    Sample sample;
    EdDocument& document = sample.editor.edDocument();
    if (before == QLatin1String("colour"))
        document.setBackgroundColor(QColor(0xFF, 0xEE, 0xDD));
    if (before == QLatin1String("picture")) {
        DocPicture picture;
        picture.bytes = sampledocument::pngBytes(4, 3);
        picture.format = "png";
        document.setBackgroundPicture(picture);
    }
    if (!action.isEmpty()) {
        sample.dialogs.colors.enqueue(QColor(0x12, 0x34, 0x56));
        sample.actions.action(action)->trigger();
    }
    int shown = -1;
    sample.dialogs.modalActions.enqueue([&shown](QDialog& dialog) {
        shown = static_cast<EdChoiceDialog&>(dialog).chosen();
        return int(QDialog::Rejected);
    });
    sample.actions.action(u"edActionBackground1")->trigger();
    QTEST(shown, "shownChoice");
    if (exported.isEmpty())
        return;
    const QString html = HtmlFragmentExporter(document).toHtml();
    const QRegularExpressionMatch wrapper =
        QRegularExpression(QStringLiteral("^<div style=\"background-color: (#[0-9A-F]{6})\">"))
            .match(html);
    QCOMPARE(wrapper.hasMatch() ? wrapper.captured(1) : QStringLiteral("none"), exported);
}

void TestEditorActions::tablesAreMadeOnlyAsTheFileKeepsThem_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("depth");   // tables around the caret
    QTest::addColumn<QSize>("table"); // the innermost table: rows x columns
    QTest::addColumn<QString>("refusal");

    QTest::newRow("Insert Table 15 deep") << "edActionInsertTable1" << 15 << QSize(1, 1) << "";
    QTest::newRow("Insert Table 16 deep")
        << "edActionInsertTable1" << 16 << QSize(1, 1) << "No table can be inserted here";
    QTest::newRow("merge a whole 10 x 10 table")
        << "edActionTableMergeCells1" << 0 << QSize(10, 10) << "";
    QTest::newRow("merge a whole 100 x 101 table")
        << "edActionTableMergeCells1" << 0 << QSize(100, 101) << "These cells cannot be merged";
}

void TestEditorActions::tablesAreMadeOnlyAsTheFileKeepsThem() {
    QFETCH(QString, action);
    QFETCH(int, depth);
    QFETCH(QSize, table);
    QFETCH(QString, refusal);
    Sample sample;
    TDocEditor& editor = sample.editor;
    QTextCursor caret = editor.textCursor();
    caret.movePosition(QTextCursor::End);
    for (int level = 1; level < depth; ++level)
        editor.edDocument().insertTable(caret, 1, 1);
    QTextTable* inner = editor.edDocument().insertTable(caret, table.width(), table.height());
    if (action == QLatin1String("edActionTableMergeCells1")) {
        caret.setPosition(inner->cellAt(0, 0).firstPosition());
        caret.setPosition(inner->cellAt(inner->rows() - 1, inner->columns() - 1).lastPosition(),
                          QTextCursor::KeepAnchor);
    }
    editor.setTextCursor(caret);
    sample.actions.updateState();
    const QString before = sampledocument::dump(editor.edDocument());
    sample.dialogs.modalActions.enqueue(modalAnswer(QStringLiteral("size:2x2")));
    sample.actions.action(action)->trigger();
    const QStringList messages = sample.dialogs.shownOf(QStringLiteral("message"));
    if (refusal.isEmpty()) {
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'|')));
        QVERIFY(sampledocument::dump(editor.edDocument()) != before);
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(refusal), qPrintable(messages.first()));
        QCOMPARE(sampledocument::dump(editor.edDocument()), before);
    }
    EdDocument reopened;
    QVERIFY(VDocReader::read(VDocWriter::write(editor.edDocument()), reopened));
    QCOMPARE(sampledocument::dump(reopened), sampledocument::dump(editor.edDocument()));
}

void TestEditorActions::fontDialogAppliesOnlyWhatWasChanged_data() {
    QTest::addColumn<QString>("font");     // of the selected word, and of the word after it
    QTest::addColumn<QString>("change");   // in the dialog: "size", "family", "underline"
    QTest::addColumn<QString>("expected"); // both words afterwards

    // Neither font is installed here: the dialog shows stand-ins for them.
    QTest::newRow("size of a missing font") << "Verdana"
                                            << "size"
                                            << "Verdana 14|Tahoma 10";
    QTest::newRow("size of a substituted font") << "Arial"
                                                << "size"
                                                << "Arial 14|Tahoma 10";
    QTest::newRow("family picked") << "Verdana"
                                   << "family"
                                   << "DejaVu Serif 10|Tahoma 10";
    QTest::newRow("underline over two fonts") << "Verdana"
                                              << "underline"
                                              << "Verdana 10 u|Tahoma 10 u";
}

void TestEditorActions::fontDialogAppliesOnlyWhatWasChanged() {
    QFETCH(QString, font);
    QFETCH(QString, change);
    Sample sample;
    TDocEditor& editor = sample.editor;
    // "beta" in the font of the row, "gamma" in Tahoma.
    const auto restyle = [&](int from, int to, const QString& name) {
        QTextCursor cursor(editor.document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
        editor.changeTextStyle([&name](TTextStyleInfo& info) { info.FontName = name; });
    };
    restyle(6, 10, font);
    restyle(11, 16, QStringLiteral("Tahoma"));
    QTextCursor selection(editor.document());
    selection.setPosition(6);
    selection.setPosition(change == QLatin1String("underline") ? 16 : 10, QTextCursor::KeepAnchor);
    editor.setTextCursor(selection);
    sample.dialogs.modalActions.enqueue([change](QDialog& dialog) {
        auto& fonts = static_cast<QFontDialog&>(dialog);
        QFont chosen = fonts.currentFont();
        if (change == QLatin1String("size"))
            chosen.setPointSize(14);
        else if (change == QLatin1String("family"))
            chosen.setFamily(QStringLiteral("DejaVu Serif"));
        else
            chosen.setUnderline(true);
        fonts.setCurrentFont(chosen);
        fonts.accept();
        return int(QDialog::Accepted);
    });
    sample.actions.action(u"edActionFonts1")->trigger();
    QStringList words;
    for (int position : {8, 13}) {
        QTextCursor at(editor.document());
        at.setPosition(position);
        const TTextStyleInfo& style =
            editor.Style().TextStyles.at(at.charFormat().intProperty(docprop::StyleNo));
        words << QStringLiteral("%1 %2%3")
                     .arg(style.FontName)
                     .arg(style.Size)
                     .arg(style.hasStyle(TTextStyleInfo::fsUnderline) ? QStringLiteral(" u")
                                                                      : QString());
    }
    QTEST(words.join(QLatin1Char('|')), "expected");
}

void TestEditorActions::typingInASizeDialogReplacesTheNumberShown_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    // The new table, before the document's own: rows x columns.
    QTest::newRow("Insert Table") << "edActionInsertTable1"
                                  << "caret"
                                  << "5"
                                  << "2x5";
    // The 4 x 3 picture, its height following: width x height.
    QTest::newRow("picture size") << "edActionItemProperties1"
                                  << "picture"
                                  << "40"
                                  << "40x30";
}

void TestEditorActions::typingInASizeDialogReplacesTheNumberShown() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    QFETCH(QString, typed);
    Sample sample;
    sample.editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&sample.editor));
    sample.place(place);
    sample.dialogs.modalActions.enqueue([typed](QDialog& dialog) {
        typeIntoDialog(dialog, typed);
        return int(QDialog::Accepted);
    });
    sample.actions.action(name)->trigger();
    QString result = observe(sample, QStringLiteral("picture"), QString());
    if (place != QLatin1String("picture")) {
        QTextCursor first(sample.editor.document());
        while (!first.currentTable() && first.movePosition(QTextCursor::NextBlock)) {
        }
        QVERIFY(first.currentTable());
        result = QStringLiteral("%1x%2")
                     .arg(first.currentTable()->rows())
                     .arg(first.currentTable()->columns());
    }
    QTEST(result, "expected");
}

void TestEditorActions::typingInTheFindBoxReplacesTheTermShown_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("earlier"); // the term of the search before

    QTest::newRow("Find after a search") << "edActionFind1"
                                         << "caret"
                                         << "gamma";
    QTest::newRow("Replace after a search") << "edActionReplace1"
                                            << "caret"
                                            << "gamma";
    QTest::newRow("Find with a word selected") << "edActionFind1"
                                               << "word"
                                               << "";
}

void TestEditorActions::typingInTheFindBoxReplacesTheTermShown() {
    QFETCH(QString, name);
    QFETCH(QString, place);
    QFETCH(QString, earlier);
    Sample sample;
    sample.editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&sample.editor));
    sample.place(place);
    sample.actions.SearchText = earlier;
    QString shownTerm;
    sample.dialogs.modalActions.enqueue([&shownTerm](QDialog& dialog) {
        shownTerm = static_cast<EdFindDialog&>(dialog).text();
        typeIntoDialog(dialog, QStringLiteral("alpha"));
        return int(EdFindDialog::FindNext);
    });
    sample.actions.action(name)->trigger();
    QVERIFY(!shownTerm.isEmpty());
    QCOMPARE(sample.actions.SearchText, QStringLiteral("alpha"));
    QCOMPARE(sample.editor.textCursor().selectedText(), QStringLiteral("alpha"));
}

QTEST_MAIN(TestEditorActions)
#include "tst_editoractions.moc"
