#pragma once

#include <QDialog>

/// Explains how the seller's own pictures reach the image server.
class InsertPicInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit InsertPicInfoDialog(QWidget* parent = nullptr);
};
