#include "app/pagereactions.h"

#include "app/appcaption.h"
#include "app/appstate.h"
#include "app/mainmenu.h"
#include "document/documenteditor.h"
#include "document/documentpage.h"
#include "layout/layout.h"
#include "layoutui/layoutcolumn.h"
#include "layoutui/layoutcommands.h"
#include "layoutui/layoutpage.h"
#include "publish/exportprogress.h"
#include "ui/webparts.h"

#include <QPushButton>
#include <QTimer>

PageReactions::PageReactions(Parts parts, QObject* parent)
    : QObject(parent)
    , m_parts(parts) {}

void PageReactions::pageShown(int index) {
    switch (static_cast<MainPage>(index)) {
    case MainPage::Compose:
        tabComposeShow();
        break;
    case MainPage::Decorate:
        tabDecorateShow();
        break;
    case MainPage::Export:
        tabExportShow();
        break;
    }
}

void PageReactions::leavePublishing() {
    emit publishingLeft();
    m_parts.menu.MainMenuDisplay(QStringLiteral("show"));
    m_parts.state.publishing.Publishing = false;
}

void PageReactions::tabComposeShow() {
    leavePublishing();
    emit captionChanged();
    m_parts.documentPage.focusEditor();
}

void PageReactions::tabDecorateShow() {
    // The controls come back once the preview shows the regenerated page.
    m_parts.layoutPage.column()->setGroupsVisible(false);
    leavePublishing();
    m_parts.layoutCommands.loadOnShow();
    const LayoutControls& c = m_parts.layoutPage.controls();
    const LayoutState& state = m_parts.state.layout.state();
    const auto hint = [](const QString& text) {
        return text.isEmpty() ? imageHint(QString()) : text;
    };
    c.btnAdImg->setToolTip(hint(state.AdImageHint));
    c.btnFrmImg->setToolTip(hint(state.FrameImageHint));
    c.btnTxtImg->setToolTip(hint(state.TextImageHint));
}

void PageReactions::tabExportShow() {
    DocumentEditor& editor = m_parts.documentPage.editor();
    editor.RemoveUnusedStyles(true, true, true);
    editor.RelayoutDocument();
    if (PublishBrowserPage* page = m_parts.publishPage())
        page->progress().timer()->start();
}
