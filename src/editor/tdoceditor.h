#pragma once

#include "docmodel/eddocument.h"
#include "docmodel/htmlfragmentexporter.h"
#include "docmodel/listingimport.h"
#include "editor/edcontrolpanel.h"

#include <QTextEdit>
#include <functional>

class QIODevice;
class UserDialogs;

/// The rich-text editor (`DocEditor1`): a QTextEdit showing an EdDocument,
/// with the operations and events the rest of the program uses. Everything
/// modal goes through the dialog seam.
class TDocEditor : public QTextEdit {
    Q_OBJECT
public:
    enum TEdLoadFormat { edlfHTML, edlfNative, edlfText, edlfURL };

    /// The identity of an item, comparable for equality.
    struct ItemId {
        int kind = -1;
        int position = -1;
        int length = 0;
        bool operator==(const ItemId& other) const {
            return kind == other.kind && position == other.position && length == other.length;
        }
        bool operator!=(const ItemId& other) const { return !(*this == other); }
    };

    /// A link arrives from outside: decide its style and tag.
    using ReadHyperlinkHandler =
        std::function<void(const QString& target, const QString& extras, TEdLoadFormat docFormat,
                           int& styleNo, QString& itemTag, QString& itemName)>;

    TDocEditor(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TDocEditor() override;

    EdDocument& edDocument() { return *m_document; }
    const EdDocument& edDocument() const { return *m_document; }
    TDocStyle& Style() { return m_document->docStyle(); }
    TEdControlPanel& controlPanel() { return m_controlPanel; }
    UserDialogs& dialogs() { return m_dialogs; }

    // Operations.
    /// Clears the editor and loads the file; false when it cannot be read.
    /// A file that cannot be opened leaves the editor as it was.
    /// Loads a document file; false when it cannot be read. A file that is
    /// there but is no document is reported unless `reportErrors` is off.
    bool LoadDocumentFile(const QString& fileName, bool reportErrors = true);
    void RelayoutDocument();
    bool ReadOnly() const { return isReadOnly(); }
    bool DocumentModified() const;
    void setDocumentModified(bool modified);
    /// Empties the document, resets background and margins, and forgets the
    /// changes (New, Open).
    void clearDocument();
    /// Clears the document and reads a native file's bytes into it; on
    /// failure the part read stays and the document counts as changed.
    bool readDocument(const QByteArray& bytes);
    /// Raises OnCurTextStyleChanged whether or not the style changed (at the
    /// end of New and Open).
    void raiseCurTextStyleChanged();
    /// The error box of a file that could not be loaded.
    void reportLoadError(const QString& fileName);
    int CaretTextStyle() const;
    ItemId CaretItem() const;
    QString CaretItemPictureFile() const;
    bool ItemPictureFile(const TCustomDocData& data, int itemNo, QString& fileName) const;
    QString ItemLinkTarget(const TCustomDocData& data, int itemNo) const;
    void RemoveUnusedStyles(bool textStyles, bool paraStyles, bool listStyles);
    /// The document as an HTML fragment, with the save-image and
    /// write-hyperlink events; false when writing failed. Pictures it saves
    /// itself go to a folder of this process under the temporary folder;
    /// AppError when one cannot be saved. The pictures `plan` holds are
    /// written with their addresses there.
    bool ExportHtmlFragment(QIODevice& out, const pictureplan::Plan* plan = nullptr);
    void ShowTableSizePicker(QWidget* button);
    /// Scrolls to an anchor of the document or hands a web or e-mail address
    /// to the desktop; any other target is refused with a message.
    void FollowLink(int id);
    void DetectLinkBeforeCaret();
    void EndLinkAtCaret();
    int LinkStyleIndex(int baseStyleNo);
    static QString NormalizeLinkTarget(const QString& text);

    /// Changes the look of the selection, or of the text typed next.
    void changeTextStyle(const std::function<void(TTextStyleInfo&)>& change);
    /// Inserts a table of that size at the caret.
    void insertTableAtCaret(int rows, int columns);
    /// The widest a picture is inserted: the text width of a printed page.
    int pageTextWidth() const;
    void setPageTextWidth(int width) { m_pageTextWidth = width; }
    /// A picture wider than the page's text becomes as wide, in proportion.
    void fitPictureToPage(DocPicture& picture) const;
    /// Dotted lines mark the cells of tables drawn without borders.
    bool showTableGrid() const { return m_showTableGrid; }
    void setShowTableGrid(bool show);
    /// Inserts clipboard-like content at the caret, as a paste would.
    void insertMimeData(const QMimeData& source) { insertFromMimeData(&source); }
    /// Inserts a listing page at the caret as its HTML is pasted, its
    /// relative picture paths read from `baseFolder`; returns what it left
    /// out.
    listingimport::LeftOut insertListingPage(const QString& html, const QString& baseFolder);
    /// Asks which of the clipboard's formats to insert at the caret.
    void pasteSpecial();
    /// Inserts a link at the caret (replacing the selection) and goes on
    /// typing in the plain style.
    void insertHyperlink(const QString& text, const QString& target);
    /// Asks for the text and target of a link, then inserts it.
    void insertHyperlinkFromDialog();

    // Events whose handler answers through its parameters.
    std::function<void(QChar& key)> OnKeyPress;
    ReadHyperlinkHandler OnReadHyperlink;
    HtmlFragmentExporter::WriteHyperlinkHandler OnWriteHyperlink;
    HtmlFragmentExporter::HtmlSaveImageHandler OnHTMLSaveImage;

signals:
    void OnChange();
    void OnCurTextStyleChanged();
    void OnJump(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void onContentsChange();
    /// The key's own work: OnKeyPress, then the text edit's.
    void typeKey(QKeyEvent* event);
    void startPlainParagraph();
    void onCaretMoved();
    /// Position of the link character under a point, or -1.
    int linkAt(const QPoint& point) const;
    QTextCharFormat formatAt(int position) const;
    void readHyperlink(const QString& target, TEdLoadFormat format, int& styleNo, QString& tag);
    void paintPageBreaks();
    /// Horizontal lines and paragraph borders in their own colour and
    /// thickness, as exported and printed.
    void paintDecorations();
    void paintTableGrid();

    UserDialogs& m_dialogs;
    EdDocument* m_document;
    TEdControlPanel m_controlPanel;
    class EdClipboard* m_clipboard;
    int m_lastCaretStyle = -1;
    bool m_programChange = false;
    bool m_showTableGrid = true;
    int m_pageTextWidth = 0; // 0: the usual paper's
};
