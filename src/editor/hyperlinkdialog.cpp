#include "editor/hyperlinkdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

HyperlinkDialog::HyperlinkDialog(QWidget* parent)
    : QDialog(parent)
    , m_text(new QLineEdit(this))
    , m_target(new QLineEdit(this)) {
    setObjectName(QStringLiteral("HyperlinkDialog"));
    setWindowTitle(QStringLiteral("Hypertext Link"));
    m_text->setObjectName(QStringLiteral("edtText"));
    m_target->setObjectName(QStringLiteral("edtTarget"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("&Text:"), m_text);
    layout->addRow(QStringLiteral("T&arget:"), m_target);
    layout->addRow(buttons);
}

QString HyperlinkDialog::text() const {
    return m_text->text();
}

void HyperlinkDialog::setText(const QString& text) {
    m_text->setText(text);
}

QString HyperlinkDialog::target() const {
    return m_target->text();
}

void HyperlinkDialog::setTarget(const QString& target) {
    m_target->setText(target);
}
