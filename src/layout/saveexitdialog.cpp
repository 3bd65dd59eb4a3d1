#include "layout/saveexitdialog.h"

#include "platform/windowplacement.h"

SaveExitDialog::SaveExitDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmSaveExit"));
    setWindowTitle(QStringLiteral("Save Changes"));
    setFixedSize(327, 132);
    centreOnScreen(*this);
}
