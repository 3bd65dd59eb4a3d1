#pragma once

#include "pagegen/bbmdatamerge.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

struct AppState;
struct Layout;

/// Makes the listing page from the page template, the `Layout` and the
/// document. `MergeCss` fills `ListingCode` (the template's tables with the
/// layout's values, then the document); `WriteCode` wraps it into the
/// complete page that the preview shows, `memPage`.
///
/// Works on the record, never on controls, so it runs without a window.
class PageGenerator {
public:
    /// The document as an HTML fragment in Windows-1252: content only, with
    /// inline styles and each picture referred to as page generation wants.
    using DocumentExport = std::function<QByteArray()>;
    /// Shows a message; generation goes on afterwards.
    using ErrorReport = std::function<void(const QString& message)>;

    PageGenerator(AppState& state, const Layout& layout, ErrorReport reportError);

    void setDocumentExport(DocumentExport exportDocument);

    /// Builds `ListingCode`. A template that cannot be read is reported and
    /// the page is made from the document alone.
    void MergeCss();
    /// Rebuilds `memPage` from `ListingCode`.
    void WriteCode();

    const QStringList& memPage() const { return m_memPage; }
    /// `memPage` as one text, every line ended by CR LF.
    QString pageText() const;

    /// The first line of every page made from `ListingCode`: document type,
    /// character set, title and the opening of the body.
    static const QString& pageHead();
    /// The file name of the template, beside the program.
    static QString templateFileName(const AppState& state);

private:
    void loadTemplate();
    QString documentLine();
    bool showsDefaultLayoutNote() const;

    AppState& m_state;
    const Layout& m_layout;
    ErrorReport m_reportError;
    DocumentExport m_exportDocument;
    TBBMDataMerge CssMerge;
    QStringList m_memPage;
};
