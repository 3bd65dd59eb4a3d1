#include "app/plaindocumenteditor.h"

#include <QTextEdit>

PlainDocumentEditor::PlainDocumentEditor(QWidget* parent)
    : m_edit(new QTextEdit(parent)) {
    m_edit->setObjectName(QStringLiteral("DocEditor1"));
    m_edit->setAcceptRichText(false);
}

QWidget* PlainDocumentEditor::widget() {
    return m_edit;
}

void PlainDocumentEditor::newDocument() {
    m_edit->clear();
    m_edit->document()->setModified(false);
}

void PlainDocumentEditor::setReadOnly(bool readOnly) {
    m_edit->setReadOnly(readOnly);
}

bool PlainDocumentEditor::isReadOnly() const {
    return m_edit->isReadOnly();
}

bool PlainDocumentEditor::LoadDocumentFile(const QString&) {
    return false;
}

void PlainDocumentEditor::RelayoutDocument() {
    m_edit->viewport()->update();
}

bool PlainDocumentEditor::DocumentModified() const {
    return false;
}

bool PlainDocumentEditor::ConfirmCloseDocument() {
    return true;
}

void PlainDocumentEditor::RemoveUnusedStyles(bool, bool, bool) {}
