#include "editor/edprint.h"

#include "docmodel/blockdecorations.h"
#include "editor/eddialogs.h"
#include "ui/userdialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPageRanges>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTextDocument>
#include <QWidget>
#include <memory>

namespace {

QPageLayout usualPaper() {
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
}

/// Pixels at the screen's resolution, as the editor lays text out.
int textWidthOn(const QPageLayout& paper, double leftMM, double rightMM) {
    const double millimetres = paper.fullRect(QPageLayout::Millimeter).width() - leftMM - rightMM;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96;
    return qMax(1, int(millimetres / 25.4 * dpi));
}

} // namespace

TEdPrint::TEdPrint(QTextDocument& document, UserDialogs& dialogs, QWidget* parent)
    : m_document(document)
    , m_dialogs(dialogs)
    , m_parent(parent) {}

bool TEdPrint::printerAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

int TEdPrint::textWidth() const {
    return textWidthOn(m_pageLayout.isValid() ? m_pageLayout : usualPaper(), LeftMarginMM,
                       RightMarginMM);
}

int TEdPrint::defaultTextWidth() {
    return textWidthOn(usualPaper(), kMarginMM, kMarginMM);
}

void TEdPrint::applyLayout(QPrinter& printer) const {
    if (m_pageLayout.isValid())
        printer.setPageLayout(m_pageLayout);
    printer.setPageMargins(QMarginsF(LeftMarginMM, TopMarginMM, RightMarginMM, BottomMarginMM),
                           QPageLayout::Millimeter);
}

void TEdPrint::printTo(QPrinter& printer) const {
    applyLayout(printer);
    // A copy is laid out on pages exactly as large as the printable area,
    // so the editor's own layout stays as it is, and printing adds no
    // margins of its own to the fixed ones.
    std::unique_ptr<QTextDocument> copy(m_document.clone());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96;
    const QSizeF page = printer.pageLayout().paintRect(QPageLayout::Point).size() * dpi / 72;
    copy->setPageSize(page);
    // Marks of spaces and paragraph ends are for the screen only.
    QTextOption option = copy->defaultTextOption();
    option.setFlags(option.flags() & ~(QTextOption::ShowTabsAndSpaces |
                                       QTextOption::ShowLineAndParagraphSeparators));
    copy->setDefaultTextOption(option);
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    painter.scale(printer.width() / page.width(), printer.height() / page.height());
    QAbstractTextDocumentLayout* layout = copy->documentLayout();
    const QPageRanges ranges = printer.pageRanges();
    bool first = true;
    for (int number = 1; number <= copy->pageCount(); ++number) {
        if (!ranges.isEmpty() && !ranges.contains(number))
            continue;
        if (!first)
            printer.newPage();
        first = false;
        // Each page shows its slice of the long laid-out document, with the
        // paragraph borders and lines the editor draws over the text.
        const QRectF view(0, (number - 1) * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        // Black text on paper whatever the screen's colours.
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        blockdecorations::paint(painter, *copy, view);
        painter.restore();
    }
}

bool TEdPrint::printToPdf(const QString& fileName) const {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printTo(printer);
    return QFileInfo(fileName).size() > 0;
}

void TEdPrint::offerPdf() {
    if (!m_dialogs.askYesNo(QStringLiteral("No printer is available. Do you want to print the "
                                           "document to a PDF file instead?"),
                            QStringLiteral("Print"), UserDialogs::Icon::Warning))
        return;
    UserDialogs::FileDialogOptions options;
    options.title = QStringLiteral("Print to PDF File");
    options.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
    options.defaultExtension = QStringLiteral("pdf");
    const QString fileName = m_dialogs.saveFileName(options);
    if (fileName.isEmpty())
        return;
    if (!printToPdf(fileName))
        m_dialogs.showMessage(QStringLiteral("Error saving file.\n") + fileName,
                              UserDialogs::Icon::Error, QStringLiteral("Error"));
}

void TEdPrint::printWithDialog() {
    if (!printerAvailable()) {
        offerPdf();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    applyLayout(printer);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (m_dialogs.runModal(dialog) == QDialog::Accepted)
        printTo(printer);
}

void TEdPrint::quickPrint() {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        offerPdf();
        return;
    }
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printTo(printer);
}

void TEdPrint::preview() {
    QPrinter printer(QPrinter::HighResolution);
    applyLayout(printer);
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) { printTo(*target); });
    if (PreviewMaximized) {
        // The screen's whole working area first, for a desktop that leaves
        // maximizing to the window alone.
        if (const QScreen* screen =
                m_parent ? m_parent->screen() : QGuiApplication::primaryScreen())
            dialog.setGeometry(screen->availableGeometry());
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    }
    m_dialogs.runModal(dialog);
}

void TEdPrint::pageSetup() {
    if (!printerAvailable()) {
        // The system page setup works only on a printer; for a PDF file the
        // paper and its orientation are chosen here.
        const QList<std::pair<QPageSize::PageSizeId, QPageLayout::Orientation>> papers = {
            {QPageSize::A4, QPageLayout::Portrait},
            {QPageSize::A4, QPageLayout::Landscape},
            {QPageSize::Letter, QPageLayout::Portrait},
            {QPageSize::Letter, QPageLayout::Landscape}};
        EdChoiceDialog dialog(QStringLiteral("PageSetupDialog"), QStringLiteral("Page Setup"),
                              {QStringLiteral("A4, portrait"), QStringLiteral("A4, landscape"),
                               QStringLiteral("Letter, portrait"),
                               QStringLiteral("Letter, landscape")},
                              m_parent);
        if (m_dialogs.runModal(dialog) != QDialog::Accepted || dialog.chosen() < 0)
            return;
        const auto& paper = papers.at(dialog.chosen());
        m_pageLayout =
            QPageLayout(QPageSize(paper.first), paper.second, QMarginsF(), QPageLayout::Millimeter);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    applyLayout(printer);
    QPageSetupDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PageSetupDialog"));
    if (m_dialogs.runModal(dialog) != QDialog::Accepted)
        return;
    // The paper and its orientation are the user's; the margins stay fixed.
    m_pageLayout = printer.pageLayout();
}
