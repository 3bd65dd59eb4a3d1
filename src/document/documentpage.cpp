#include "document/documentpage.h"

#include "document/richdocumenteditor.h"

#include <QVBoxLayout>

DocumentPage::DocumentPage(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_editor(std::make_unique<RichDocumentEditor>(dialogs, this)) {
    setObjectName(QStringLiteral("tabCompose"));
    (new QVBoxLayout(this))->addWidget(m_editor->widget());
}

DocumentPage::~DocumentPage() = default;

DocumentEditor& DocumentPage::editor() const {
    return *m_editor;
}

void DocumentPage::tabComposeShow() {
    m_editor->widget()->setFocus();
}
