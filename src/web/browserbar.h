#pragma once

#include <QUrl>
#include <QWidget>

class QAction;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QWebEngineLoadingInfo;
class QWebEngineView;

/// The navigation bar over the Publish page's browser, where the seller
/// signs in to the auction site: back, forward, reload (stop while a page
/// loads), the address shown, read-only, with whether the connection can be
/// trusted, and a thin bar while a page loads.
class BrowserBar : public QWidget {
    Q_OBJECT
public:
    /// What the padlock says of the page shown.
    enum class Security {
        None,     // nothing shown yet
        Secure,   // https with a certificate the browser accepted
        Insecure, // not encrypted, a certificate error, or a page that failed
    };

    explicit BrowserBar(QWidget* parent = nullptr);

    /// Follows the browser from now on.
    void attach(QWebEngineView* browser);
    /// Back, forward and reload with their keys, for the page that shows
    /// the bar to own.
    QList<QAction*> keyActions() const;
    /// A page of the program is shown instead of `address`, which could not
    /// be opened: the address stays in view, as not secure, and reload tries
    /// it again.
    void showFailedAddress(const QUrl& address);

    Security security() const { return m_security; }
    /// Why the padlock says so, in the program's language.
    QString securityHint() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& text, const QList<QKeySequence>& keys);
    void setIcons();
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void setLoading(bool loading);
    void reload();
    void refresh();

    QWebEngineView* m_browser = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_reload = nullptr;
    QAction* m_stop = nullptr;
    QToolButton* m_reloadButton = nullptr;
    QLineEdit* m_address = nullptr;
    QAction* m_padlock = nullptr;
    QProgressBar* m_loading = nullptr;
    Security m_security = Security::None;
    bool m_certificateError = false;
    QUrl m_failed; // the address a failure page stands for
};
