#pragma once

#include "docmodel/docitem.h"

#include <QList>
#include <QPointer>
#include <QTextFrame>
#include <QTextTable>

class QTextDocument;

/// A container of items (`TCustomDocData`): the top level of a document or
/// one cell of a table. Items are numbered from 0 within their container.
class TCustomDocData {
public:
    TCustomDocData() = default;
    explicit TCustomDocData(QTextDocument* document);
    TCustomDocData(QTextTable* table, int row, int column);

    bool isValid() const;
    bool isRoot() const { return m_table.isNull(); }
    QTextDocument* document() const { return m_document; }
    QTextTable* table() const { return m_table; }
    int row() const { return m_row; }
    int column() const { return m_column; }

    QList<DocItem> items() const;
    /// The item with that number; false when there is none.
    bool item(int itemNo, DocItem& result) const;

    bool operator==(const TCustomDocData& other) const;
    bool operator!=(const TCustomDocData& other) const { return !(*this == other); }

private:
    QPointer<QTextDocument> m_document;
    QPointer<QTextTable> m_table;
    int m_row = 0;
    int m_column = 0;
};
