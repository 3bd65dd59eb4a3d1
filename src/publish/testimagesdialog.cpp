#include "publish/testimagesdialog.h"

#include "http/imageavailability.h"
#include "http/picturecheck.h"
#include "platform/uilanguage.h"
#include "ui/themecolors.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int dialogWidth = 480;
constexpr int dialogHeight = 340;

const QString okSuffix = QStringLiteral(" - OK");

QString warning(const QString& text) {
    return QStringLiteral(" - * ") +
           uilanguage::text("MESSAGES", "imageWarning", QStringLiteral("WARNING !")) +
           QLatin1Char(' ') + text + QStringLiteral(" *");
}

QString notFoundSuffix() {
    return warning(
        uilanguage::text("MESSAGES", "imageNotFound", QStringLiteral("Image NOT found...")));
}

QString notTestedSuffix() {
    return QStringLiteral(" - ") +
           uilanguage::text("MESSAGES", "imageNotTested", QStringLiteral("not tested"));
}

QString busySuffix() {
    return QStringLiteral(" - ") +
           uilanguage::text("MESSAGES", "imageChecking", QStringLiteral("checking..."));
}

QString suffixFor(const ImageVerdict& verdict) {
    switch (verdict.availability) {
    case ImageAvailability::Available:
        return okSuffix;
    case ImageAvailability::NotFound:
    case ImageAvailability::OtherDocument:
    case ImageAvailability::NotAnImage:
        return notFoundSuffix();
    case ImageAvailability::PasswordRequired:
        return warning(uilanguage::text("MESSAGES", "imagePasswordRequired",
                                        QStringLiteral("Image NOT AVAILABLE (password required)")));
    case ImageAvailability::TimedOut:
    case ImageAvailability::ProxyUnreachable:
    case ImageAvailability::FetchFailed:
        break;
    }
    return warning(verdict.detail);
}

