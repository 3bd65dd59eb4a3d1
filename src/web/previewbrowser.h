#pragma once

#include <QWebEngineView>

/// A browser for generated pages: no context menu, no scripts (listing pages
/// carry none), and pages loaded straight from memory.
class PreviewBrowser : public QWebEngineView {
    Q_OBJECT
public:
    explicit PreviewBrowser(QWidget* parent = nullptr);
    ~PreviewBrowser() override;

    /// The width of the view a phone gives a page, in CSS pixels.
    static constexpr int PhoneWidth = 390;

    /// Shows the page as a phone does: PhoneWidth CSS pixels wide, centred in
    /// the place the browser has; false gives it the whole place again.
    void showAtPhoneWidth(bool phone);
    bool showsPhoneWidth() const { return m_phone; }

    /// Shows the page text (Windows-1252 bytes) in place of the current page,
    /// from the address returned. The page is laid out once it has all
    /// arrived, not while it arrives.
    QUrl loadPage(const QByteArray& page);

private:
    QString m_slot;
    bool m_phone = false;
};
