#include "editor/edobjects.h"

#include "docmodel/docpicture.h"
#include "docmodel/docproperties.h"
#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/edparagraphs.h"
#include "editor/edtables.h"
#include "editor/tdoceditor.h"
#include "platform/uilanguage.h"
#include "ui/userdialogs.h"

#include <QImage>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace edobjects {

namespace {

void pictureProperties(EdActionList& list, int position) {
    TDocEditor& editor = list.editor();
    QTextCursor at(editor.document());
    at.setPosition(position);
    at.setPosition(position + 1, QTextCursor::KeepAnchor);
    const DocPicture picture = DocPicture::fromFormat(at.charFormat().toImageFormat());
    QSize own = picture.pixelSize();
    // A picture on the web has only the image it was shown with once fetched.
    if (own.isEmpty() && picture.isOnWeb())
        own = editor.document()
                  ->resource(QTextDocument::ImageResource, QUrl(picture.resourceName()))
                  .value<QImage>()
                  .size();
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

} // namespace

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

void insertHLine(EdActionList& list) {
    QTextCursor cursor = list.editor().textCursor();
    cursor.removeSelectedText();
    list.editor().edDocument().insertHLine(cursor);
    list.editor().setTextCursor(cursor);
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

void insertPageBreak(EdActionList& list) {
    QTextCursor cursor = list.editor().textCursor();
    cursor.removeSelectedText();
    list.editor().edDocument().insertPageBreak(cursor);
    list.editor().setTextCursor(cursor);
}

void removePageBreak(EdActionList& list) {
    QTextCursor cursor = list.editor().textCursor();
    list.editor().edDocument().removePageBreak(cursor);
}

void itemProperties(EdActionList& list) {
    const QTextCursor cursor = list.editor().textCursor();
    const int picture = list.editor().edDocument().pictureAt(cursor);
    const int line = EdDocument::hLineAt(cursor);
    if (picture >= 0)
        pictureProperties(list, picture);
    else if (line >= 0)
        lineProperties(list, line);
    else if (cursor.currentTable())
        edtables::tableProperties(list);
    else
        edparagraphs::paragraph(list);
}

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

} // namespace edobjects
