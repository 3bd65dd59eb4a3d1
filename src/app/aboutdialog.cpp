#include "app/aboutdialog.h"

#include "app/productlogo.h"
#include "ui/productwebsite.h"
#include "ui/windowplacement.h"
#include "version.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPalette>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

AboutDialog::AboutDialog(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dialogs(dialogs) {
    setObjectName(QStringLiteral("T_frmAbout"));
    setWindowTitle(QStringLiteral("About..."));
    setFixedSize(358, 256);
    // The box paints its own light background: its texts are dark on it
    // whatever the desktop's colours.
    QPalette onLight = palette();
    onLight.setColor(QPalette::Window, Qt::white);
    onLight.setColor(QPalette::WindowText, Qt::black);
    setPalette(onLight);

    auto* column = new QVBoxLayout(this);
    auto* logo = new ProductLogo(this);
    logo->setObjectName(QStringLiteral("imgLogoAbout"));
    logo->setFixedSize(300, 70);
    column->addWidget(logo, 0, Qt::AlignHCenter);
    m_version = namedLabel(this, "lblVersion");
    column->addWidget(m_version, 0, Qt::AlignHCenter);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    column->addWidget(line);
    buildWebsiteRow(column);
    column->addStretch();
    auto* footer = namedLabel(this, "lblFooter",
                              QStringLiteral("Decorated listing pages for online auctions"));
    footer->setStyleSheet(QStringLiteral("color: grey; font-size: 7pt;"));
    column->addWidget(footer, 0, Qt::AlignHCenter);
    // A visible way out besides the title bar's box, which some window
    // managers do not draw; Qt's own texts name it in the program's language.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    centreOnScreen(*this);
}

void AboutDialog::buildWebsiteRow(QVBoxLayout* column) {
    auto* row = new QHBoxLayout;
    m_website = namedLabel(this, "lblWebsite", QStringLiteral("Website : "));
    const QUrl home = productWebPage(QStringLiteral("/"));
    m_link = namedLabel(this, "lblLink2site",
                        QStringLiteral("<a href=\"%1\" style=\"color:blue\">%2</a>")
                            .arg(home.toString(), home.host()));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(m_link, &QLabel::linkActivated, this, [this, home] { openWebPage(m_dialogs, home); });
    row->addStretch();
    row->addWidget(m_website);
    row->addWidget(m_link);
    row->addStretch();
    column->addLayout(row);
}

QString AboutDialog::versionText() {
    return QStringLiteral("Version: %1.%2.%3 - Build %4")
        .arg(VANTREL_VERSION_MAJOR)
        .arg(VANTREL_VERSION_MINOR)
        .arg(VANTREL_VERSION_PATCH)
        .arg(VANTREL_VERSION_BUILD);
}

void AboutDialog::showEvent(QShowEvent* event) {
    m_version->setText(versionText());
    m_website->setVisible(true);
    m_link->setVisible(true);
    QDialog::showEvent(event);
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(0xE4, 0xEA, 0xF4));
    painter.fillRect(rect(), gradient);
}
