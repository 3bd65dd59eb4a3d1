#pragma once

#include <QWidget>

class ExportProgress;
class QLabel;

/// The Publish page's frame: the browser panel `pnlBroExportBack` filling
/// the page, and below it the label that shows the publishing help window
/// and the progress bar that runs while the auction site loads.
class PublishPage : public QWidget {
    Q_OBJECT
public:
    explicit PublishPage(QWidget* parent = nullptr);

    /// Where the publishing browser goes; it has a margin-free layout.
    QWidget* browserPanel() const { return m_browserPanel; }
    ExportProgress& progress() const { return *m_progress; }

signals:
    /// `lblShowHideHelp` was clicked.
    void helpRequested();

private:
    QWidget* m_browserPanel;
    ExportProgress* m_progress;
};
