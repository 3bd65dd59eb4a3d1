#pragma once

#include <QWidget>

/// The publishing help window, kept above the program's other windows.
class ExportHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportHelpWindow(QWidget* parent = nullptr);
};
