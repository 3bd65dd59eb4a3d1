#pragma once

#include <QDialog>
#include <QStringList>

#include "http/remotefolder.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class UploadRun;
struct UploadItemResult;

/// Shows an upload run while it sends the listing's pictures: each picture
/// with its state, a bar for the whole, and Cancel. Starts the run when
/// shown; closes by itself when every picture got there or the server is not
/// trusted (the caller asks about it), and stays open on failures so the
/// seller can read them.
class UploadDialog : public QDialog {
    Q_OBJECT
public:
    UploadDialog(UploadRun& run, const QString& serverName, QWidget* parent = nullptr);
    ~UploadDialog() override;

    /// Starts the run once; showing the dialog does it.
    void start();
    bool isRunning() const { return m_running; }
    /// The seller cancelled (or closed the dialog while it was sending).
    bool wasCancelled() const { return m_cancelled; }
    bool wasStarted() const { return m_started; }
    /// Why the run stopped on a server it does not trust; `ok()` when it
    /// did not.
    const UploadOutcome& untrusted() const { return m_untrusted; }

    /// The rows as "name: state", and the bar's value in per mille.
    QStringList rowTexts() const;
    int progressPerMille() const;
    /// The row being sent; -1 when none is.
    int busyRow() const { return m_busyRow; }

protected:
    void showEvent(QShowEvent* event) override;
    /// Esc and the close box cancel a run in progress.
    void reject() override;

private:
    void showProgress(int index, qint64 sent, qint64 total);
    void showResult(int index, const UploadItemResult& result);
    void endRun();
    void updateBar();
    void markBusy(int index, bool busy);

    UploadRun& m_run;
    QLabel* m_status = nullptr;
    QTreeWidget* m_rows = nullptr;
    QProgressBar* m_bar = nullptr;
    /// How to stop, shown while the run sends.
    QLabel* m_hint = nullptr;
    QPushButton* m_button = nullptr;
    QList<double> m_done;
    int m_busyRow = -1;
    bool m_started = false;
    bool m_running = false;
    bool m_cancelled = false;
    UploadOutcome m_untrusted;
};
