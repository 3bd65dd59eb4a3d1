#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class EdDocument;
class SettingsChoices;
class Transfer;
struct HttpResult;

/// Brings a document's pictures on the web into view. Each address the
/// document asks for is shown at once from the cache when it is kept there,
/// and fetched in the background, a few at a time; what arrives is kept in
/// the cache and shown, and a picture that cannot be fetched keeps its
/// cached image or shows why it is missing. Nothing waits for the network.
class WebPictureLoader : public QObject {
    Q_OBJECT
public:
    /// Follows `document` for as long as both live.
    explicit WebPictureLoader(EdDocument& document, QObject* parent = nullptr);
    ~WebPictureLoader() override;

    /// Fetches go through the proxy these settings name at the time; none
    /// set fetches directly.
    void setSettings(const SettingsChoices* settings) { m_settings = settings; }

    /// The largest picture fetched.
    static constexpr qint64 kLargestPicture = 30LL * 1024 * 1024;
    /// How many pictures are fetched at the same time.
    static constexpr int kAtOnce = 4;

    /// Fetches still running or waiting.
    int pending() const { return int(m_waiting.size() + m_running.size()); }

signals:
    /// Every picture asked for so far has arrived or failed.
    void settled();

private:
    void want(const QString& address);
    void startWaiting();
    void fetched(const QString& address, const HttpResult& result);

    EdDocument& m_document;
    const SettingsChoices* m_settings = nullptr;
    QStringList m_waiting;
    QHash<QString, Transfer*> m_running;
};
