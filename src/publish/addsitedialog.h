#pragma once

#include <QDialog>

/// Adds an auction site to a region of the site list.
class AddSiteDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddSiteDialog(QWidget* parent = nullptr);
};
