#include "ui/servertrust.h"

#include "platform/apperror.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "settings/settings.h"
#include "ui/userdialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace servertrust {

namespace {

QString title() {
    return uilanguage::text("MESSAGES", "trustTitle", QStringLiteral("Trust this server?"));
}

/// A line that would spill into a second line of the file it is kept in is
/// no identity the program can store.
bool isOneLine(const QString& line) {
    return !line.trimmed().isEmpty() && !line.contains(QLatin1Char('\n')) &&
           !line.contains(QLatin1Char('\r'));
}

/// Adds `line` at the end of the known-hosts file `fileName`, made (with its
/// folder) when missing and readable by its owner alone. The file is
/// replaced as a whole, so a failure leaves it as it was; one that cannot be
/// read is left alone.
void appendLine(const QString& fileName, const QString& line) {
    const QFileInfo info(fileName);
    if (!QDir().mkpath(info.absolutePath()))
        throw AppError(uilanguage::text("MESSAGES", "trustNoFolder",
                                        QStringLiteral("The folder \"%1\" cannot be created."))
                           .arg(info.absolutePath()));
    QByteArray bytes;
    if (info.exists()) {
        if (!readWholeFile(fileName, bytes))
            throw AppError(uilanguage::text("MESSAGES", "trustUnreadable",
                                            QStringLiteral("The file \"%1\" cannot be read."))
                               .arg(fileName));
    } else {
        // Made empty first so that the replacement keeps these permissions.
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFile::ReadOwner | QFile::WriteOwner))
            throw AppError(uilanguage::text("MESSAGES", "trustNotCreated",
                                            QStringLiteral("The file \"%1\" cannot be made: %2."))
                               .arg(fileName, file.errorString()));
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    bytes += line.trimmed().toUtf8() + '\n';
    writeFileAtomically(fileName, bytes);
}

bool trustHostKey(const UploadOutcome& outcome, const UploadAccount& account,
                  UserDialogs& dialogs) {
    const ServerIdentity& identity = outcome.identity;
    const QString question =
        uilanguage::text(
            "MESSAGES", "trustUnknownHostKey",
            QStringLiteral("The server %1 is not known to this computer yet.\n\n"
                           "Its key (%2) has the fingerprint\n%3\n\n"
                           "Compare it with the fingerprint your hosting company shows. "
                           "Trust this server and remember its key?"))
            .arg(account.displayName(), identity.description, identity.fingerprint);
    if (!dialogs.askYesNo(question, title(), UserDialogs::Icon::Warning))
        return false;
    if (account.knownHostsFiles.isEmpty())
        return false;
    try {
        appendLine(account.knownHostsFiles.last(), identity.trustLine);
    } catch (const AppError& error) {
        dialogs.showError(error.message());
        return false;
    }
    return true;
}

bool trustCertificate(const UploadOutcome& outcome, const UploadAccount& account,
                      UserDialogs& dialogs, Settings& settings) {
    const ServerIdentity& identity = outcome.identity;
    const QString question =
        uilanguage::text(
            "MESSAGES", "trustUntrustedCertificate",
            QStringLiteral("The certificate of %1 is not signed by an authority this computer "
                           "trusts.\n\n%2\n\nSHA-256 fingerprint\n%3\n\n"
                           "Compare it with the fingerprint your hosting company shows. "
                           "Trust this certificate from now on?"))
            .arg(account.displayName(), identity.description, identity.fingerprint);
    if (!dialogs.askYesNo(question, title(), UserDialogs::Icon::Warning))
        return false;
    const Status stored = settings.store(SettingKey::upPin, identity.trustLine.trimmed());
    if (!stored) {
        dialogs.showError(stored.error());
        return false;
    }
    return true;
}

void warnChangedHostKey(const UploadOutcome& outcome, const UploadAccount& account,
                        UserDialogs& dialogs) {
    const QString ownFile =
        account.knownHostsFiles.isEmpty() ? QString() : account.knownHostsFiles.last();
    dialogs.showMessage(
        uilanguage::text(
            "MESSAGES", "trustChangedHostKey",
            QStringLiteral("The key of the server %1 has changed!\n\n"
                           "Someone may be in the middle of the connection, listening: nothing "
                           "was sent.\n\nIts key now has the fingerprint\n%2\n\n"
                           "If your hosting company really changed the server's key, remove the "
                           "old line for %3 from ~/.ssh/known_hosts or from Vantrel's own file "
                           "%4, then try again."))
            .arg(account.displayName(), outcome.identity.fingerprint, account.host, ownFile),
        UserDialogs::Icon::Warning, title());
}

} // namespace

bool askToTrust(const UploadOutcome& outcome, const UploadAccount& account, UserDialogs& dialogs,
                Settings& settings) {
    if (outcome.problem == UploadProblem::ChangedHostKey) {
        warnChangedHostKey(outcome, account, dialogs);
        return false;
    }
    const bool hostKey = outcome.problem == UploadProblem::UnknownHostKey &&
                         outcome.identity.kind == ServerIdentity::Kind::HostKey;
    const bool certificate = outcome.problem == UploadProblem::UntrustedCertificate &&
                             outcome.identity.kind == ServerIdentity::Kind::Certificate;
    if (outcome.problem != UploadProblem::UnknownHostKey &&
        outcome.problem != UploadProblem::UntrustedCertificate)
        return false;
    if ((!hostKey && !certificate) || !isOneLine(outcome.identity.trustLine)) {
        dialogs.showMessage(
            uilanguage::text("MESSAGES", "trustNoIdentity",
                             QStringLiteral("Vantrel could not read who the server %1 says it "
                                            "is, so it cannot be trusted: nothing was sent."))
                .arg(account.displayName()),
            UserDialogs::Icon::Warning, title());
        return false;
    }
    return hostKey ? trustHostKey(outcome, account, dialogs)
                   : trustCertificate(outcome, account, dialogs, settings);
}

} // namespace servertrust
