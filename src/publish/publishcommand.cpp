#include "publish/publishcommand.h"

#include "docmodel/documentstate.h"
#include "http/secretstore.h"
#include "layout/layoutdocument.h"
#include "listing/imageservers.h"
#include "listing/listingrules.h"
#include "listing/uploadrecord.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/pagetext.h"
#include "pagegen/pictureinputs.h"
#include "pagegen/publishingstate.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "publish/exportinfodialog.h"
#include "publish/listingclipboard.h"
#include "publish/listingfindingsdialog.h"
#include "publish/testimagesdialog.h"
#include "publish/uploaddialog.h"
#include "publish/uploadsetup.h"
#include "published/publishedlisting.h"
#include "published/publishedrecord.h"
#include "settings/servermirror.h"
#include "settings/settings.h"
#include "ui/servertrust.h"
#include "ui/userdialogs.h"

#include <QApplication>
#include <QDialog>
#include <algorithm>

namespace {

/// How often one publication asks about the server's identity, and offers
/// to send lost pictures again, before it gives up: a server that keeps
/// changing would otherwise ask for ever.
constexpr int trustRounds = 3;
constexpr int resendRounds = 2;

QString publishTitle() {
    return uilanguage::text("MESSAGES", "publishTitle", QStringLiteral("Publish"));
}

/// A Layout page control as its caption reads: " Text Area " gives "Text Area".
QString controlName(const char* section, const char* key, const char* english) {
    QString caption = uilanguage::caption(section, key, QString::fromUtf8(english)).trimmed();
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

/// The address each shown layout picture has in the listing, with where on
/// the Layout page the seller chose it.
QHash<QString, QString> layoutPicturePlaces(const Layout& layout,
                                            const PublishingState& publishing) {
    const QString arrow = QStringLiteral(" \u25b8 ");
    const struct {
        const QString& path;
        bool hidden;
        const QString& address;
        QString place;
    } pictures[] = {
        {layout.AdImg, layout.AdImgHide, publishing.AdImageURL,
         controlName("T_FrmMain", "gbxPage", " Ad's Background, Width && Position ") + arrow +
             controlName("T_FrmMain", "btnAdImg", "Back image")},
        {layout.FBgImg, layout.FImgHide, publishing.FrameImageURL,
         controlName("MAIN", "capt_frameBox", " Frame ") + arrow +
             controlName("MAIN", "capt_frameImage", "Frame image")},
        {layout.TxtBgImg, layout.TxtImgHide, publishing.TextImageURL,
         controlName("MAIN", "capt_textAreaBox", " Text Area ") + arrow +
             controlName("MAIN", "capt_backImage", "Back image")},
    };
    QHash<QString, QString> places;
    for (const auto& picture : pictures)
        if (!picture.path.isEmpty() && !picture.hidden)
            places.insert(quotableUrl(picture.address), picture.place);
    return places;
}

} // namespace

PublishCommand::PublishCommand(Parts parts, UserDialogs& dialogs, ExportInfoDialog* publishDialog,
                               QObject* parent)
    : QObject(parent)
    , m_parts(parts)
    , m_dialogs(dialogs)
    , m_publishDialog(publishDialog) {}

bool PublishCommand::btnExportClick() {
    return publish();
}

bool PublishCommand::publish() {
    if (m_parts.document.ExampleOpen) {
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "cannotPublishExamples",
                                               QStringLiteral("Cannot publish Examples or "
                                                              "Tutorials...")));
        return false;
    }
    PublishingState& publishing = m_parts.publishing;
    // Each run checks the pictures of this page only.
    publishing.RequiredImages.clear();
    publishing.UnplacedPictures.clear();
    publishing.PlacedPictures.clear();
    m_uploadItems.clear();
    m_onServer.clear();
    publishing.Publishing = true;
    const QString layoutServer =
        imageservers::layoutPictureServer(m_parts.servers, m_parts.productServers);
    // The document names the pictures by their paths itself.
    LayoutState pictureNames = m_parts.layout.state();
    imageservers::placeLayoutPictures(m_parts.layout.layout(), layoutServer, pictureNames,
                                      publishing, m_parts.folders.UserFolder);
    ExportNow();
    if (!picturesHaveServers() || !picturesAreUploaded() || !listingIsFit() ||
        !picturesAreOnline()) {
        publishing.Publishing = false;
        return false;
    }
    QString code;
    for (const QString& line : publishing.ListingCode)
        code += line + QStringLiteral("\r\n");
    m_parts.clipboard.copy(code);
    // Only a listing the seller goes on to post is noted as published.
    if (!m_publishDialog || m_publishDialog->showModally() == QDialog::Accepted)
        recordPublication(code);
    return true;
}

