#pragma once

#include <QDialog>

/// The publish dialog: picks the auction site and the browser to publish in.
class ExportInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportInfoDialog(QWidget* parent = nullptr);
};
