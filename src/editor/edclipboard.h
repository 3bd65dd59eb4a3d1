#pragma once

#include "docmodel/eddocument.h"
#include "docmodel/listingimport.h"

#include <QString>
#include <optional>

class QMimeData;
class QTextCursor;
class TDocEditor;

/// What the editor puts on the clipboard (text, HTML, native format, a
/// picture) and what it takes from there or from a drop (native format,
/// pictures, picture files, HTML, text; a bare address becomes a link).
class EdClipboard {
public:
    explicit EdClipboard(TDocEditor& editor)
        : m_editor(editor) {}

    static QString nativeMimeType() { return QStringLiteral("application/x-vantrel-vdoc"); }

    QMimeData* mimeFromSelection(const QTextCursor& cursor) const;
    bool canInsert(const QMimeData* source) const;
    /// Inserts what the source holds at the cursor, as one step of the undo
    /// history.
    void insert(const QMimeData* source, QTextCursor& cursor);
    /// Inserts a listing page at the cursor as its HTML is pasted, its
    /// relative picture paths read from `baseFolder`, as one step of the undo
    /// history; returns what was left out.
    listingimport::LeftOut insertPage(const QString& html, const QString& baseFolder,
                                      QTextCursor& cursor);
    /// Asks which of the clipboard's formats to insert and inserts that one
    /// at the caret.
    void pasteSpecial();

private:
    /// Content from outside, inserted but not yet made the document's own.
    struct Inserted {
        int from;
        int to;
        EdDocument::ReadHyperlinkHandler readHyperlink;
        EdDocument::PictureResolver resolvePicture;
    };

    void insertContent(const QMimeData* source, QTextCursor& cursor);
    /// Makes what the last insertion brought from outside the document's own.
    void adoptInserted(QTextCursor& cursor);
    /// How many levels of tables inside tables content pasted at the cursor
    /// may bring.
    static int roomForTables(const QTextCursor& cursor);
    bool insertNative(const QByteArray& bytes, QTextCursor& cursor);
    bool insertPictureFiles(const QMimeData* source, QTextCursor& cursor);
    /// Pasted HTML has no folder of its own: only pictures with a full path
    /// or address of theirs are read.
    void insertHtml(const QString& html, QTextCursor& cursor, const QString& baseFolder,
                    listingimport::LeftOut& leftOut);
    void insertText(const QString& text, QTextCursor& cursor);

    TDocEditor& m_editor;
    std::optional<Inserted> m_toAdopt;
};
