#pragma once

#include "docmodel/bytewriter.h"
#include "docmodel/customdocdata.h"

#include <QHash>

class EdDocument;
class QTextList;
class TDocStyle;
struct DocPicture;

/// Writes a document in the native file format.
class VDocWriter {
public:
    /// The whole file: header and compressed payload.
    static QByteArray write(const EdDocument& document);
    /// Saves through a temporary file, so a failed save leaves the previous
    /// file as it was; throws AppError when the file cannot be written.
    static void writeFile(const EdDocument& document, const QString& fileName);

private:
    explicit VDocWriter(const EdDocument& document)
        : m_document(document) {}

    QByteArray payload();
    void writeStyles(const TDocStyle& style);
    void writeLists();
    /// The items of a container as they are written: a table deeper than
    /// the file keeps stands as the content of its cells.
    static QList<DocItem> writtenItems(const TCustomDocData& data, int depth);
    /// `depth`: how many tables hold the container.
    void writeContainer(const TCustomDocData& data, int depth);
    void writeParagraph(const DocItem& item);
    void writeItem(const DocItem& item, int depth);
    void writeTable(QTextTable* table, int depth);
    void writePicture(const DocPicture& picture);

    const EdDocument& m_document;
    ByteWriter m_out;
    QHash<QTextList*, int> m_lists;
};
