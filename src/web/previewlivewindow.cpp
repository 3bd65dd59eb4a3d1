#include "web/previewlivewindow.h"

#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"
#include "platform/workingfolders.h"
#include "settings/servermirror.h"
#include "ui/themecolors.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"
#include "web/pathelision.h"
#include "web/previewbrowser.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int rightMargin = 5;

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

/// Removes the file when the preview is over, however it ends.
class FileRemoval {
public:
    explicit FileRemoval(QString fileName)
        : m_fileName(std::move(fileName)) {}
    ~FileRemoval() { QFile::remove(m_fileName); }
    FileRemoval(const FileRemoval&) = delete;
    FileRemoval& operator=(const FileRemoval&) = delete;

private:
    QString m_fileName;
};

} // namespace

PreviewLiveWindow::PreviewLiveWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("T_frmPreviewLive"));
    setWindowTitle(QStringLiteral("Vantrel - Online Preview"));
    setMinimumSize(1000, 750);
    resize(1000, 750);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildPanel());
    centreOnScreen(*this);
}

PreviewBrowser* PreviewLiveWindow::WebBroPreviewLive() {
    // Made when first needed: the program's start does not wait for the web
    // engine.
    if (!m_browser) {
        m_browser = new PreviewBrowser(this);
        m_browser->setObjectName(QStringLiteral("WebBroPreviewLive"));
        static_cast<QVBoxLayout*>(layout())->addWidget(m_browser, 1);
    }
    return m_browser;
}

QWidget* PreviewLiveWindow::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnlPreviewLive"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 6, rightMargin, 6);
    auto* exact = new QLabel(
        QStringLiteral("What you see here is exactly what your bidders will see."), panel);
    exact->setStyleSheet(
        QStringLiteral("color: %1; font-weight: bold;")
            .arg(themecolors::styleColor(QStringLiteral("red"), exact->palette())));
    grid->addWidget(exact, 0, 0, 1, 2);
    grid->addWidget(
        wrappedLabel(QStringLiteral("PICTURES MISSING ? please remember that your own images used "
                                    "in any Document or Layout have been automatically copied to "
                                    "a special folder. The content of this folder must be "
                                    "uploaded to your image server (see to the right)."),
                     panel),
        1, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("Location of your own image server as indicated in "
                                              "'Options - Image servers' :"),
                               panel),
                    1, 1);
    m_ownServer = new QLabel(panel);
    m_ownServer->setObjectName(QStringLiteral("lblOwnServer"));
    m_ownServer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_ownServer->setStyleSheet(QStringLiteral("font-weight: bold;"));
    grid->addWidget(m_ownServer, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Location on your hard disk of images to be "
                                              "uploaded to your image server :"),
                               panel),
                    3, 1);
    m_ownImageFolder = new QLabel(panel);
    m_ownImageFolder->setObjectName(QStringLiteral("lblOwnImageFolder"));
    m_ownImageFolder->setStyleSheet(QStringLiteral("font-weight: bold;"));
    // Its text is fitted to the window, never the window to the text.
    m_ownImageFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_ownImageFolder->installEventFilter(this);
    grid->addWidget(m_ownImageFolder, 4, 1);
    auto* close = new QPushButton(QStringLiteral("Close && return to Publishing"), panel);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(close, 5, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return panel;
}

void PreviewLiveWindow::showOnlinePreview(const WorkingFolders& folders,
                                          const PublishingState& publishing,
                                          const ServerMirror& servers, UserDialogs& dialogs) {
    const QStringList lines = QStringList{PageGenerator::pageHead()} + publishing.ListingCode +
                              QStringList{QStringLiteral("</body></html>")};
    const QByteArray page = windows1252::encode(lines.join(QLatin1String("\r\n")) + "\r\n");
    const QString fileName = folders.onlinePreviewFile();
    writeFileAtomically(fileName, page);
    const FileRemoval removal(fileName);
    // The engine takes a file by its extension, and ".htl" is not one it
    // shows as a page: the browser gets the same bytes from memory.
    WebBroPreviewLive()->loadPage(page);
    m_ownServer->setText(servers.OwnServer == 1 ? servers.PrimaryServer : servers.SecondaryServer);
    m_imageFolder = folders.ownImagesFolder();
    showOwnImageFolder();
    dialogs.runModal(*this);
}

bool PreviewLiveWindow::eventFilter(QObject* watched, QEvent* event) {
    // The label reaches from its left edge to the window's right margin, so
    // it is resized with the window.
    if (watched == m_ownImageFolder && event->type() == QEvent::Resize)
        showOwnImageFolder();
    return QDialog::eventFilter(watched, event);
}

void PreviewLiveWindow::showOwnImageFolder() {
    m_ownImageFolder->setText(
        elidedPath(m_imageFolder, m_ownImageFolder->fontMetrics(), m_ownImageFolder->width()));
}
