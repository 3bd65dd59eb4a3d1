#include "document/richdocumenteditor.h"

#include "editor/edactionlist.h"
#include "editor/edfilecommands.h"
#include "editor/tdoceditor.h"
#include "platform/apperror.h"

#include <QBuffer>

RichDocumentEditor::RichDocumentEditor(UserDialogs& dialogs, QWidget* parent)
    : m_editor(new TDocEditor(dialogs, parent))
    , m_files(new EdFileCommands(*m_editor, m_editor))
    , m_actions(new EdActionList(*m_editor, *m_files, m_editor)) {
    m_editor->setObjectName(QStringLiteral("DocEditor1"));
}

RichDocumentEditor::~RichDocumentEditor() = default;

QWidget* RichDocumentEditor::widget() {
    return m_editor;
}

void RichDocumentEditor::newDocument() {
    m_files->New();
}

void RichDocumentEditor::setReadOnly(bool readOnly) {
    m_editor->setReadOnly(readOnly);
}

bool RichDocumentEditor::isReadOnly() const {
    return m_editor->isReadOnly();
}

bool RichDocumentEditor::LoadDocumentFile(const QString& fileName) {
    return m_editor->LoadDocumentFile(fileName);
}

bool RichDocumentEditor::loadWelcomeDocument(const QString& fileName) {
    return m_editor->LoadDocumentFile(fileName, false);
}

void RichDocumentEditor::RelayoutDocument() {
    m_editor->RelayoutDocument();
}

bool RichDocumentEditor::DocumentModified() const {
    return m_editor->DocumentModified();
}

bool RichDocumentEditor::ConfirmCloseDocument() {
    return m_files->ConfirmCloseDocument();
}

void RichDocumentEditor::RemoveUnusedStyles(bool textStyles, bool paragraphStyles,
                                            bool listStyles) {
    m_editor->RemoveUnusedStyles(textStyles, paragraphStyles, listStyles);
}

void RichDocumentEditor::setPicturePlanner(PicturePlanner planner) {
    m_planPictures = std::move(planner);
}

QByteArray RichDocumentEditor::exportHtmlFragment() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!m_planPictures) {
        m_editor->ExportHtmlFragment(buffer);
        return buffer.data();
    }
    const Result<pictureplan::Plan> plan =
        m_planPictures(HtmlFragmentExporter::documentPictures(m_editor->edDocument()));
    if (!plan)
        throw AppError(plan.error());
    m_editor->ExportHtmlFragment(buffer, &plan.value());
    return buffer.data();
}
