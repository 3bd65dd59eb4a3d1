#pragma once

#include "docmodel/bytereader.h"

#include <QList>
#include <QTextCursor>
#include <QTextListFormat>

class EdDocument;
class QTextList;
class TDocStyle;
struct DocPicture;

/// Reads the native file format into a document, trusting nothing in the
/// bytes: every length and count is checked against what is present, every
/// value against its range, and nesting is limited, so a damaged or hostile
/// file only makes `read` return false.
class VDocReader {
public:
    /// Loads the file into `document`, which the caller has cleared. On
    /// failure the document holds what was read before the damage.
    static bool read(QByteArrayView file, EdDocument& document);
    static bool readFile(const QString& fileName, EdDocument& document);

private:
    VDocReader(QByteArrayView payload, EdDocument& document, int version);

    bool readPayload();
    bool readStyles(TDocStyle& style);
    bool readLayout();
    bool readLists();
    bool readContainer(QTextCursor& cursor, int depth);
    bool readParagraph(QTextCursor& cursor, bool& blockUsed);
    bool readItem(quint8 code, QTextCursor& cursor);
    bool readText(QTextCursor& cursor);
    bool readPicture(DocPicture& picture);
    bool readTable(QTextCursor& cursor, int depth);
    bool readCells(QTextTable* table, int count, int depth);

    ByteReader m_in;
    EdDocument& m_document;
    int m_version;
    struct ListSlot {
        QTextListFormat format;
        QTextList* list = nullptr;
    };
    QList<ListSlot> m_lists;
};
