#include "app/webpartshost.h"

#include "app/publishingcontroller.h"
#include "app/webmoduleloader.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutpage.h"
#include "ui/userdialogs.h"
#include "ui/webparts.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QTimer>

WebPartsHost::WebPartsHost(Parts parts, UserDialogs& dialogs, QWidget* window)
    : QObject(window)
    , m_parts(parts)
    , m_dialogs(dialogs)
    , m_window(window) {
    window->installEventFilter(this);
    // A refresh asked for before the preview exists makes it and shows the page.
    connect(&m_parts.layoutPage, &LayoutPage::previewRequested, this, [this] {
        if (m_preview)
            return;
        if (LayoutPreview* shown = preview())
            shown->LoadInBrowser();
        else // no page will come that the controls wait for
            m_parts.layoutPage.column()->setGroupsVisible(true);
    });
}

Status WebPartsHost::load() {
    const Result<WebParts*> web = webmoduleloader::load();
    if (m_tried)
        return web ? Status() : fail(web.error());
    m_tried = true;
    if (!web) {
        showModuleMissing(web.error());
        return fail(web.error());
    }
    m_parts.publishing.createWebParts(**web);
    emit windowsMade();
    return {};
}

LayoutPreview* WebPartsHost::preview() {
    if (!m_preview && load()) {
        m_preview = webmoduleloader::load().value()->createPreview(
            m_parts.publishingState, m_parts.layoutPage, m_parts.generator, m_dialogs, m_window);
    }
    return m_preview;
}

bool WebPartsHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Paint && !m_preview && !m_previewPending) {
        // The preview's browser starts the web engine, which the Document
        // page shown first does not need: once this paint is on the screen.
        m_previewPending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_window->isVisible()) // not for a window closed at once
                preview();
        });
    }
    return QObject::eventFilter(watched, event);
}

void WebPartsHost::showModuleMissing(const QString& error) {
    qWarning("%s", qPrintable(error));
    for (QWidget* place : {&m_parts.publishing.publishTab(), m_parts.layoutPage.previewHost()}) {
        auto* note = new QLabel(error, place);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignCenter);
        place->layout()->addWidget(note);
    }
    m_dialogs.showError(error);
}
