#pragma once

#include "http/picturecheck.h"
#include "published/publishedrecord.h"

#include <QDialog>
#include <QList>
#include <functional>

class ListingClipboard;
class PictureWatch;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class UserDialogs;

/// File > "Published listings..." (`T_frmPublished`): the listings the seller
/// posted, newest first, sortable by date, title, site and how their pictures
/// fared at the last check; the pictures of the listing under the cursor,
/// each OK or missing since when. The seller reads a listing's code again,
/// copies it, opens its document, deletes entries, and has the pictures of
/// the selected listings (or of all) checked, with a bar and a way to stop.
class PublishedListingsWindow : public QDialog {
    Q_OBJECT
public:
    enum Column { DateColumn, TitleColumn, SiteColumn, PicturesColumn, ColumnCount };

    PublishedListingsWindow(PublishedRecord& record, UserDialogs& dialogs,
                            ListingClipboard& clipboard, QWidget* parent = nullptr);
    ~PublishedListingsWindow() override;

    /// How pictures are fetched (the connection settings), asked at every
    /// check; the watch's own otherwise.
    void setCheckOptions(std::function<PictureCheckOptions()> options);

    /// Reads the record again and shows it, keeping the selection.
    void refresh();
    /// Shows the window with what the record holds now.
    void showWindow();

    /// "Check selected" (`all` false) and "Check all".
    void checkPictures(bool all);
    void cancelCheck();
    void viewCode();
    void openDocument();
    void copyCode();
    void deleteSelected();

    QTableWidget* table() const { return m_table; }
    QListWidget* pictureList() const { return m_pictures; }
    PictureWatch& watch() const { return *m_watch; }
    /// The ids of the selected listings, in the order shown.
    QList<qint64> selectedIds() const;
    /// The line under the buttons: what the last check found, or a failure.
    QString statusText() const;

signals:
    /// "Open document": the document a listing was published from.
    void documentWanted(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    /// The close box and Esc stop a check that runs, keeping what it found.
    void reject() override;

private:
    void fillTable();
    void showPictures();
    void updateButtons();
    void checkEnded();
    /// The listing of the current row; null when none.
    const PublishedListing* currentListing() const;
    void tell(const QString& text, bool warning = true);

    PublishedRecord& m_record;
    UserDialogs& m_dialogs;
    ListingClipboard& m_clipboard;
    PictureWatch* m_watch;
    std::function<PictureCheckOptions()> m_options;
    QList<PublishedListing> m_listings;
    QTableWidget* m_table;
    QListWidget* m_pictures;
    QPushButton* m_checkSelected;
    QPushButton* m_checkAll;
    QPushButton* m_viewCode;
    QPushButton* m_openDocument;
    QPushButton* m_copyCode;
    QPushButton* m_delete;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    QLabel* m_status;
};

/// The line a window shows for one picture of a listing: the name of its
/// file, then "OK", "MISSING since 2026-12-05: NOT FOUND (404)", ...
QString publishedPictureLine(const PublishedPicture& picture);
/// What the pictures column says of a listing: "3 OK", "1 of 3 missing",
/// "2 not checked".
QString publishedPicturesSummary(const PublishedListing& listing);
