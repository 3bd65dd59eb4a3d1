#include "app/pagereactions.h"

#include "app/appcaption.h"
#include "app/appstate.h"
#include "app/documenteditor.h"
#include "app/exportprogress.h"
#include "app/mainmenu.h"
#include "layout/layout.h"
#include "layout/layoutcolumn.h"
#include "layout/layoutcommands.h"
#include "layout/layoutpage.h"

#include <QPushButton>
#include <QTimer>
#include <QWidget>

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
    if (m_closePublishWindows)
        m_closePublishWindows();
    m_parts.menu.MainMenuDisplay(QStringLiteral("show"));
    m_parts.state.Publishing = false;
}

void PageReactions::tabComposeShow() {
    leavePublishing();
    if (m_updateCaption)
        m_updateCaption();
    m_parts.editor.widget()->setFocus();
    AppState& state = m_parts.state;
    state.DocumentHtml.clear();
    state.DocumentHtmlAllocated = false;
}

void PageReactions::tabDecorateShow() {
    // The controls come back once the preview shows the regenerated page.
    m_parts.layoutPage.column()->setGroupsVisible(false);
    leavePublishing();
    m_parts.layoutCommands.btnNewPresentClick(LayoutCommands::Form::Page);
    const LayoutControls& c = m_parts.layoutPage.controls();
    const AppState& state = m_parts.state;
    const auto hint = [](const QString& text) {
        return text.isEmpty() ? imageHint(QString()) : text;
    };
    c.btnAdImg->setToolTip(hint(state.AdImageHint));
    c.btnFrmImg->setToolTip(hint(state.FrameImageHint));
    c.btnTxtImg->setToolTip(hint(state.TextImageHint));
}

void PageReactions::tabExportShow() {
    m_parts.editor.RemoveUnusedStyles(true, true, true);
    m_parts.editor.RelayoutDocument();
    m_parts.progress.timer()->start();
}
