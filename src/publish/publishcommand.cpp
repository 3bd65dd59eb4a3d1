#include "publish/publishcommand.h"

#include "docmodel/documentstate.h"
#include "layout/layoutdocument.h"
#include "listing/imageservers.h"
#include "listing/listingrules.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "platform/workingfolders.h"
#include "publish/exportinfodialog.h"
#include "publish/listingclipboard.h"
#include "publish/listingfindingsdialog.h"
#include "publish/testimagesdialog.h"
#include "settings/servermirror.h"
#include "settings/settings.h"
#include "ui/userdialogs.h"

#include <QDialog>

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
    publishing.Publishing = true;
    const QString layoutServer =
        imageservers::layoutPictureServer(m_parts.servers, m_parts.productServers);
    // The document names the pictures by their paths itself.
    LayoutState pictureNames = m_parts.layout.state();
    imageservers::placeLayoutPictures(m_parts.layout.layout(), layoutServer, pictureNames,
                                      publishing, m_parts.folders.UserFolder);
    ExportNow();
    if (!picturesHaveServers() || !listingIsFit() || !picturesAreOnline()) {
        publishing.Publishing = false;
        return false;
    }
    QString code;
    for (const QString& line : publishing.ListingCode)
        code += line + QStringLiteral("\r\n");
    m_parts.clipboard.copy(code);
    if (m_publishDialog)
        m_publishDialog->showModally();
    return true;
}

void PublishCommand::ExportNow() {
    const GeneratedPage page = m_parts.generator.generate();
    if (!page.error.isEmpty())
        throw AppError(page.error);
    m_parts.publishing.ListingCode = page.ListingCode;
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
        ListingFindingsDialog dialog(findings, m_parts.languageCode);
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
    const bool proxy = m_settings->integer(SettingKey::connType) != 0;
    const QString port = m_settings->text(SettingKey::httpPort);
    const int result =
        m_imageTest->testImages(m_parts.publishing.RequiredImages.items(),
                                proxy ? m_settings->text(SettingKey::httpProxy) : QString(),
                                proxy && !port.isEmpty() ? port : QStringLiteral("80"));
    return result == QDialog::Accepted;
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
