#include "publish/addsitedialog.h"

#include "platform/windowplacement.h"

AddSiteDialog::AddSiteDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmAddSite"));
    setWindowTitle(QStringLiteral("Add an Auction site to the list"));
    centreOnScreen(*this);
}
