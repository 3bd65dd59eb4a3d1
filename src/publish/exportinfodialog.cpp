#include "publish/exportinfodialog.h"

#include "platform/windowplacement.h"

ExportInfoDialog::ExportInfoDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmExportInfo"));
    setWindowTitle(QStringLiteral("Publish"));
    centreOnScreen(*this);
}
