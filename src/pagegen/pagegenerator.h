#pragma once

#include "pagegen/bbmdatamerge.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

struct Layout;
struct LayoutState;
struct PublishingState;
struct WorkingFolders;

/// One generated page: the listing body that publishing copies, and the
/// complete page around it that the preview shows.
struct GeneratedPage {
    /// The template's tables with the layout's values, then the document,
    /// then the lines that close what the template opened: the code as it
    /// is published, every element it opens closed.
    QStringList ListingCode;
    /// `ListingCode` wrapped into a complete page.
    QStringList memPage;
    /// A fault that generation worked around (an unreadable template); empty
    /// when there was none. The page is still made.
    QString error;

    /// `memPage` as one text, every line ended by CR LF.
    QString pageText() const;
    /// Where the document's line is in `memPage`: the lines before it are the
    /// page head and the template merged with the layout values.
    qsizetype documentLineIndex() const { return m_documentLine; }

private:
    friend class PageGenerator;
    qsizetype m_documentLine = 0;
};

/// Makes the listing page from the page template, the `Layout` and the
/// document. Works on the record and the state it is given, never on
/// controls, so it runs without a window.
class PageGenerator {
public:
    /// The document as an HTML fragment in Windows-1252: content only, with
    /// inline styles and each picture referred to as page generation wants.
    using DocumentExport = std::function<QByteArray()>;

    PageGenerator(const WorkingFolders& folders, const LayoutState& layoutState,
                  const PublishingState& publishing, const Layout& layout);

    void setDocumentExport(DocumentExport exportDocument);

    /// Merges the template with the layout (`MergeCss`) and wraps the result
    /// into the page (`WriteCode`). A template that cannot be read is named
    /// in the page's `error` and the page is made from the document alone.
    GeneratedPage generate();

    /// The first line of every page made from `ListingCode`: document type,
    /// character set, title and the opening of the body.
    static const QString& pageHead();

private:
    void MergeCss(GeneratedPage& page);
    void WriteCode(GeneratedPage& page) const;
    QString documentLine();

    const WorkingFolders& m_folders;
    const LayoutState& m_layoutState;
    const PublishingState& m_publishing;
    const Layout& m_layout;
    DocumentExport m_exportDocument;
    TBBMDataMerge CssMerge;
    /// The last export and the document's line made from it: a page made
    /// again for the layout alone gets the same export.
    QByteArray m_lastExport;
    QString m_lastDocumentLine;
    bool m_documentLineMade = false;
};