void PublishCommand::setRecord(PublishedRecord* record) {
    if (m_record)
        disconnect(m_record, nullptr, this, nullptr);
    m_record = record;
    if (!m_record)
        return;
    connect(m_record, &PublishedRecord::setAside, this, [this](const QString& message) {
        m_dialogs.showMessage(
            message, UserDialogs::Icon::Warning,
            uilanguage::text("MESSAGES", "publishedTitle", QStringLiteral("Published listings")));
    });
}

void PublishCommand::recordPublication(const QString& code) {
    if (!m_record)
        return;
    const PublishingState& publishing = m_parts.publishing;
    PublishedListing listing;
    listing.published = QDateTime::currentDateTimeUtc();
    listing.site = m_publishDialog ? m_publishDialog->SiteName() : QString();
    listing.documentFile = m_parts.document.DocumentPath;
    const LayoutState& layout = m_parts.layout.state();
    if (!layout.LayoutFolder.isEmpty())
        listing.layoutFile = layout.LayoutFolder + layout.LayoutFileName;
    listing.title = listingTitle(m_documentHtml);
    listing.code = code;
    listing.pictures =
        publishedPictures(publishing.RequiredImages.items(), publishing.PlacedPictures);
    const Result<qint64> added = m_record->add(listing);
    if (!added)
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "publishedNotNoted",
                                               QStringLiteral("The listing code is on the "
                                                              "clipboard, but the listing could "
                                                              "not be noted in the record of "
                                                              "published listings.\n\n%1"))
                                  .arg(added.error()),
                              UserDialogs::Icon::Warning, publishTitle());
}

void PublishCommand::ExportNow() {
    const GeneratedPage page = m_parts.generator.generate();
    if (!page.error.isEmpty())
        throw AppError(page.error);
    m_parts.publishing.ListingCode = page.ListingCode;
    m_documentHtml = page.memPage.value(page.documentLineIndex());
}

void PublishCommand::setImageTest(TestImagesDialog* test, const Settings* settings) {
    m_imageTest = test;
    m_settings = settings;
}

bool PublishCommand::listingIsFit() {
    using Check = ExportInfoDialog::ListingCheck;
    const QList<listingrules::Finding> findings =
        listingrules::check(m_parts.publishing.ListingCode, m_parts.languageCode);
    const Check check = findings.isEmpty()                  ? Check::Clean
                        : listingrules::hasErrors(findings) ? Check::ErrorsKept
                                                            : Check::WarningsKept;
    if (check != Check::Clean) {
        ListingFindingsDialog dialog(
            findings, m_parts.languageCode,
            layoutPicturePlaces(m_parts.layout.layout(), m_parts.publishing));
        if (m_dialogs.runModal(dialog) != QDialog::Accepted)
            return false;
    }
    if (m_publishDialog)
        m_publishDialog->setListingCheck(check);
    return true;
}

bool PublishCommand::picturesAreOnline() {
    if (!m_imageTest || !m_settings || m_settings->hideCheckImage())
        return true;
    for (int round = 0;; ++round) {
        const int result =
            m_imageTest->testImages(m_parts.publishing.RequiredImages.items(),
                                    m_settings->proxyHost(), m_settings->proxyPort());
        if (round >= resendRounds || !sendLostAgain())
            return result == QDialog::Accepted;
        if (!sendPictures())
            return false;
    }
}

