#include "editor/hyperlinkdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
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
    // Named, so that each has its text in the language file.
    auto* text = new QLabel(QStringLiteral("&Text:"), this);
    text->setObjectName(QStringLiteral("lblText"));
    text->setBuddy(m_text);
    auto* target = new QLabel(QStringLiteral("T&arget:"), this);
    target->setObjectName(QStringLiteral("lblTarget"));
    target->setBuddy(m_target);
    // Room for a whole web address of some 60 characters, as sellers type them.
    const int addressWidth = fontMetrics().averageCharWidth() * 60;
    m_text->setMinimumWidth(addressWidth);
    m_target->setMinimumWidth(addressWidth);
    layout->addRow(text, m_text);
    layout->addRow(target, m_target);
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
