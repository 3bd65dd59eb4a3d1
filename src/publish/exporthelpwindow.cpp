#include "publish/exporthelpwindow.h"

#include "platform/windowplacement.h"

ExportHelpWindow::ExportHelpWindow(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("T_frmExport1"));
    setWindowTitle(QStringLiteral("Vantrel - Publishing Help"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setMinimumSize(320, 480);
    resize(320, 490);
    centreOnScreen(*this);
}
