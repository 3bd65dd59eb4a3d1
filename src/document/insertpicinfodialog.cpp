#include "document/insertpicinfodialog.h"

#include "platform/windowplacement.h"

InsertPicInfoDialog::InsertPicInfoDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmInsertPicInfo"));
    setWindowTitle(QStringLiteral("Information - Using own pictures in Documents & Layouts"));
    setFixedSize(530, 226);
    centreOnScreen(*this);
}
