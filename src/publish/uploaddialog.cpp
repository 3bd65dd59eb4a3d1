#include "publish/uploaddialog.h"

#include "http/uploadrun.h"
#include "platform/uilanguage.h"
#include "ui/themecolors.h"
#include "ui/windowplacement.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString word(const char* key, const char* english) {
    return uilanguage::text("MESSAGES", key, QString::fromUtf8(english));
}

QString itemName(const UploadItem& item) {
    return item.remoteName.isEmpty() ? QFileInfo(item.localFile).fileName() : item.remoteName;
}

QString stateText(const UploadItemResult& result) {
    switch (result.state) {
    case UploadItemResult::State::Sent:
        return word("uploadSent", "sent");
    case UploadItemResult::State::Unchanged:
        return word("uploadUnchanged", "already on the server");
    case UploadItemResult::State::Cancelled:
        return word("uploadCancelled", "cancelled");
    case UploadItemResult::State::Failed:
        break;
    }
    const QString reason = result.outcome.message.trimmed();
    return reason.isEmpty() ? word("uploadFailed", "failed")
                            : word("uploadFailedBecause", "failed: %1").arg(reason);
}

} // namespace

UploadDialog::UploadDialog(UploadRun& run, const QString& serverName, QWidget* parent)
    : QDialog(parent)
    , m_run(run) {
    setObjectName(QStringLiteral("T_frmUpload"));
    setWindowTitle(word("uploadTitle", "Sending pictures"));
    setModal(true);
    resize(520, 360);

    auto* column = new QVBoxLayout(this);
    m_status =
        new QLabel(word("uploadTo", "Sending the listing's pictures to %1").arg(serverName), this);
    m_status->setObjectName(QStringLiteral("lblUploadStatus"));
    m_status->setWordWrap(true);
    column->addWidget(m_status);

    m_rows = new QTreeWidget(this);
    m_rows->setObjectName(QStringLiteral("tvUploadFiles"));
    m_rows->setColumnCount(2);
    m_rows->setHeaderLabels({word("uploadPicture", "Picture"), word("uploadState", "State")});
    m_rows->setRootIsDecorated(false);
    m_rows->setWordWrap(true);
    m_rows->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_rows->header()->setStretchLastSection(true);
    for (const UploadItem& item : m_run.items()) {
        auto* row = new QTreeWidgetItem(m_rows, {itemName(item), word("uploadWaiting", "waiting")});
        row->setToolTip(0, item.address);
        m_done.append(0.0);
    }
    column->addWidget(m_rows, 1);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("pbUploadTotal"));
    m_bar->setRange(0, 1000);
    column->addWidget(m_bar);

    auto* buttons = new QHBoxLayout;
    m_hint = new QLabel(word("uploadHint", "Esc or Cancel stops sending."), this);
    m_hint->setObjectName(QStringLiteral("lblUploadHint"));
    m_hint->hide();
    buttons->addWidget(m_hint);
    buttons->addStretch();
    m_button = new QPushButton(word("uploadCancel", "Cancel"), this);
    m_button->setObjectName(QStringLiteral("btnUploadCancel"));
    m_button->setAutoDefault(false);
    buttons->addWidget(m_button);
    column->addLayout(buttons);

    connect(m_button, &QPushButton::clicked, this, &UploadDialog::reject);
    connect(&m_run, &UploadRun::itemProgress, this, &UploadDialog::showProgress);
    connect(&m_run, &UploadRun::itemFinished, this, &UploadDialog::showResult);
    connect(&m_run, &UploadRun::untrustedServer, this,
            [this](const UploadOutcome& outcome) { m_untrusted = outcome; });
    connect(&m_run, &UploadRun::finished, this, &UploadDialog::endRun);
    centreOnScreen(*this);
}

UploadDialog::~UploadDialog() {
    // The run outlives the dialog: nothing of it may reach a closed window.
    disconnect(&m_run, nullptr, this, nullptr);
}

void UploadDialog::start() {
    if (m_started)
        return;
    m_started = true;
    m_running = true;
    m_hint->show();
    updateBar();
    m_run.start();
}

void UploadDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the window is up, so that the first rows are seen changing.
    QTimer::singleShot(0, this, &UploadDialog::start);
}

void UploadDialog::reject() {
    if (m_running) {
        m_cancelled = true;
        m_button->setEnabled(false);
        m_status->setText(word("uploadCancelling", "Cancelling..."));
        // `finished` follows, and closes the dialog.
        m_run.cancel();
        return;
    }
    QDialog::reject();
}

void UploadDialog::showProgress(int index, qint64 sent, qint64 total) {
    if (index < 0 || index >= m_done.size())
        return;
    const double part = total > 0 ? double(sent) / double(total) : 0.0;
    m_done[index] = std::min(part, 0.99);
    markBusy(index, true);
    m_rows->topLevelItem(index)->setText(
        1, word("uploadSending", "sending %1 %").arg(int(m_done[index] * 100)));
    updateBar();
}

void UploadDialog::showResult(int index, const UploadItemResult& result) {
    if (index < 0 || index >= m_done.size())
        return;
    m_done[index] = 1.0;
    markBusy(index, false);
    QTreeWidgetItem* row = m_rows->topLevelItem(index);
    row->setText(1, stateText(result));
    row->setToolTip(1, row->text(1));
    if (result.state == UploadItemResult::State::Failed)
        row->setForeground(1, themecolors::onWindow(QColor(0x80, 0x00, 0x00), m_rows->palette()));
    updateBar();
}

void UploadDialog::markBusy(int index, bool busy) {
    QTreeWidgetItem* row = m_rows->topLevelItem(index);
    QFont font = row->font(0);
    font.setBold(busy);
    row->setFont(0, font);
    row->setFont(1, font);
    if (busy) {
        m_busyRow = index;
        m_rows->scrollToItem(row);
    } else if (m_busyRow == index) {
        m_busyRow = -1;
    }
}

void UploadDialog::updateBar() {
    double done = 0;
    int finished = 0;
    for (double part : std::as_const(m_done)) {
        done += part;
        finished += part >= 1.0 ? 1 : 0;
    }
    m_bar->setValue(m_done.isEmpty() ? 1000 : int(1000 * done / m_done.size()));
    m_bar->setFormat(
        word("uploadCount", "%1 of %2 pictures done").arg(finished).arg(m_done.size()));
}

void UploadDialog::endRun() {
    if (!m_running)
        return;
    m_running = false;
    m_hint->hide();
    if (m_busyRow >= 0)
        markBusy(m_busyRow, false);
    if (m_cancelled) {
        QDialog::reject();
        return;
    }
    if (m_run.succeeded() || !m_untrusted.ok()) {
        m_bar->setValue(1000);
        accept();
        return;
    }
    // The failures stay in view until the seller has read them.
    m_status->setText(word("uploadSomeFailed", "Some pictures could not be sent: see why below."));
    m_button->setText(word("uploadClose", "Close"));
    m_button->setEnabled(true);
}

QStringList UploadDialog::rowTexts() const {
    QStringList texts;
    for (int row = 0; row < m_rows->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_rows->topLevelItem(row);
        texts.append(item->text(0) + QStringLiteral(": ") + item->text(1));
    }
    return texts;
}

int UploadDialog::progressPerMille() const {
    return m_bar->value();
}
