#include "publish/publishedlistingswindow.h"

#include "platform/uilanguage.h"
#include "publish/listingclipboard.h"
#include "publish/testimagesdialog.h"
#include "published/picturewatch.h"
#include "ui/userdialogs.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

/// What a column sorts by, where it is not the text shown.
constexpr int sortRole = Qt::UserRole + 1;
/// The listing's id, on the date column.
constexpr int idRole = Qt::UserRole;

class SortedItem : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant mine = data(sortRole);
        const QVariant theirs = other.data(sortRole);
        if (mine.isValid() && theirs.isValid())
            return mine.toLongLong() < theirs.toLongLong();
        return QTableWidgetItem::operator<(other);
    }
};

QString text(const char* key, const char* english) {
    return uilanguage::text("MESSAGES", key, QString::fromUtf8(english));
}

QString dayOf(const QDateTime& time) {
    return QLocale().toString(time.toLocalTime().date(), QLocale::ShortFormat);
}

QPushButton* addButton(QVBoxLayout* column, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

int failing(const PublishedListing& listing) {
    return listing.count(PictureState::Missing) + listing.count(PictureState::Unreachable);
}

} // namespace

QString publishedPictureLine(const PublishedPicture& picture) {
    QString state;
    switch (picture.state) {
    case PictureState::NotChecked:
        state = text("publishedNotChecked", "not checked");
        break;
    case PictureState::Online:
        state = text("publishedOk", "OK");
        break;
    case PictureState::Missing:
        state = text("publishedMissingSince", "MISSING since %1: %2")
                    .arg(dayOf(picture.since), picture.verdict);
        break;
    case PictureState::Unreachable:
        state = text("publishedUnreachableSince", "NOT REACHED since %1: %2")
                    .arg(dayOf(picture.since), picture.verdict);
        break;
    }
    // The picture's name first: the verdict's words can be long.
    return TestImagesDialog::rowText(picture.address) + QStringLiteral("  ") + state;
}

QString publishedPicturesSummary(const PublishedListing& listing) {
    const int all = int(listing.pictures.size());
    if (all == 0)
        return text("publishedNoPictures", "no pictures");
    if (!listing.checked.isValid() || listing.count(PictureState::NotChecked) == all)
        return text("publishedCountNotChecked", "%1, not checked").arg(all);
    const int wanting = failing(listing);
    if (wanting == 0 && listing.count(PictureState::NotChecked) == 0)
        return text("publishedAllOk", "%1 OK").arg(all);
    return text("publishedSomeMissing", "%1 of %2 missing").arg(wanting).arg(all);
}

