#pragma once

#include <QMarginsF>
#include <QPageLayout>

class QPrinter;
class QTextDocument;
class UserDialogs;
class QWidget;

/// Prints the editor's document (`EdPrint1`): with the system print dialog,
/// at once on the default printer, or in a preview window; every page keeps
/// the same margins. Without a printer it says so and offers a PDF file
/// instead of failing in silence.
class TEdPrint {
public:
    TEdPrint(QTextDocument& document, UserDialogs& dialogs, QWidget* parent);

    /// The margin of every side unless changed.
    static constexpr double kMarginMM = 20;
    double LeftMarginMM = kMarginMM;
    double RightMarginMM = kMarginMM;
    double TopMarginMM = kMarginMM;
    double BottomMarginMM = kMarginMM;
    /// The preview window opens maximized.
    bool PreviewMaximized = true;

    void printWithDialog();
    void quickPrint();
    void preview();
    void pageSetup();

    /// Lays the document out on the printer's pages and prints it.
    void printTo(QPrinter& printer) const;
    /// Writes the document to a PDF file; false when the file cannot be
    /// written.
    bool printToPdf(const QString& fileName) const;
    /// True when the system knows at least one printer.
    static bool printerAvailable();
    /// The width, in screen pixels, of the text on a printed page: the
    /// paper chosen in the page setup (before, the usual paper of the
    /// seller's country) less the margins.
    int textWidth() const;
    /// The same for the usual paper and the fixed margins.
    static int defaultTextWidth();

private:
    void applyLayout(QPrinter& printer) const;
    void offerPdf();

    QTextDocument& m_document;
    UserDialogs& m_dialogs;
    QWidget* m_parent;
    /// Chosen in the page setup, kept for every later print.
    QPageLayout m_pageLayout;
};
