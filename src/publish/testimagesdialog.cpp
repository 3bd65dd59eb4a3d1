#include "publish/testimagesdialog.h"

#include "platform/windowplacement.h"

TestImagesDialog::TestImagesDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_TestImages"));
    setWindowTitle(QStringLiteral("Images required for this Auction"));
    centreOnScreen(*this);
}
