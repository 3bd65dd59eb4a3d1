#pragma once

#include <QDialog>

/// The online preview: the listing as bidders will see it.
class PreviewLiveWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewLiveWindow(QWidget* parent = nullptr);
};
