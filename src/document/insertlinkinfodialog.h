#pragma once

#include <QDialog>

/// Explains how links in the document are published.
class InsertLinkInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit InsertLinkInfoDialog(QWidget* parent = nullptr);
};
