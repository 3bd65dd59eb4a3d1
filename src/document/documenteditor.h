#pragma once

#include <QString>

class QWidget;

/// What the main window needs of the Document page's editor.
/// `RichDocumentEditor` implements it with the rich-text editor.
class DocumentEditor {
public:
    virtual ~DocumentEditor() = default;

    /// The editor's widget, placed on the Document page.
    virtual QWidget* widget() = 0;
    /// The editor's new-document command: an empty, unnamed document.
    virtual void newDocument() = 0;
    virtual void setReadOnly(bool readOnly) = 0;
    virtual bool isReadOnly() const = 0;
    /// Loads a document file; false when it cannot be read. The editor is
    /// cleared first when the file can be opened.
    virtual bool LoadDocumentFile(const QString& fileName) = 0;
    /// Loads the welcome document: a file that cannot be shown leaves the
    /// editor empty and says nothing.
    virtual bool loadWelcomeDocument(const QString& fileName) = 0;
    /// Recomputes the layout and repaints.
    virtual void RelayoutDocument() = 0;
    /// The document differs from its file.
    virtual bool DocumentModified() const = 0;
    /// Whether the document may be closed: with unsaved changes the user is
    /// asked Yes/No/Cancel; Yes saves, Cancel refuses.
    virtual bool ConfirmCloseDocument() = 0;
    /// Drops the styles no text uses, of the kinds asked for.
    virtual void RemoveUnusedStyles(bool textStyles, bool paragraphStyles, bool listStyles) = 0;
};
