#include "preview/previewcontroller.h"

#include "layout/layoutcolumn.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/safefile.h"
#include "platform/userdialogs.h"
#include "platform/windows1252.h"
#include "preview/previewbrowser.h"

#include <QLayout>
#include <QPointer>
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
}

void PreviewController::LoadInBrowser() {
    const GeneratedPage page = m_generator.generate();
    if (!page.error.isEmpty())
        m_dialogs.showMessage(page.error, UserDialogs::Icon::Error);
    m_publishing.ListingCode = page.ListingCode;
    m_pageText = page.pageText();
    m_browser->loadPage(windows1252::encode(m_pageText));
    m_readyLimit.start();
}

void PreviewController::showPageFile(const QString& fileName) {
    // From memory like every other page, so the browser stays on one site.
    QByteArray page;
    readWholeFile(fileName, page);
    m_browser->loadPage(page);
}

void PreviewController::documentComplete() {
    // The page's own scripts are off; this one runs in the program's world.
    m_browser->page()->runJavaScript(QStringLiteral("document.body.style.borderStyle = 'none';"),
                                     QWebEngineScript::ApplicationWorld,
                                     [self = QPointer<PreviewController>(this)](const QVariant&) {
                                         if (!self)
                                             return;
                                         self->showLayoutGroups();
                                         emit self->documentCompleted();
                                     });
}

void PreviewController::showLayoutGroups() {
    m_readyLimit.stop();
    m_page.column()->setGroupsVisible(true);
}
