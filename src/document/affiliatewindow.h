#pragma once

#include <QWidget>

/// The affiliate program window; it has no controls and nothing shows it yet.
class AffiliateWindow : public QWidget {
    Q_OBJECT
public:
    explicit AffiliateWindow(QWidget* parent = nullptr);
};
