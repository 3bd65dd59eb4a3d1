#include "ui/updown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , m_buddy(buddy)
    , m_minimum(minimum)
    , m_maximum(maximum) {
    auto* arrows = new QVBoxLayout(this);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(makeArrow(Qt::UpArrow, 1));
    arrows->addWidget(makeArrow(Qt::DownArrow, -1));
    setFixedWidth(16);
}

void UpDown::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

void UpDown::step(int delta) {
    emit changing();
    bool isNumber = false;
    const int current = m_buddy->text().toInt(&isNumber);
    const int next = isNumber ? current + delta : m_minimum;
    m_buddy->setText(QString::number(std::clamp(next, m_minimum, m_maximum)));
    emit clicked();
}

QToolButton* UpDown::makeArrow(Qt::ArrowType arrow, int delta) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // Clicking an arrow leaves the keyboard focus in the edit being stepped.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    connect(button, &QToolButton::pressed, this, &UpDown::pressed);
    connect(button, &QToolButton::clicked, this, [this, delta] { step(delta); });
    return button;
}
