#include "preview/previewcontroller.h"

#include "app/appstate.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutpage.h"
#include "pagegen/pagegenerator.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "preview/previewbrowser.h"

#include <QLayout>
#include <QPointer>
#include <QWebEngineScript>

PreviewController::PreviewController(AppState& state, LayoutPage& page, PageGenerator& generator,
                                     QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_page(page)
    , m_generator(generator)
    , m_browser(new PreviewBrowser(page.previewHost())) {
    m_browser->setObjectName(QStringLiteral("broPreview"));
    page.previewHost()->layout()->addWidget(m_browser);
    m_readyLimit.setSingleShot(true);
    m_readyLimit.setInterval(DefaultReadyTimeLimitMs);
    connect(&m_readyLimit, &QTimer::timeout, this, &PreviewController::showLayoutGroups);
    connect(m_browser, &QWebEngineView::loadFinished, this, &PreviewController::documentComplete);
    page.setPreviewRefresh([this] { _btnPreviewClick(); });
}

void PreviewController::setCaptionUpdate(std::function<void()> updateCaption) {
    m_updateCaption = std::move(updateCaption);
}

void PreviewController::_btnPreviewClick() {
    // While the controls are being filled their change events must not
    // capture a half-set layout.
    if (!m_state.LayoutControlsReady)
        return;
    m_page.CaptureLayout();
    if (m_updateCaption)
        m_updateCaption();
    m_state.LayoutLoadNeeded = false;
    LoadInBrowser();
}

void PreviewController::LoadInBrowser() {
    m_generator.MergeCss();
    m_generator.WriteCode();
    m_state.PageText = m_generator.pageText();
    m_browser->loadPage(windows1252::encode(m_state.PageText));
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
