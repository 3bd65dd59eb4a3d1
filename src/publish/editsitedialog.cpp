#include "publish/editsitedialog.h"

#include "platform/windowplacement.h"

EditSiteDialog::EditSiteDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmEditSite"));
    setWindowTitle(QStringLiteral("Modify or Delete Auction site"));
    centreOnScreen(*this);
}
