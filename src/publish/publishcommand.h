#pragma once

#include "http/uploadrun.h"
#include "platform/result.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class ListingClipboard;
class PageGenerator;
class PublishedRecord;
class ExportInfoDialog;
class Settings;
class TestImagesDialog;
class UserDialogs;
class LayoutDocument;
struct DocumentState;
struct PublishingState;
struct ServerMirror;
struct WorkingFolders;

/// The publish command (`btnExportClick`): the listing code made with every
/// picture on its image server, checked against the listing rules and for
/// pictures online, put on the clipboard, and the publish dialog shown.
class PublishCommand : public QObject {
    Q_OBJECT
public:
    /// What the command reads and changes.
    struct Parts {
        const DocumentState& document;
        const LayoutDocument& layout;
        PublishingState& publishing;
        const ServerMirror& servers;
        const std::array<QString, 3>& productServers;
        PageGenerator& generator;
        ListingClipboard& clipboard;
        const WorkingFolders& folders;
        /// The program's language ("en", "fr"): the listing rules' messages
        /// are in it.
        const QString& languageCode;
    };

    /// The image test, and the settings that skip it and say how the
    /// computer reaches the Internet; without them publishing goes on
    /// untested.
    void setImageTest(TestImagesDialog* test, const Settings* settings);

    /// The settings that may name the seller's upload server: with one set,
    /// the listing's pictures on the personal server are sent there before
    /// the listing rules and the image test. Trusting a server changes them.
    void setUpload(Settings* settings);
    /// The password of an account, by its `UploadAccount::secretKey`.
    using PasswordReader = std::function<Result<QString>(const QString& key)>;
    /// Tests send to a folder of their own and give the password themselves;
    /// an empty one keeps the real folder or secret store.
    void setUploadSeams(UploadRun::FolderFactory folders, PasswordReader readPassword);

    /// The record each posted listing is noted in; none notes nothing. The
    /// seller is told, through the dialog seam, when the record was damaged
    /// and set aside, whoever used it then.
    void setRecord(PublishedRecord* record);

    /// `publishDialog` is shown once the code is on the clipboard.
    PublishCommand(Parts parts, UserDialogs& dialogs, ExportInfoDialog* publishDialog,
                   QObject* parent = nullptr);

    /// Runs the command. False when it stopped before the clipboard: an
    /// example is open, a picture has no server to be published on, or the
    /// seller went back from what the listing rules found.
    bool publish();
    /// "Publish now..." clicked: runs the command.
    bool btnExportClick();

signals:
    /// The seller wants to set the personal server now.
    void settingsRequested();

private:
    void ExportNow();
    /// Notes the listing just posted in the record; a record that cannot
    /// take it is said, and publishing is done all the same.
    void recordPublication(const QString& code);
    /// False, after offering to set the personal server, when a picture of
    /// the page got no server address.
    bool picturesHaveServers();
    /// The listing rules' findings, when there are any, shown to the seller;
    /// false when the seller goes back. The publish dialog is told what the
    /// seller went on with.
    bool listingIsFit();
    bool picturesAreOnline();
    /// False when the seller cancelled the upload, did not trust the server,
    /// or stopped on pictures that could not be sent.
    bool picturesAreUploaded();
    /// The pictures of the page on the personal server, as an upload sends
    /// them.
    QList<UploadItem> uploadItems(QString& server) const;
    /// One upload of `m_uploadItems`, with its dialog and what follows it.
    bool sendPictures();
    /// False when the seller stops on the pictures that were not sent.
    bool goOnWithout(const UploadRun& run, const UploadAccount& account,
                     const QString& storeProblem);
    /// The image test found pictures missing that were sent: forgets them,
    /// so that they are sent again, and true when the seller wants that now.
    bool sendLostAgain();

    Parts m_parts;
    UserDialogs& m_dialogs;
    ExportInfoDialog* m_publishDialog;
    TestImagesDialog* m_imageTest = nullptr;
    const Settings* m_settings = nullptr;
    Settings* m_uploadSettings = nullptr;
    UploadRun::FolderFactory m_folderFactory;
    PasswordReader m_readPassword;
    /// The pictures this publication sends, and the record of that server.
    QList<UploadItem> m_uploadItems;
    PublishedRecord* m_record = nullptr;
    /// The document's part of the page last made.
    QString m_documentHtml;
    QString m_recordFile;
    /// The addresses the last upload put on the server or found there.
    QStringList m_onServer;
};
