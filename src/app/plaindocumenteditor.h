#pragma once

#include "app/documenteditor.h"

class QTextEdit;

/// A plain text box in place of the rich-text editor. It reads no document
/// files: loading always fails and leaves the text as it was.
class PlainDocumentEditor : public DocumentEditor {
public:
    explicit PlainDocumentEditor(QWidget* parent);

    QWidget* widget() override;
    void newDocument() override;
    void setReadOnly(bool readOnly) override;
    bool isReadOnly() const override;
    bool LoadDocumentFile(const QString& fileName) override;
    void RelayoutDocument() override;
    /// Never modified: it holds nothing worth keeping.
    bool DocumentModified() const override;
    /// Always true: nothing to ask about.
    bool ConfirmCloseDocument() override;
    void RemoveUnusedStyles(bool textStyles, bool paragraphStyles, bool listStyles) override;

private:
    QTextEdit* m_edit;
};
