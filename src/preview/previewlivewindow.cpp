#include "preview/previewlivewindow.h"

#include "platform/windowplacement.h"

PreviewLiveWindow::PreviewLiveWindow(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmPreviewLive"));
    setWindowTitle(QStringLiteral("Vantrel - Online Preview"));
    setMinimumSize(1000, 750);
    resize(1000, 750);
    centreOnScreen(*this);
}
