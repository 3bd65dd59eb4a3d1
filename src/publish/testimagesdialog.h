#pragma once

#include <QDialog>
#include <QStringList>

struct ImageVerdict;

class PictureCheck;
class QCheckBox;
class QEventLoop;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class UserDialogs;

/// The image test (`T_TestImages`): lists the pictures the listing about to
/// be published needs, fetches each on request and marks it as found or
/// not, offers the online preview, and ends with the seller's decision to
/// continue or abort publishing.
class TestImagesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int defaultTimeLimitMs = 10000;

    explicit TestImagesDialog(QWidget* parent = nullptr);
    ~TestImagesDialog() override;

    /// The seam its messages go through; without one, nothing is shown.
    void setUserDialogs(UserDialogs* dialogs) { m_dialogs = dialogs; }

    /// Shows the dialog modally (through the dialog seam when one is set) for
    /// the listing's picture addresses, in order. `proxyHost` empty means a
    /// direct connection; `proxyPort` empty means 80. Returns
    /// `QDialog::Accepted` after "Continue Publishing", `QDialog::Rejected`
    /// after "Abort Publishing" or the close box.
    int testImages(const QStringList& requiredImages, const QString& proxyHost,
                   const QString& proxyPort);

    /// The rows as when the dialog is shown, without results.
    void setRequiredImages(const QStringList& requiredImages);
    void setProxy(const QString& host, const QString& port);
    /// The longest one picture may take; 10 seconds unless a test shortens it.
    void setTimeLimit(int milliseconds) { m_timeLimitMs = milliseconds; }

    /// `cbxDisableImgWin`: set by the program without raising
    /// `disableImgWinClicked`.
    bool disableImgWin() const;
    void setDisableImgWin(bool checked);

    QStringList rowTexts() const;
    /// The row being fetched; -1 when no test runs.
    int busyRow() const { return m_testing ? m_nextRow : -1; }
    /// The addresses the last test found no picture at (not found, another
    /// document, not a picture); a picture it could not reach is not missing.
    const QStringList& missingImages() const { return m_missing; }
    bool isTesting() const { return m_testing; }

    /// The row of an address: the name of the picture file it ends with, as
    /// the seller knows it (decoded), in its own letter case: "Sky.jpg" and
    /// "sky.jpg" are two pictures on a server.
    static QString rowText(const QString& address);

public slots:
    /// `btnTestImgHttp`: fetches every picture in turn, and returns when
    /// the test has ended or was stopped.
    void runTest();
    /// Ends the test in progress; the pictures not yet fetched are marked
    /// as not tested.
    void stopTest();

signals:
    /// "View in default browser": the online preview of the listing.
    void viewInBrowserRequested();
    /// The seller clicked `cbxDisableImgWin`.
    void disableImgWinClicked(bool checked);

protected:
    /// Esc and the close box stop a test in progress instead of closing.
    void reject() override;

private:
    void fillRows();
    void setTesting(bool testing);
    void appendToRow(int row, const QString& suffix);
    void showVerdict(int row, const ImageVerdict& verdict);
    void tellAboutTheVerdict(const ImageVerdict& verdict);
    void markNotTested(int row);
    void endWaiting();
    /// Marks the next row as being fetched and moves the bar on.
    void showProgress();

    UserDialogs* m_dialogs = nullptr;
    PictureCheck* m_check = nullptr;
    /// The wait of `runTest`, while a test runs.
    QEventLoop* m_waiting = nullptr;
    QListWidget* m_images = nullptr;
    /// Said instead of an empty list.
    QLabel* m_noImages = nullptr;
    /// The bar and the Esc hint, shown while a test runs.
    QWidget* m_progressRow = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_test = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_abort = nullptr;
    QCheckBox* m_disable = nullptr;
    QStringList m_requiredImages;
    QStringList m_missing;
    QString m_proxyHost;
    QString m_proxyPort;
    int m_timeLimitMs = defaultTimeLimitMs;
    bool m_testing = false;
    /// The first row without a result of this test.
    int m_nextRow = 0;
    bool m_timeOutShown = false;
};
