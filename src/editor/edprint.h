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

    double LeftMarginMM = 20;
    double RightMarginMM = 20;
    double TopMarginMM = 20;
    double BottomMarginMM = 20;
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

private:
    void applyLayout(QPrinter& printer) const;
    void offerPdf();

    QTextDocument& m_document;
    UserDialogs& m_dialogs;
    QWidget* m_parent;
    /// Chosen in the page setup, kept for every later print.
    QPageLayout m_pageLayout;
};
