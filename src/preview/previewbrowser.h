#pragma once

#include <QWebEngineView>

/// A browser for generated pages: no context menu, no scripts (listing pages
/// carry none), and pages loaded straight from memory.
class PreviewBrowser : public QWebEngineView {
    Q_OBJECT
public:
    explicit PreviewBrowser(QWidget* parent = nullptr);
    ~PreviewBrowser() override;

    /// Shows the page text (Windows-1252 bytes) in place of the current page,
    /// from the address returned.
    QUrl loadPage(const QByteArray& page);

private:
    QString m_slot;
};
