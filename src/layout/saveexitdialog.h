#pragma once

#include <QDialog>

/// The prompt that asks whether to save the changed layout.
class SaveExitDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveExitDialog(QWidget* parent = nullptr);
};
