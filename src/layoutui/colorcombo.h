#pragma once

#include <QColor>
#include <QComboBox>

class UserDialogs;

/// A drop-down colour picker: the automatic entry "Default color" (no colour,
/// `color()` is invalid), a set of common colours, the last colour that is
/// not among them, and an entry that opens the colour dialog.
///
/// Only a choice by the user emits `colorPicked`; `setColor` never does, so
/// the program can show a stored colour without it counting as a change.
class ColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ColorCombo(UserDialogs& dialogs, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    /// Shows the colour; the invalid colour selects "Default color".
    void setColor(const QColor& color);

    /// The list opens at least as wide as its longest entry, in whatever
    /// language the entries are, though the box itself may be narrower.
    void showPopup() override;

signals:
    void colorPicked(const QColor& color);

protected:
    /// Scrolling over the column must not change colours by accident.
    void wheelEvent(QWheelEvent* event) override;

private:
    void addColorItem(const QString& text, const QColor& color);
    int customIndex() const;
    int dialogIndex() const { return count() - 1; }
    void onActivated(int index);
    void pickFromDialog();

    UserDialogs& m_dialogs;
    QColor m_color;
};
