#pragma once

#include "ui/webparts.h"

#include <QDialog>

struct PublishingState;
struct ServerMirror;
struct WorkingFolders;
class PreviewBrowser;
class UserDialogs;
class QLabel;

/// The online preview `T_frmPreviewLive`: the listing as bidders will see
/// it, every picture taken from the image servers, with a reminder of where
/// the seller's own pictures must be uploaded.
class PreviewLiveWindow : public QDialog, public OnlinePreview {
    Q_OBJECT
public:
    explicit PreviewLiveWindow(QWidget* parent = nullptr);

    /// Writes `ListingCode` as a page to the online preview file in
    /// `SharedDataFolder`, shows it modally and deletes the file when the
    /// window has closed. Throws `AppError` when the file cannot be written.
    void showOnlinePreview(const WorkingFolders& folders, const PublishingState& publishing,
                           const ServerMirror& servers, UserDialogs& dialogs) override;

    /// Its browser, made at the first call.
    PreviewBrowser* WebBroPreviewLive();
    QLabel* lblOwnServer() const { return m_ownServer; }
    QLabel* lblOwnImageFolder() const { return m_ownImageFolder; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPanel();
    void showOwnImageFolder();

    PreviewBrowser* m_browser = nullptr;
    QLabel* m_ownServer = nullptr;
    QLabel* m_ownImageFolder = nullptr;
    QString m_imageFolder;
};
