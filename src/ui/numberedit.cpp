#include "ui/numberedit.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace {

// Keys that type a character; Delete and the cursor keys only edit.
bool isCharacterKey(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Delete)
        return false;
    return event.key() == Qt::Key_Backspace || !event.text().isEmpty();
}

bool isAccepted(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace)
        return true;
    const QString text = event.text();
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

NumberEdit::NumberEdit(int maxDigits, QWidget* parent)
    : QLineEdit(parent) {
    // QLineEdit's own maximum length would also cut text set by the program;
    // a validator only limits what the user enters.
    const QRegularExpression upToMax(QStringLiteral(".{0,%1}").arg(maxDigits));
    setValidator(new QRegularExpressionValidator(upToMax, this));
    setFocusPolicy(Qt::ClickFocus);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    if (!isCharacterKey(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    emit keyTyped();
    if (isAccepted(*event))
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLeft();
}
