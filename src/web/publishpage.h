#pragma once

#include "ui/webparts.h"

#include <QWidget>

class BrowserBar;
class ExportProgress;
class QLabel;
class QPushButton;
class QUrl;
class QWebEngineView;

/// The Publish page `tabExport`: the internal browser `broXport` in which
/// the seller signs in to the auction site, under its navigation bar, with
/// the loading panel
/// `pnlExportConn` over it until the first page has arrived, the panel
/// `pnlUseExtBrowser` while the site is open in the default browser, the
/// way back to the Layout page and the link to the publishing help.
class PublishPage : public QWidget, public PublishBrowserPage {
    Q_OBJECT
public:
    explicit PublishPage(QWidget* parent = nullptr);

    /// The internal browser, made at the first call.
    QWebEngineView* broXport();
    QWidget* widget() override { return this; }
    ExportProgress& progress() const override { return *m_progress; }

    /// The internal browser opens the address.
    void open(const QUrl& address) override;
    /// Shows or hides "Click here when your listing has been published".
    void showExternalBrowserPanel(bool show) override;
    /// The help link is hidden while the help window is open.
    void setHelpLinkVisible(bool visible) override;

signals:
    /// `lblShowHideHelp` was clicked.
    void helpRequested();
    /// `btnBack2Layout`, or the external-browser panel, was clicked.
    void backToLayoutRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTopStrip();
    QWidget* buildBrowserArea();
    void centrePanels();
    void siteLoaded();

    QWebEngineView* m_browser = nullptr;
    BrowserBar* m_bar = nullptr;
    QWidget* m_browserArea = nullptr;
    QWidget* m_loadingPanel = nullptr;
    QPushButton* m_externalPanel = nullptr;
    QLabel* m_helpLink = nullptr;
    ExportProgress* m_progress = nullptr;
};
