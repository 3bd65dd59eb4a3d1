#pragma once

#include <QDialog>

/// The image test: checks that the listing's pictures are online.
class TestImagesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TestImagesDialog(QWidget* parent = nullptr);
};
