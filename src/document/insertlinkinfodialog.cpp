#include "document/insertlinkinfodialog.h"

#include "platform/windowplacement.h"

InsertLinkInfoDialog::InsertLinkInfoDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmInsertLinkInfo"));
    setWindowTitle(QStringLiteral("Information - Inserting links in Document"));
    setFixedSize(462, 277);
    centreOnScreen(*this);
}
