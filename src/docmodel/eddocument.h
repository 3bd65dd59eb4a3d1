#pragma once

#include "docmodel/customdocdata.h"
#include "docmodel/docpicture.h"
#include "docmodel/docstyle.h"

#include <QColor>
#include <QHash>
#include <QMargins>
#include <QObject>
#include <QSet>
#include <functional>

class EdTextDocument;
class QTextCursor;
class QTextDocument;

/// A document of the editor without any window: the text (a QTextDocument
/// whose formats carry style numbers, tags and pictures), its style sheet,
/// its background and margins, and the item operations the rest of the
/// program uses. Every look of the text goes through the style sheet.
class EdDocument : public QObject {
    Q_OBJECT
public:
    /// Decides the tag and style of a link that arrives from outside (paste,
    /// HTML); gets the target, may change the style number and the tag.
    using ReadHyperlinkHandler =
        std::function<void(const QString& target, int& styleNo, QString& tag)>;
    /// Finds the picture an imported image element refers to.
    using PictureResolver = std::function<bool(const QString& source, DocPicture& picture)>;

    explicit EdDocument(QObject* parent = nullptr);
    ~EdDocument() override;

    QTextDocument* textDocument() const;
    /// Grows with every change of what the document holds: text, formats,
    /// style sheet, background, margins. Equal revisions of one document
    /// hold the same content.
    quint64 revision() const { return m_revision; }
    TDocStyle& docStyle() { return m_style; }
    const TDocStyle& docStyle() const { return m_style; }
    /// Replaces the style sheet and shows the text with it.
    void setDocStyle(const TDocStyle& style);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);
    const DocPicture& backgroundPicture() const { return m_backgroundPicture; }
    void setBackgroundPicture(const DocPicture& picture);
    QMargins margins() const { return m_margins; }
    void setMargins(const QMargins& margins);
    static QMargins defaultMargins() { return QMargins(5, 5, 5, 5); }

    /// Empties the text and its undo history and resets background and
    /// margins; the style sheet stays.
    void clear();
    /// Shows every run and paragraph with the current style sheet.
    void restyle();

    TCustomDocData rootData() const;
    /// True when the item is a picture; `fileName` gets its stored file name.
    bool ItemPictureFile(const TCustomDocData& data, int itemNo, QString& fileName) const;
    /// True when the item is a picture; `picture` gets it.
    bool ItemPicture(const TCustomDocData& data, int itemNo, DocPicture& picture) const;
    QString ItemLinkTarget(const TCustomDocData& data, int itemNo) const;
    /// Deletes the styles of the flagged kinds that nothing uses and
    /// renumbers what refers to the others.
    void RemoveUnusedStyles(bool textStyles, bool paraStyles, bool listStyles);

    /// The character format of a run in that style with that tag.
    QTextCharFormat runFormat(int styleNo, const QString& tag = QString()) const;
    void insertText(QTextCursor& cursor, const QString& text, int styleNo,
                    const QString& tag = QString());
    void insertPicture(QTextCursor& cursor, const DocPicture& picture);
    void insertHLine(QTextCursor& cursor, const QColor& color = QColor(), int width = 1);
    void insertPageBreak(QTextCursor& cursor);
    void insertAnchor(QTextCursor& cursor, const QString& name);
    QTextTable* insertTable(QTextCursor& cursor, int rows, int columns);
    /// Gives the selection (or, without one, the text typed next) a style.
    void applyTextStyle(QTextCursor& cursor, int styleNo);
    /// Changes the look of every run in the selection through the style
    /// sheet: each run gets the matching style, appended when new.
    void changeTextStyle(QTextCursor& cursor, const std::function<void(TTextStyleInfo&)>& change);

    /// Changes the paragraph style of every paragraph the selection touches
    /// (or the caret's): each gets the matching style, appended when new.
    void changeParaStyle(QTextCursor& cursor, const std::function<void(TParaStyleInfo&)>& change);
    /// Makes the touched paragraphs a list of that type, or takes them out
    /// of their list when they already are one of that type.
    void toggleList(QTextCursor& cursor, TListInfo::TListType type);
    /// Makes the touched paragraphs one list of that type at that level
    /// (from 0, the outermost).
    void setList(QTextCursor& cursor, TListInfo::TListType type, int level = 0);
    /// Takes the touched paragraphs out of their lists.
    void removeList(QTextCursor& cursor);
    /// True when the caret's paragraph starts a new page.
    static bool hasPageBreak(const QTextCursor& cursor);
    void removePageBreak(QTextCursor& cursor);
    /// Changes the letters of the selection one for one, keeping each run's
    /// format.
    void changeCase(QTextCursor& cursor, const std::function<QString(const QString&)>& change);
    /// Position of the picture the cursor selects or stands beside, or -1.
    int pictureAt(const QTextCursor& cursor) const;
    /// Shows the picture at that position in another size (pixels).
    void resizePicture(int position, int width, int height);
    /// Position of the horizontal line the caret stands on, or -1.
    static int hLineAt(const QTextCursor& cursor);
    /// Draws the line at that position in another colour and thickness.
    void setHLine(int position, const QColor& color, int width);
    /// Replaces every occurrence; returns how many.
    int replaceAll(const QString& text, const QString& replacement, int findFlags);

    // Tables: the cursor stands in a cell (or selects cells) of a table.
    void insertTableRows(QTextCursor& cursor, bool below);
    void insertTableColumns(QTextCursor& cursor, bool right);
    void deleteTableRows(QTextCursor& cursor);
    void deleteTableColumns(QTextCursor& cursor);
    void deleteTable(QTextCursor& cursor);
    /// False, merging nothing, when the table would then hold too few
    /// cells of its own for its grid to be kept in the document file.
    bool mergeTableCells(QTextCursor& cursor);
    /// Splits a merged cell back into rows and columns of its own.
    void splitTableCell(QTextCursor& cursor, int rows, int columns);
    void setCellVAlign(QTextCursor& cursor, QTextCharFormat::VerticalAlignment align);
    void setCellBackground(QTextCursor& cursor, const QColor& color);
    /// Whether every cell the cursor stands in or selects has a border of
    /// its own on that side (a `docprop::CellSide`).
    bool cellsHaveBorder(const QTextCursor& cursor, int side) const;
    /// Takes that side's border off the cells when all have it, or else
    /// gives them all a thin solid one in the table's border colour.
    void toggleCellBorder(QTextCursor& cursor, int side);
    /// Gives the cells a border of their own on every side of `sides` (bits
    /// of `docprop::CellSide`), or takes it off those sides.
    void setCellBorders(QTextCursor& cursor, unsigned sides, bool on);
    /// Border width, cell padding and spacing of the table, in pixels.
    void setTableFrame(QTextCursor& cursor, int border, int padding, int spacing);

    /// Gives content that came from outside (HTML, paste) style numbers,
    /// tags and pictures of our own, between the two positions.
    void adoptImportedContent(int from, int to, const ReadHyperlinkHandler& readHyperlink = {},
                              const PictureResolver& resolvePicture = {});
    /// Makes the picture's image available under its resource name. A
    /// picture on the web is shown as a placeholder naming its address until
    /// `showWebPicture` brings its image; the first time an address comes,
    /// `webPictureWanted` asks for it.
    void registerPicture(const DocPicture& picture);
    /// Shows every picture of the document at `address` from these bytes.
    /// False, showing it as not shown, when the bytes are no picture.
    bool showWebPicture(const QString& address, const QByteArray& bytes);
    /// Shows every picture at `address` as one that could not be fetched,
    /// saying why, unless its image has already been shown.
    void showWebPictureFailed(const QString& address, const QString& why);
    /// The web addresses whose pictures have come into the document since it
    /// was last cleared, each once, in the order they came.
    QStringList webPictureAddresses() const { return m_webAddresses; }
    /// Brings the shown size within what the document file holds.
    static void limitToFile(DocPicture& picture);

