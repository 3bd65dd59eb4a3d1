#include "web/pagescheme.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

const QByteArray PageSchemeHandler::Scheme = QByteArrayLiteral("vantrel-page");

namespace {

// The engine wants its schemes before any browser exists: done as the
// library loads, for the program and the tests alike.
void registerPageScheme() {
    QWebEngineUrlScheme scheme(PageSchemeHandler::Scheme);
    // One host for every page: each refresh then stays with the same site
    // and the engine keeps its renderer instead of starting a new one.
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Local pictures load; pictures on servers too (a local scheme would block them).
    scheme.setFlags(QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}
Q_CONSTRUCTOR_FUNCTION(registerPageScheme)

} // namespace

PageSchemeHandler::PageSchemeHandler(QObject* parent)
    : QWebEngineUrlSchemeHandler(parent) {}

PageSchemeHandler& PageSchemeHandler::of(QWebEngineProfile& profile) {
    auto* installed = const_cast<QWebEngineUrlSchemeHandler*>(profile.urlSchemeHandler(Scheme));
    if (auto* handler = qobject_cast<PageSchemeHandler*>(installed))
        return *handler;
    auto* handler = new PageSchemeHandler(&profile);
    profile.installUrlSchemeHandler(Scheme, handler);
    return *handler;
}

QUrl PageSchemeHandler::publish(const QString& slot, const QByteArray& page) {
    m_pages.insert(slot, page);
    QUrl url;
    url.setScheme(QString::fromLatin1(Scheme));
    url.setHost(QStringLiteral("preview"));
    url.setPath(QLatin1Char('/') + slot);
    url.setQuery(QString::number(++m_published));
    return url;
}

void PageSchemeHandler::release(const QString& slot) {
    m_pages.remove(slot);
}

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const auto page = m_pages.constFind(job->requestUrl().path().mid(1));
    if (page == m_pages.constEnd()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(*page);
    job->reply(QByteArrayLiteral("text/html"), buffer);
}