void PublishCommand::setUpload(Settings* settings) {
    m_uploadSettings = settings;
}

void PublishCommand::setUploadSeams(UploadRun::FolderFactory folders, PasswordReader readPassword) {
    m_folderFactory = std::move(folders);
    m_readPassword = std::move(readPassword);
}

QList<UploadItem> PublishCommand::uploadItems(QString& server) const {
    // Only what the listing names on the personal server goes there: a
    // picture on another image server is that server's.
    const pictureplan::Servers chosen =
        pictureplan::chosenServers(m_parts.servers, m_parts.productServers);
    const bool layoutOnProductServer =
        std::find(m_parts.productServers.cbegin(), m_parts.productServers.cend(), chosen.layout) !=
        m_parts.productServers.cend();
    server = !chosen.document.isEmpty() ? chosen.document
             : layoutOnProductServer    ? QString()
                                        : chosen.layout;
    QList<UploadItem> items;
    if (server.isEmpty())
        return items;
    for (const PlacedPicture& picture : m_parts.publishing.PlacedPictures) {
        if (!picture.serverAddress.startsWith(server))
            continue;
        UploadItem item;
        item.localFile = picture.localFile;
        if (item.localFile.isEmpty())
            item.bytes = picture.bytes;
        item.remoteName = picture.serverName;
        item.address = picture.serverAddress;
        items.append(item);
    }
    return items;
}

bool PublishCommand::picturesAreUploaded() {
    if (!m_uploadSettings || !uploadsetup::configured(*m_uploadSettings))
        return true;
    QString server;
    m_uploadItems = uploadItems(server);
    if (m_uploadItems.isEmpty())
        return true;
    m_recordFile = UploadRecord::fileFor(m_parts.folders.SharedDataFolder, server);
    return sendPictures();
}

bool PublishCommand::sendPictures() {
    Settings& settings = *m_uploadSettings;
    UploadAccount account = uploadsetup::account(settings, m_parts.folders);
    const Result<QString> password = m_readPassword
                                         ? m_readPassword(account.secretKey())
                                         : secretstore::readPassword(account.secretKey());
    // Without a password the server may still take a key or the agent; when
    // it refuses, the message says where the password is set.
    const QString storeProblem = password ? QString() : password.error();
    const QString storedPassword = password ? password.value() : QString();
    UploadRun::Options options;
    options.photo.maxLongSide = settings.integer(SettingKey::upMaxSide);
    options.recordFile = m_recordFile;
    for (int round = 1;; ++round) {
        account.password = storedPassword;
        UploadRun run(account, m_uploadItems, options);
        if (m_folderFactory)
            run.setFolderFactory(m_folderFactory);
        UploadDialog dialog(run, account.displayName(), QApplication::activeWindow());
        m_dialogs.runModal(dialog);
        if (dialog.isRunning())
            run.cancel();
        // Nothing is copied as published once the seller cancelled.
        if (!dialog.wasStarted() || dialog.wasCancelled() || dialog.isRunning())
            return false;
        const UploadOutcome untrusted = dialog.untrusted();
        m_onServer.clear();
        for (qsizetype i = 0; i < run.results().size() && i < m_uploadItems.size(); ++i) {
            const UploadItemResult::State state = run.results().at(i).state;
            if (state == UploadItemResult::State::Sent ||
                state == UploadItemResult::State::Unchanged)
                m_onServer.append(m_uploadItems.at(i).address);
        }
        if (untrusted.ok())
            return run.succeeded() || goOnWithout(run, account, storeProblem);
        if (round >= trustRounds) {
            m_dialogs.showMessage(untrusted.message, UserDialogs::Icon::Warning, publishTitle());
            return false;
        }
        if (!servertrust::askToTrust(untrusted, account, m_dialogs, settings))
            return false;
        // What the seller accepted is in the settings or the known hosts now.
        account = uploadsetup::account(settings, m_parts.folders);
    }
}