signals:
    /// A picture on the web came into the document and has no image yet.
    void webPictureWanted(const QString& address);

private:
    void applyDocumentFrame();
    /// Puts `image` under the web picture's resource name and lays the text
    /// out again around its new size.
    void replaceWebImage(const QString& address, const QImage& image);
    /// Gives the cells a paragraph and run of the styles at the cursor.
    void styleCells(QTextTable* table, int row, int rows, int column, int columns,
                    const QTextCursor& model);
    /// The item of a container, from a cache of the last container asked
    /// about: export handlers ask for every picture and link in turn.
    bool itemOf(const TCustomDocData& data, int itemNo, DocItem& item) const;

    EdTextDocument* m_text;
    TDocStyle m_style;
    QColor m_backgroundColor;
    DocPicture m_backgroundPicture;
    QMargins m_margins = defaultMargins();
    /// Decoded pictures shown so far; a document with too many huge
    /// pictures shows the invalid picture for the rest instead of using up
    /// memory.
    QSet<QString> m_registered;
    qint64 m_pictureMemory = 0;
    /// The web pictures by address, and which of them show their image.
    QStringList m_webAddresses;
    QSet<QString> m_webShown;
    mutable TCustomDocData m_cachedData;
    mutable QList<DocItem> m_cachedItems;
    mutable bool m_cacheValid = false;
    quint64 m_revision = 0;
};
