#include "document/insertpicinfodialog.h"

#include "document/infowindowparts.h"
#include "settings/settingschoices.h"
#include "settings/settingsfile.h"
#include "ui/productwebsite.h"
#include "ui/themecolors.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

/// Fits a path into `width` pixels by replacing folders in its middle with
/// "...", keeping the first folder and the file name as long as possible.
QString shortenPath(const QString& path, const QFontMetrics& metrics, int width) {
    const QString shown = QDir::toNativeSeparators(path);
    if (metrics.horizontalAdvance(shown) <= width)
        return shown;
    const QChar separator = QDir::separator();
    QStringList parts = shown.split(separator);
    // Drop folders right of the first one until the rest fits.
    while (parts.size() > 3) {
        parts.removeAt(parts.size() > 3 ? 2 : 1);
        QStringList candidate = parts;
        candidate.insert(2, QStringLiteral("..."));
        const QString text = candidate.join(separator);
        if (metrics.horizontalAdvance(text) <= width)
            return text;
    }
    return metrics.elidedText(shown, Qt::ElideMiddle, width);
}

QLabel* addPath(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setStyleSheet(
        QStringLiteral("color: %1;")
            .arg(themecolors::styleColor(QStringLiteral("maroon"), label->palette())));
    return label;
}

} // namespace

InsertPicInfoDialog::InsertPicInfoDialog(UserDialogs& dialogs, QString settingsFile,
                                         SettingsChoices* settings, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_settingsFile(std::move(settingsFile))
    , m_settings(settings) {
    setObjectName(QStringLiteral("T_frmInsertPicInfo"));
    setWindowTitle(QStringLiteral("Information - Using own pictures in Documents & Layouts"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    infowindow::useDialogFont(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infowindow::addText(this, "lblInsertPic3",
                                          QStringLiteral("This picture has been copied to :")));
    lblShortDest = addPath(this, "lblShortDest");
    layout->addWidget(lblShortDest);
    layout->addWidget(infowindow::addText(
        this, "lblInsertPic1",
        QStringLiteral("Please remember to upload your own images to your image server. These "
                       "pictures are located in the following folder :")));
    lblOwnImageFolder = addPath(this, "lblOwnImageFolder");
    layout->addWidget(lblOwnImageFolder);
    QLabel* more =
        infowindow::addLinkLabel(this, "lblInsertPicLink", QStringLiteral("More info online"));
    connect(more, &QLabel::linkActivated, this, [this] {
        openWebPage(m_dialogs, productWebPage(QStringLiteral("/support.html#DefiningServer")));
    });
    layout->addWidget(more);
    layout->addStretch();
    auto* close = new QPushButton(QStringLiteral("OK"), this);
    close->setObjectName(QStringLiteral("btnClosePicInsertInfo"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    cbxHideInsertPicInfo = infowindow::addHideBox(this, "cbxHideInsertPicInfo");
    connectCommand(cbxHideInsertPicInfo, &QCheckBox::clicked, this, m_dialogs,
                   [this] { cbxHideInsertPicInfoClick(cbxHideInsertPicInfo->isChecked()); });
    layout->addWidget(cbxHideInsertPicInfo);
    setFixedSize(530, 226);
    centreOnScreen(*this);
}

void InsertPicInfoDialog::showPaths(const QString& lastCopy, const QString& ownPicturesFolder) {
    const QFontMetrics metrics(font());
    lblShortDest->setText(shortenPath(lastCopy, metrics, 480));
    lblOwnImageFolder->setText(shortenPath(ownPicturesFolder, metrics, 480));
}

void InsertPicInfoDialog::showEvent(QShowEvent* event) {
    if (m_settings)
        cbxHideInsertPicInfo->setChecked(m_settings->hideInsertPicture());
    QDialog::showEvent(event);
}

void InsertPicInfoDialog::cbxHideInsertPicInfoClick(bool hide) {
    SettingsFile(m_settingsFile).writeBool(SettingKey::hideInsertPic, hide);
    if (m_settings)
        m_settings->setHideInsertPicture(hide);
}
