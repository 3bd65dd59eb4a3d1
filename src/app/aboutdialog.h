#pragma once

#include <QDialog>

/// The About box: product logo, version and the product web site.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