QPushButton* addButton(QWidget* parent, QHBoxLayout* row, const char* name,
                       const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

TestImagesDialog::TestImagesDialog(QWidget* parent)
    : QDialog(parent)
    , m_check(new PictureCheck(this)) {
    setObjectName(QStringLiteral("T_TestImages"));
    setWindowTitle(QStringLiteral("Images required for this Auction"));
    setModal(true);
    // The width grows with its texts in a longer language, never below them.
    setFixedHeight(dialogHeight);
    resize(dialogWidth, dialogHeight);

    auto* column = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Internet connection required"), this);
    title->setObjectName(QStringLiteral("lblTestImagesTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    QPalette maroon = title->palette();
    maroon.setColor(QPalette::WindowText, themecolors::onWindow(QColor(0x80, 0x00, 0x00), maroon));
    title->setPalette(maroon);
    column->addWidget(title);

    auto* note = new QLabel(QStringLiteral("This utility checks if images used in the current  "
                                           "Auction Listing are available from the image Web "
                                           "servers. "),
                            this);
    note->setObjectName(QStringLiteral("lblTestImgNote"));
    note->setWordWrap(true);
    column->addWidget(note);

    m_images = new QListWidget(this);
    m_images->setObjectName(QStringLiteral("lbxImages"));
    // A long failure reads whole: rows wrap at the list's width.
    m_images->setWordWrap(true);
    m_images->setTextElideMode(Qt::ElideNone);
    m_images->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_images->setResizeMode(QListView::Adjust);
    column->addWidget(m_images, 1);
    m_noImages =
        new QLabel(QStringLiteral("No pictures in this listing: there is nothing to test."), this);
    m_noImages->setObjectName(QStringLiteral("lblTestImgNone"));
    m_noImages->setAlignment(Qt::AlignCenter);
    m_noImages->setWordWrap(true);
    m_noImages->setFrameShape(QFrame::StyledPanel);
    m_noImages->hide();
    column->addWidget(m_noImages, 1);

    // Only while a test runs: how far it is, and how to stop it.
    m_progressRow = new QWidget(this);
    auto* progressLine = new QHBoxLayout(m_progressRow);
    progressLine->setContentsMargins(0, 0, 0, 0);
    m_progress = new QProgressBar(m_progressRow);
    m_progress->setObjectName(QStringLiteral("pbTestImages"));
    progressLine->addWidget(m_progress, 1);
    auto* hint = new QLabel(QStringLiteral("Esc stops the test."), m_progressRow);
    hint->setObjectName(QStringLiteral("lblTestImgHint"));
    progressLine->addWidget(hint);
    m_progressRow->hide();
    column->addWidget(m_progressRow);

    auto* testRow = new QHBoxLayout;
    m_test = addButton(this, testRow, "btnTestImgHttp", QStringLiteral("Test image(s) online"));
    m_preview =
        addButton(this, testRow, "btnPreviewInBrowser", QStringLiteral("View in default browser"));
    testRow->addStretch();
    column->addLayout(testRow);

    m_disable = new QCheckBox(
        QStringLiteral("Disable this window for the session (see Options-Dialogs to reset) "),
        this);
    m_disable->setObjectName(QStringLiteral("cbxDisableImgWin"));
    column->addWidget(m_disable);

    auto* decisionRow = new QHBoxLayout;
    decisionRow->addStretch();
    m_continue =
        addButton(this, decisionRow, "btnTestImgClose", QStringLiteral("Continue Publishing"));
    m_continue->setDefault(true);
    m_abort = addButton(this, decisionRow, "btnAbortPublish", QStringLiteral("Abort Publishing"));
    column->addLayout(decisionRow);

    connect(m_test, &QPushButton::clicked, this, &TestImagesDialog::runTest);
    connect(m_preview, &QPushButton::clicked, this, &TestImagesDialog::viewInBrowserRequested);
    connect(m_continue, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_abort, &QPushButton::clicked, this, &TestImagesDialog::reject);
    connect(m_disable, &QCheckBox::clicked, this, &TestImagesDialog::disableImgWinClicked);
    connect(m_check, &PictureCheck::checked, this, &TestImagesDialog::showVerdict);
    connect(m_check, &PictureCheck::notChecked, this, &TestImagesDialog::markNotTested);
    connect(m_check, &PictureCheck::finished, this, &TestImagesDialog::endWaiting);
    centreOnScreen(*this);
}

TestImagesDialog::~TestImagesDialog() {
    m_check->cancel();
    endWaiting();
}

QString TestImagesDialog::rowText(const QString& address) {
    return expectedDocumentName(address);
}

int TestImagesDialog::testImages(const QStringList& requiredImages, const QString& proxyHost,
                                 const QString& proxyPort) {
    setRequiredImages(requiredImages);
    setProxy(proxyHost, proxyPort);
    setFixedHeight(dialogHeight);
    return m_dialogs ? m_dialogs->runModal(*this) : exec();
}

void TestImagesDialog::setRequiredImages(const QStringList& requiredImages) {
    m_requiredImages = requiredImages;
    m_missing.clear();
    fillRows();
}

void TestImagesDialog::setProxy(const QString& host, const QString& port) {
    m_proxyHost = host;
    m_proxyPort = port;
}

bool TestImagesDialog::disableImgWin() const {
    return m_disable->isChecked();
}

void TestImagesDialog::setDisableImgWin(bool checked) {
    m_disable->setChecked(checked);
}

QStringList TestImagesDialog::rowTexts() const {
    QStringList texts;
    for (int row = 0; row < m_images->count(); ++row)
        texts.append(m_images->item(row)->text());
    return texts;
}

void TestImagesDialog::fillRows() {
    m_images->clear();
    for (const QString& address : std::as_const(m_requiredImages)) {
        m_images->addItem(rowText(address));
        m_images->item(m_images->count() - 1)->setToolTip(address);
    }
    // An empty list would look like a test that found nothing.
    const bool none = m_requiredImages.isEmpty();
    m_images->setHidden(none);
    m_noImages->setHidden(!none);
}

void TestImagesDialog::appendToRow(int row, const QString& suffix) {
    QListWidgetItem* item = m_images->item(row);
    // The result takes the place of "checking...".
    item->setText(rowText(m_requiredImages.at(row)) + suffix);
    QFont font = item->font();
    font.setBold(false);
    item->setFont(font);
    // The picture's whole address and what was found, on hover.
    item->setToolTip(m_requiredImages.at(row) + QLatin1Char('\n') + item->text());
}

void TestImagesDialog::showProgress() {
    const int total = int(m_requiredImages.size());
    if (m_testing && m_nextRow < total) {
        m_progress->setFormat(uilanguage::text("MESSAGES", "imageTestProgress",
                                               QStringLiteral("Checking picture %1 of %2"))
                                  .arg(m_nextRow + 1)
                                  .arg(total));
        QListWidgetItem* item = m_images->item(m_nextRow);
        item->setText(rowText(m_requiredImages.at(m_nextRow)) + busySuffix());
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        m_images->scrollToItem(item);
    }
    // Last, so that whoever follows the bar finds the rows as it says.
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(std::min(m_nextRow, total));
}

void TestImagesDialog::setTesting(bool testing) {
    m_testing = testing;
    for (QPushButton* button : {m_test, m_continue, m_preview, m_abort})
        button->setEnabled(!testing);
    m_progressRow->setVisible(testing && !m_requiredImages.isEmpty());
}

void TestImagesDialog::runTest() {
    if (m_testing)
        return;
    setTesting(true);
    fillRows();
    m_missing.clear();
    m_nextRow = 0;
    m_timeOutShown = false;
    showProgress();
    PictureCheckOptions options;
    options.timeLimitMs = m_timeLimitMs;
    options.proxyHost = m_proxyHost;
    options.proxyPort = m_proxyPort;
    m_check->start(m_requiredImages, options);
    // The seller sees each row fill in; the buttons wait for the end.
    QPointer<TestImagesDialog> alive(this);
    QEventLoop waiting;
    m_waiting = &waiting;
    waiting.exec();
    if (!alive)
        return;
    m_waiting = nullptr;
    setTesting(false);
}

void TestImagesDialog::showVerdict(int row, const ImageVerdict& verdict) {
    m_nextRow = row + 1;
    appendToRow(row, suffixFor(verdict));
    showProgress();
    switch (verdict.availability) {
    case ImageAvailability::NotFound:
    case ImageAvailability::OtherDocument:
    case ImageAvailability::NotAnImage:
        m_missing.append(m_requiredImages.at(row));
        break;
    default:
        break;
    }
    tellAboutTheVerdict(verdict);
}

void TestImagesDialog::tellAboutTheVerdict(const ImageVerdict& verdict) {
    if (!m_dialogs)
        return;
    if (verdict.availability == ImageAvailability::TimedOut && !m_timeOutShown) {
        // Once per test: every row that timed out says so.
        m_timeOutShown = true;
        m_dialogs->showMessage(uilanguage::text("MESSAGES", "serverTimedOut",
                                                QStringLiteral("Connection to server timed "
                                                               "out.\nPlease check your "
                                                               "Internet access.")));
    }
    // The same proxy would fail every other picture: the check stops there.
    if (verdict.availability == ImageAvailability::ProxyUnreachable)
        m_dialogs->showMessage(verdict.detail +
                                   uilanguage::text("MESSAGES", "checkProxy",
                                                    QStringLiteral(".\nPlease check "
                                                                   "the proxy settings.")),
                               UserDialogs::Icon::Warning);
}

void TestImagesDialog::markNotTested(int row) {
    m_nextRow = row + 1;
    appendToRow(row, notTestedSuffix());
    showProgress();
}

void TestImagesDialog::endWaiting() {
    if (m_waiting)
        m_waiting->quit();
}

void TestImagesDialog::stopTest() {
    if (!m_testing)
        return;
    m_check->cancel();
    for (int row = m_nextRow; row < m_requiredImages.size(); ++row)
        appendToRow(row, notTestedSuffix());
    m_nextRow = int(m_requiredImages.size());
    showProgress();
    endWaiting();
}

void TestImagesDialog::reject() {
    if (m_testing) {
        stopTest();
        return;
    }
    QDialog::reject();
}
