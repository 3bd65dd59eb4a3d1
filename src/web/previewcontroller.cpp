#include "web/previewcontroller.h"

#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetext.h"
#include "pagegen/publishingstate.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "ui/userdialogs.h"
#include "web/decorationupdate.h"
#include "web/previewbrowser.h"

#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QWebEngineScript>

PreviewController::PreviewController(PublishingState& publishing, LayoutPage& page,
                                     PageGenerator& generator, UserDialogs& dialogs,
                                     QObject* parent)
    : QObject(parent)
    , m_publishing(publishing)
    , m_page(page)
    , m_generator(generator)
    , m_dialogs(dialogs)
    , m_browser(new PreviewBrowser(page.previewHost())) {
    m_browser->setObjectName(QStringLiteral("broPreview"));
    page.previewHost()->layout()->addWidget(m_browser);
    m_readyLimit.setSingleShot(true);
    m_readyLimit.setInterval(DefaultReadyTimeLimitMs);
    connect(&m_readyLimit, &QTimer::timeout, this, &PreviewController::showLayoutGroups);
    connect(m_browser, &QWebEngineView::loadFinished, this, &PreviewController::documentComplete);
    connect(&page, &LayoutPage::previewRequested, this, &PreviewController::LoadInBrowser);
    connect(&page, &LayoutPage::phonePreviewToggled, m_browser, &PreviewBrowser::showAtPhoneWidth);
    // The browser is made when first needed; the phone toggle may be on by then.
    m_browser->showAtPhoneWidth(page.buttons().btnPhonePreview->isChecked());
}

void PreviewController::LoadInBrowser() {
    const GeneratedPage page = m_generator.generate();
    if (!page.error.isEmpty())
        m_dialogs.showMessage(page.error, UserDialogs::Icon::Error);
    m_publishing.ListingCode = page.ListingCode;
    m_pageLines = page.memPage;
    ++m_requests;
    if (!updateInPlace(page)) {
        m_shown = {page.memPage, page.documentLineIndex(), {}, false};
        m_shown.url = m_browser->loadPage(windows1252::encode(page.pageText()));
    }
    m_readyLimit.start();
}

QString PreviewController::pageText() const {
    return joinLines(m_pageLines);
}

bool PreviewController::updateInPlace(const GeneratedPage& page) {
    const qsizetype documentLine = m_shown.documentLine;
    if (!m_inPlaceUpdates || !m_shown.loaded || documentLine != page.documentLineIndex() ||
        !decorationupdate::onlyDecorationChanged(m_shown.lines, page.memPage, documentLine))
        return false;
    const QString script = decorationupdate::script(
        m_shown.url, decorationupdate::outline(m_shown.lines, documentLine),
        decorationupdate::outline(page.memPage, documentLine));
    // What the browser shows once the script has run; later changes start from it.
    m_shown.lines = page.memPage;
    m_browser->page()->runJavaScript(
        script, QWebEngineScript::ApplicationWorld,
        [self = QPointer<PreviewController>(this), request = m_requests](const QVariant& applied) {
            if (!self)
                return;
            if (applied.toBool())
                self->pageShown();
            else if (request == self->m_requests) // a later page takes care of itself
                self->reloadShownPage();
        });
    return true;
}

void PreviewController::reloadShownPage() {
    m_shown.loaded = false;
    m_shown.url = m_browser->loadPage(windows1252::encode(joinLines(m_shown.lines)));
}

void PreviewController::showPageFile(const QString& fileName) {
    // From memory like every other page, so the browser stays on one site.
    QByteArray page;
    readWholeFile(fileName, page);
    ++m_requests;
    m_shown = {};
    m_shown.url = m_browser->loadPage(page);
}

void PreviewController::documentComplete(bool ok) {
    if (ok && m_browser->url() == m_shown.url)
        m_shown.loaded = true;
    // The page's own scripts are off; this one runs in the program's world.
    m_browser->page()->runJavaScript(QStringLiteral("document.body.style.borderStyle = 'none';"),
                                     QWebEngineScript::ApplicationWorld,
                                     [self = QPointer<PreviewController>(this)](const QVariant&) {
                                         if (self)
                                             self->pageShown();
                                     });
}

void PreviewController::pageShown() {
    showLayoutGroups();
    emit documentCompleted();
}

void PreviewController::showLayoutGroups() {
    m_readyLimit.stop();
    m_page.column()->setGroupsVisible(true);
}
