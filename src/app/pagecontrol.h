#pragma once

#include <QTabWidget>

/// The main window's page control `pgcMain`: wide tabs of one fixed size
/// that light up under the mouse.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
};