PublishedListingsWindow::PublishedListingsWindow(PublishedRecord& record, UserDialogs& dialogs,
                                                 ListingClipboard& clipboard, QWidget* parent)
    : QDialog(parent)
    , m_record(record)
    , m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_watch(new PictureWatch(record, this))
    , m_table(new QTableWidget(0, ColumnCount))
    , m_pictures(new QListWidget)
    , m_progress(new QProgressBar)
    , m_status(new QLabel) {
    setObjectName(QStringLiteral("T_frmPublished"));
    setWindowTitle(QStringLiteral("Published listings"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    resize(860, 520);

    m_table->setObjectName(QStringLiteral("grdListings"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSortingEnabled(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    m_table->sortByColumn(DateColumn, Qt::DescendingOrder);
    m_pictures->setObjectName(QStringLiteral("lstPictures"));
    m_pictures->setSelectionMode(QAbstractItemView::NoSelection);

    auto* buttons = new QVBoxLayout;
    m_checkSelected = addButton(buttons, "btnCheckSelected", "Check selected");
    m_checkAll = addButton(buttons, "btnCheckAll", "Check all");
    buttons->addSpacing(12);
    m_viewCode = addButton(buttons, "btnViewCode", "View code...");
    m_copyCode = addButton(buttons, "btnCopyCode", "Copy code");
    m_openDocument = addButton(buttons, "btnOpenDocument", "Open document");
    buttons->addSpacing(12);
    m_delete = addButton(buttons, "btnDeleteListings", "Delete...");
    buttons->addStretch();
    QPushButton* close = addButton(buttons, "btnClosePublished", "Close");

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(m_table);
    split->addWidget(m_pictures);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(split, 1);
    top->addLayout(buttons);

    m_progress->setObjectName(QStringLiteral("prbCheck"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("btnCancelCheck"));
    m_cancel->setAutoDefault(false);
    m_status->setObjectName(QStringLiteral("lblPublishedStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_progress);
    bottom->addWidget(m_cancel);
    m_progress->hide();
    m_cancel->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    const auto on = [this](QPushButton* button, auto reaction) {
        connectCommand(button, &QPushButton::clicked, this, m_dialogs, reaction);
    };
    on(m_checkSelected, [this] { checkPictures(false); });
    on(m_checkAll, [this] { checkPictures(true); });
    on(m_viewCode, [this] { viewCode(); });
    on(m_copyCode, [this] { copyCode(); });
    on(m_openDocument, [this] { openDocument(); });
    on(m_delete, [this] { deleteSelected(); });
    on(m_cancel, [this] { cancelCheck(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        showPictures();
        updateButtons();
    });
    connect(m_table, &QTableWidget::itemDoubleClicked, this,
            [this] { runCommand(m_dialogs, [this] { viewCode(); }); });
    connect(m_watch, &PictureWatch::progress, this, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(m_watch, &PictureWatch::finished, this, [this] { checkEnded(); });
    // A publication or another check shows at once.
    connect(&m_record, &PublishedRecord::changed, this, [this] {
        if (isVisible())
            refresh();
    });
    updateButtons();
}

PublishedListingsWindow::~PublishedListingsWindow() = default;

void PublishedListingsWindow::setCheckOptions(std::function<PictureCheckOptions()> options) {
    m_options = std::move(options);
}

void PublishedListingsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
}

void PublishedListingsWindow::showWindow() {
    show();
    raise();
    activateWindow();
}

void PublishedListingsWindow::reject() {
    if (m_watch->isRunning())
        cancelCheck();
    QDialog::reject();
}

void PublishedListingsWindow::refresh() {
    const Result<QList<PublishedListing>> read = m_record.listings();
    if (!read) {
        m_listings.clear();
        fillTable();
        tell(read.error());
        return;
    }
    m_listings = read.value();
    fillTable();
    const QString nothingYet =
        text("publishedNothingYet", "Nothing published yet: every listing you publish is kept "
                                    "here with its pictures, so that you can check them later.");
    if (m_listings.isEmpty())
        m_status->setText(nothingYet);
    else if (m_status->text() == nothingYet)
        m_status->clear();
}

void PublishedListingsWindow::fillTable() {
    const QList<qint64> selected = selectedIds();
    const int currentRow = m_table->currentRow();
    const QVariant current = currentRow >= 0 && m_table->item(currentRow, DateColumn)
                                 ? m_table->item(currentRow, DateColumn)->data(idRole)
                                 : QVariant();
    m_table->setHorizontalHeaderLabels(
        {text("publishedColumnDate", "Published"), text("publishedColumnTitle", "Title"),
         text("publishedColumnSite", "Site"), text("publishedColumnPictures", "Pictures")});
    const QSignalBlocker quiet(m_table);
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setRowCount(int(m_listings.size()));
    for (int row = 0; row < m_listings.size(); ++row) {
        const PublishedListing& listing = m_listings.at(row);
        auto* date = new SortedItem(
            QLocale().toString(listing.published.toLocalTime(), QLocale::ShortFormat));
        date->setData(idRole, listing.id);
        date->setData(sortRole, listing.published.toMSecsSinceEpoch());
        auto* pictures = new SortedItem(publishedPicturesSummary(listing));
        // The listings that lost most come first in the descending order.
        const bool checked = listing.checked.isValid();
        pictures->setData(sortRole, checked ? qint64(failing(listing)) : qint64(-1));
        if (checked && failing(listing) > 0)
            pictures->setForeground(QColor(0xc0, 0x10, 0x10));
        auto* title = new QTableWidgetItem(listing.title);
        title->setToolTip(listing.title);
        m_table->setItem(row, DateColumn, date);
        m_table->setItem(row, TitleColumn, title);
        m_table->setItem(row, SiteColumn, new QTableWidgetItem(listing.site));
        m_table->setItem(row, PicturesColumn, pictures);
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnToContents(DateColumn);
    m_table->resizeColumnToContents(SiteColumn);
    m_table->resizeColumnToContents(PicturesColumn);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QVariant id = m_table->item(row, DateColumn)->data(idRole);
        if (id == current)
            m_table->setCurrentCell(row, DateColumn, QItemSelectionModel::NoUpdate);
        if (selected.contains(id.toLongLong()))
            m_table->selectRow(row);
    }
    showPictures();
    updateButtons();
}

QList<qint64> PublishedListingsWindow::selectedIds() const {
    QList<qint64> ids;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QTableWidgetItem* item = m_table->item(row, DateColumn);
        if (item && item->isSelected())
            ids.append(item->data(idRole).toLongLong());
    }
    return ids;
}

const PublishedListing* PublishedListingsWindow::currentListing() const {
    const QList<qint64> ids = selectedIds();
    if (ids.size() != 1)
        return nullptr;
    for (const PublishedListing& listing : m_listings)
        if (listing.id == ids.first())
            return &listing;
    return nullptr;
}

void PublishedListingsWindow::showPictures() {
    m_pictures->clear();
    const PublishedListing* listing = currentListing();
    if (!listing)
        return;
    for (const PublishedPicture& picture : listing->pictures) {
        auto* line = new QListWidgetItem(publishedPictureLine(picture), m_pictures);
        line->setToolTip(picture.address);
        if (picture.state == PictureState::Missing || picture.state == PictureState::Unreachable)
            line->setForeground(QColor(0xc0, 0x10, 0x10));
    }
}

void PublishedListingsWindow::updateButtons() {
    const bool running = m_watch->isRunning();
    const int selected = int(selectedIds().size());
    const PublishedListing* listing = currentListing();
    m_checkSelected->setEnabled(!running && selected > 0);
    m_checkAll->setEnabled(!running && !m_listings.isEmpty());
    m_viewCode->setEnabled(listing != nullptr);
    m_copyCode->setEnabled(listing != nullptr);
    m_openDocument->setEnabled(listing && !listing->documentFile.isEmpty());
    m_delete->setEnabled(!running && selected > 0);
}

void PublishedListingsWindow::checkPictures(bool all) {
    if (m_watch->isRunning())
        return;
    const QList<qint64> ids = selectedIds();
    QList<PublishedListing> chosen;
    for (const PublishedListing& listing : std::as_const(m_listings))
        if (all || ids.contains(listing.id))
            chosen.append(listing);
    if (chosen.isEmpty())
        return;
    if (all)
        (void)m_record.setLastWholeCheck(QDateTime::currentDateTimeUtc());
    m_status->setText(text("publishedChecking", "Checking the pictures..."));
    m_progress->setValue(0);
    m_progress->show();
    m_cancel->show();
    m_watch->start(chosen, m_options ? m_options() : PictureWatch::defaultOptions());
    m_progress->setMaximum(std::max(1, m_watch->total()));
    updateButtons();
}

void PublishedListingsWindow::cancelCheck() {
    if (!m_watch->isRunning())
        return;
    const Status stored = m_watch->cancel();
    m_progress->hide();
    m_cancel->hide();
    refresh();
    m_status->setText(
        text("publishedCheckCancelled", "Check stopped: %1 of %2 pictures were checked.")
            .arg(m_watch->done())
            .arg(m_watch->total()));
    if (!stored)
        tell(stored.error());
}

void PublishedListingsWindow::checkEnded() {
    m_progress->hide();
    m_cancel->hide();
    refresh();
    if (!m_watch->stored()) {
        m_status->clear();
        tell(m_watch->stored().error());
        return;
    }
    int wanting = 0;
    for (auto found = m_watch->findings().cbegin(); found != m_watch->findings().cend(); ++found)
        if (found->state != PictureState::Online)
            ++wanting;
    m_status->setText(wanting == 0
                          ? text("publishedAllOnline", "Every picture checked is online.")
                          : text("publishedSomeOffline", "%1 of %2 pictures checked are not "
                                                         "online: see the listings in red.")
                                .arg(wanting)
                                .arg(m_watch->total()));
    updateButtons();
}

void PublishedListingsWindow::viewCode() {
    const PublishedListing* listing = currentListing();
    if (!listing)
        return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("T_frmListingCode"));
    dialog.setWindowTitle(text("publishedCodeTitle", "Listing code: %1").arg(listing->title));
    dialog.resize(720, 480);
    auto* code = new QPlainTextEdit(listing->code);
    code->setObjectName(QStringLiteral("memListingCode"));
    code->setReadOnly(true);
    code->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(code);
    layout->addWidget(box);
    m_dialogs.runModal(dialog);
}

void PublishedListingsWindow::copyCode() {
    const PublishedListing* listing = currentListing();
    if (!listing)
        return;
    m_clipboard.copy(listing->code);
    m_status->setText(text("publishedCodeCopied", "The listing code is on the clipboard."));
}

void PublishedListingsWindow::openDocument() {
    const PublishedListing* listing = currentListing();
    if (!listing || listing->documentFile.isEmpty())
        return;
    emit documentWanted(listing->documentFile);
}

void PublishedListingsWindow::deleteSelected() {
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty() || m_watch->isRunning())
        return;
    if (!m_dialogs.askYesNo(text("publishedDeleteAsk",
                                 "Delete %1 listing(s) from this record? The listings on the "
                                 "auction sites stay as they are.")
                                .arg(ids.size()),
                            windowTitle(), UserDialogs::Icon::Question))
        return;
    const Status removed = m_record.remove(ids);
    if (!removed)
        tell(removed.error());
    refresh();
}

QString PublishedListingsWindow::statusText() const {
    return m_status->text();
}

void PublishedListingsWindow::tell(const QString& message, bool warning) {
    m_dialogs.showMessage(message,
                          warning ? UserDialogs::Icon::Warning : UserDialogs::Icon::Information,
                          windowTitle());
}
