#include "document/affiliatewindow.h"

#include "ui/windowplacement.h"

AffiliateWindow::AffiliateWindow(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("T_frmAffiliate"));
    setWindowTitle(QStringLiteral("Affiliate program"));
    centreOnScreen(*this);
}
