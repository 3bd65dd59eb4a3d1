#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

/// A pair of arrow buttons that step the number in a buddy edit within a
/// range. Stepping starts from the edit's current text, so values the user
/// typed or a layout file held are respected and then clamped to the range.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setRange(int minimum, int maximum);

    /// Steps the buddy as one click on the up (+1) or down (-1) arrow does.
    void step(int delta);

signals:
    /// A mouse button went down on one of the arrows.
    void pressed();
    /// An arrow was clicked and is about to step the buddy.
    void changing();
    /// An arrow was clicked and the buddy has been stepped.
    void clicked();

private:
    QToolButton* makeArrow(Qt::ArrowType arrow, int delta);

    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
};
