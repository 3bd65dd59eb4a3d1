#pragma once

#include <QLineEdit>

/// A small edit for a pixel measure. Typing is limited to digits and to a
/// maximum length; text set by the program is kept whole, even when longer
/// or not a number, so a layout file's values show as they are stored.
class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    NumberEdit(int maxDigits, QWidget* parent = nullptr);

signals:
    /// A character key was typed, whether it was accepted or discarded.
    void keyTyped();
    /// The edit lost the keyboard focus.
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
