#pragma once

#include <QFrame>

/// The grid dropped below a tool button in which the user picks the size of
/// a new table: moving over the grid marks rows and columns, a click takes
/// them, Escape or a click elsewhere closes it.
class TableSizePicker : public QFrame {
    Q_OBJECT
public:
    explicit TableSizePicker(QWidget* parent = nullptr);

    /// Opens the grid just below the widget.
    void popupBelow(QWidget* anchor);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    /// Marks a size as if the pointer stood on that cell (1-based).
    void mark(int rows, int columns);

signals:
    void sizeChosen(int rows, int columns);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr int kCell = 18;
    static constexpr int kMaxRows = 10;
    static constexpr int kMaxColumns = 10;
    QRect gridRect() const;
    int m_rows = 0;
    int m_columns = 0;
};
