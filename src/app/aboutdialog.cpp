#include "app/aboutdialog.h"

#include "platform/windowplacement.h"

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmAbout"));
    setWindowTitle(QStringLiteral("About..."));
    setFixedSize(358, 216);
    centreOnScreen(*this);
}