bool PublishCommand::goOnWithout(const UploadRun& run, const UploadAccount& account,
                                 const QString& storeProblem) {
    QStringList lines;
    bool loginRefused = false;
    const QList<UploadItemResult>& results = run.results();
    for (qsizetype i = 0; i < run.items().size(); ++i) {
        const UploadItem& item = run.items().at(i);
        const UploadItemResult result = i < results.size() ? results.at(i) : UploadItemResult{};
        if (result.state == UploadItemResult::State::Sent ||
            result.state == UploadItemResult::State::Unchanged)
            continue;
        loginRefused = loginRefused || result.outcome.problem == UploadProblem::WrongLogin;
        const QString reason = result.outcome.message.trimmed();
        lines.append(QStringLiteral("- ") + item.remoteName + QStringLiteral(": ") +
                     (reason.isEmpty() ? uilanguage::text("MESSAGES", "uploadNotSent",
                                                          QStringLiteral("not sent"))
                                       : reason));
    }
    QString text = uilanguage::text("MESSAGES", "uploadFailures",
                                    QStringLiteral("These pictures could not be sent to %1:"))
                       .arg(account.displayName()) +
                   QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
    if (loginRefused && account.password.isEmpty()) {
        text += QStringLiteral("\n\n") +
                uilanguage::text("MESSAGES", "uploadNoPassword",
                                 QStringLiteral("No password is stored for this server: set "
                                                "the password in Options > Upload."));
        if (!storeProblem.isEmpty())
            text += QLatin1Char(' ') + storeProblem;
    }
    text += QStringLiteral("\n\n") +
            uilanguage::text("MESSAGES", "uploadGoOn",
                             QStringLiteral("The listing would show no picture where each of "
                                            "them stands. Nothing has been copied yet. Go on "
                                            "and publish it all the same?"));
    return m_dialogs.askYesNo(text, publishTitle(), UserDialogs::Icon::Warning);
}

bool PublishCommand::sendLostAgain() {
    if (m_uploadItems.isEmpty())
        return false;
    const QStringList& missing = m_imageTest->missingImages();
    QStringList lost;
    QStringList lostAddresses;
    for (const UploadItem& item : std::as_const(m_uploadItems)) {
        // One that was not sent is not lost: the seller was told already.
        if (missing.contains(item.address) && m_onServer.contains(item.address)) {
            lost.append(item.remoteName);
            lostAddresses.append(item.address);
        }
    }
    if (lost.isEmpty())
        return false;
    const Status forgotten = UploadRun::forgetMissing(m_recordFile, m_uploadItems, lostAddresses);
    if (!forgotten) {
        m_dialogs.showMessage(forgotten.error(), UserDialogs::Icon::Warning, publishTitle());
        return false;
    }
    return m_dialogs.askYesNo(
        uilanguage::text("MESSAGES", "uploadLost",
                         QStringLiteral("These pictures were sent to your server before but are "
                                        "not found there now:\n\n%1\n\nSend them again now?"))
            .arg(lost.join(QLatin1Char('\n'))),
        publishTitle(), UserDialogs::Icon::Question);
}

bool PublishCommand::picturesHaveServers() {
    // A page with a local picture shows a hole on every bidder's screen.
    if (m_parts.publishing.UnplacedPictures.isEmpty())
        return true;
    m_parts.publishing.Publishing = false;
    if (m_dialogs.askYesNo(
            uilanguage::text("MESSAGES", "personalServerNotSet",
                             QStringLiteral("Your personal image server is not set, so the "
                                            "pictures of this listing have no address on the "
                                            "Internet and would not show.\n\nNothing was "
                                            "copied. Set your personal server now?")),
            uilanguage::text("MESSAGES", "publishTitle", QStringLiteral("Publish")),
            UserDialogs::Icon::Warning))
        emit settingsRequested();
    return false;
}
