#pragma once

#include <QByteArray>
#include <QHash>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

/// Serves pages held in memory to the browsers under "vantrel-page:" URLs,
/// so a preview never goes through a file and has no size limit. Pages of
/// this scheme may show local `file:` pictures.
class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    static const QByteArray Scheme;

    /// The profile's handler, installed with the profile as its parent at
    /// first use.
    static PageSchemeHandler& of(QWebEngineProfile& profile);

    /// Holds the page under the slot name, replacing the slot's earlier page,
    /// and returns an address that has not been used before.
    QUrl publish(const QString& slot, const QByteArray& page);
    void release(const QString& slot);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    explicit PageSchemeHandler(QObject* parent);

    QHash<QString, QByteArray> m_pages;
    quint64 m_published = 0;
};
