#pragma once

#include <QDialog>

class QLineEdit;

/// Asks for the text and the target of a new link.
class HyperlinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit HyperlinkDialog(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QString target() const;
    void setTarget(const QString& target);

private:
    QLineEdit* m_text;
    QLineEdit* m_target;
};
