#pragma once

#include <QDialog>

/// Renames, re-addresses or deletes an auction site of the site list.
class EditSiteDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditSiteDialog(QWidget* parent = nullptr);
};
