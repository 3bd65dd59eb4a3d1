#include "http/secretstore.h"

#include "platform/uilanguage.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace secretstore {

namespace {

const QString service = QStringLiteral("Vantrel");

/// Some desktop's secret store answers, or can be started, on the session
/// bus. The keychain library reports a missing one as any other failure.
bool storeOnTheBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names)
        return false;
    const QStringList stores = {QStringLiteral("org.freedesktop.secrets"),
                                QStringLiteral("org.kde.kwalletd5"),
                                QStringLiteral("org.kde.kwalletd6")};
    const QStringList startable = names->activatableServiceNames().value();
    for (const QString& store : stores) {
        if (names->isServiceRegistered(store).value() || startable.contains(store))
            return true;
    }
    return false;
}

/// Why the store could not do what was asked, in the seller's words; the
/// store's own text follows for the cases it alone can explain.
QString failureMessage(const QKeychain::Job& job) {
    const QKeychain::Error error = job.error() == QKeychain::OtherError && !storeOnTheBus()
                                       ? QKeychain::NoBackendAvailable
                                       : job.error();
    switch (error) {
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        return uilanguage::text(
            "MESSAGES", "secretStoreNone",
            QStringLiteral("No secret store is running on this desktop: the password cannot be "
                           "kept. Start the desktop's keyring, then try again."));
    case QKeychain::AccessDeniedByUser:
    case QKeychain::AccessDenied:
        return uilanguage::text("MESSAGES", "secretStoreDenied",
                                QStringLiteral("The secret store refused access to the password "
                                               "(is the keyring locked?)."));
    default:
        return uilanguage::text("MESSAGES", "secretStoreOther",
                                QStringLiteral("The secret store could not keep the password: %1"))
            .arg(job.errorString());
    }
}

/// Runs `job` to its end. The store answers over a short D-Bus call, so the
/// caller waits in a local event loop that ignores the seller's input: the
/// pages stay painted without a click reaching a half-done action.
void runToEnd(QKeychain::Job& job, const QString& key) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(key);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    job.start();
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

Result<QString> readPassword(const QString& key) {
    QKeychain::ReadPasswordJob job(service);
    runToEnd(job, key);
    if (job.error() == QKeychain::EntryNotFound)
        return QString();
    if (job.error() != QKeychain::NoError)
        return fail(failureMessage(job));
    return job.textData();
}

Status writePassword(const QString& key, const QString& password) {
    QKeychain::WritePasswordJob job(service);
    job.setTextData(password);
    runToEnd(job, key);
    if (job.error() != QKeychain::NoError)
        return fail(failureMessage(job));
    return {};
}

Status removePassword(const QString& key) {
    QKeychain::DeletePasswordJob job(service);
    runToEnd(job, key);
    if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound)
        return fail(failureMessage(job));
    return {};
}

} // namespace secretstore
