#include "publish/exportinfodialog.h"

#include "listing/sitelist.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "publish/addsitedialog.h"
#include "publish/editsitedialog.h"
#include "publish/publishtarget.h"
#include "settings/settingschoices.h"
#include "settings/settingsfile.h"
#include "ui/themecolors.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace {

enum Browser { InternalBrowser, DefaultBrowser };

const QString untitledCaption = QStringLiteral("Publish");

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* linkLabel(const char* name, const QString& text) {
    auto* label = named(new QLabel(QStringLiteral("<a href=\"#\" style=\"color:%1\">%2</a>")
                                       .arg(themecolors::styleColor(QStringLiteral("blue"),
                                                                    QApplication::palette()),
                                            text.toHtmlEscaped())),
                        name);
    label->setTextFormat(Qt::RichText);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QLabel* checkLine(const char* name, const QString& text, const char* color) {
    auto* line = named(new QLabel(text), name);
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    line->setStyleSheet(QStringLiteral("font-weight: bold; color: %1;")
                            .arg(themecolors::styleColor(QLatin1String(color), line->palette())));
    return line;
}

} // namespace

ExportInfoDialog::ExportInfoDialog(UserDialogs& dialogs, QString settingsFile, QString siteListFile,
                                   SettingsChoices& settings, PublishTarget& target,
                                   AddSiteDialog& addSite, EditSiteDialog& editSite,
                                   QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_settingsFile(std::move(settingsFile))
    , m_siteListFile(std::move(siteListFile))
    , m_settings(settings)
    , m_target(target)
    , m_addSite(addSite)
    , m_editSite(editSite)
    , m_regions(new QButtonGroup(this))
    , m_browsers(new QButtonGroup(this))
    , m_sites(named(new QComboBox, "coxAuctionSites"))
    , m_showHelp(
          named(new QCheckBox(QStringLiteral("Show Publish Help window")), "cbxShowExportHelp"))
    , m_checkLines(new QStackedLayout)
    , m_storedRegion(sitelist::DefaultRegion) {
    setObjectName(QStringLiteral("T_frmExportInfo"));
    setWindowTitle(untitledCaption);
    // Left through its two buttons only: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* title =
        named(new QLabel(QStringLiteral("Internet connection required")), "lblExportTitle");
    title->setTextFormat(Qt::PlainText);
    title->setAlignment(Qt::AlignCenter);
    title->setStyleSheet(
        QStringLiteral("font-weight: bold; color: %1;")
            .arg(themecolors::styleColor(QStringLiteral("maroon"), title->palette())));
    auto* info = named(new QLabel(QStringLiteral("Everything is ready for you to publish your "
                                                 "advertisement to the auctions site of your "
                                                 "choice.")),
                       "lblExportInfo");
    info->setTextFormat(Qt::PlainText);
    info->setWordWrap(true);

    // In the order of `ListingCheck`; the words are the labels', so that
    // each line has its own translation.
    m_checkLines->addWidget(new QWidget);
    m_checkLines->addWidget(checkLine(
        "lblListingClean", QStringLiteral("Listing check: nothing found that marketplaces refuse."),
        "#1b7a1b"));
    m_checkLines->addWidget(checkLine(
        "lblListingWarnings",
        QStringLiteral("Listing check: only warnings found, and you chose to go on."), "#8a5a00"));
    m_checkLines->addWidget(
        checkLine("lblListingErrors",
                  QStringLiteral("Listing check: marketplaces may refuse this listing; you chose "
                                 "to publish anyway."),
                  "#b00020"));

    auto* world = named(new QGroupBox(QStringLiteral(" Select a Region ")), "radWorld");
    auto* worldGrid = new QGridLayout(world);
    const int perColumn = (sitelist::RegionCount + 1) / 2;
    for (int region = 0; region < sitelist::RegionCount; ++region) {
        auto* button = new QRadioButton(sitelist::regionCaption(region));
        m_regions->addButton(button, region);
        worldGrid->addWidget(button, region % perColumn, region / perColumn);
    }
    connect(m_regions, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            runCommand(m_dialogs, [this] { radWorldClick(); });
    });

    auto* addSiteLink = linkLabel("lblAddSite", QStringLiteral("Add site to selected Region"));
    connect(addSiteLink, &QLabel::linkActivated, this,
            [this] { runCommand(m_dialogs, [this] { lblAddSiteClick(); }); });
    auto* selectSite =
        named(new QLabel(QStringLiteral("Select your Auctions site :")), "lblSelectSite");
    selectSite->setTextFormat(Qt::PlainText);
    m_sites->setEditable(false);
    m_sites->setMaxVisibleItems(14);
    m_sites->setMinimumContentsLength(28);
    connectCommand(m_sites, &QComboBox::currentIndexChanged, this, m_dialogs,
                   [this] { coxAuctionSitesSelect(); });
    auto* editSitesLink = linkLabel("lblEditSites", QStringLiteral("Edit / Delete selected site"));
    connect(editSitesLink, &QLabel::linkActivated, this,
            [this] { runCommand(m_dialogs, [this] { lblEditSitesClick(); }); });

    auto* browserChoice =
        named(new QGroupBox(QStringLiteral(" To Publish, use... ")), "radBrowserChoice");
    auto* browserColumn = new QVBoxLayout(browserChoice);
    const QString browserCaptions[] = {QStringLiteral("Vantrel's internal browser"),
                                       QStringLiteral("Computer's default browser")};
    for (int browser : {InternalBrowser, DefaultBrowser}) {
        auto* button = new QRadioButton(browserCaptions[browser]);
        m_browsers->addButton(button, browser);
        browserColumn->addWidget(button);
    }
    m_browsers->button(InternalBrowser)->setChecked(true);
    // As the settings have it until the seller turns the help off.
    m_showHelp->setChecked(true);
    connect(m_browsers, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            radBrowserChoiceClick();
    });

    auto* publish = named(new QPushButton(QStringLiteral("Post Listing now")), "btnPublishNow");
    publish->setDefault(true);
    connectCommand(publish, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnPublishNowClick(); });
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel Publishing")), "btnCancelPublish");
    cancel->setAutoDefault(false);
    connectCommand(cancel, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnCancelPublishClick(); });
    connectCommand(m_showHelp, &QCheckBox::toggled, this, m_dialogs,
                   [this] { cbxShowExportHelpClick(); });

    auto* siteRow = new QHBoxLayout;
    siteRow->addWidget(selectSite);
    siteRow->addStretch();
    siteRow->addWidget(addSiteLink);
    auto* editRow = new QHBoxLayout;
    editRow->addStretch();
    editRow->addWidget(editSitesLink);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showHelp);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(publish);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(info);
    layout->addLayout(m_checkLines);
    layout->addWidget(world);
    layout->addLayout(siteRow);
    layout->addWidget(m_sites);
    layout->addLayout(editRow);
    layout->addWidget(browserChoice);
    layout->addLayout(buttons);
    fitAndCentreWhenFirstShown(*this);
}

void ExportInfoDialog::setListingCheck(ListingCheck check) {
    m_checkLines->setCurrentIndex(int(check));
}

int ExportInfoDialog::showModally() {
    runCommand(m_dialogs, [this] { FormShow(); });
    // The language may have changed since the site was chosen.
    showSiteInCaption();
    // The line's words may have changed language since the last showing.
    setFixedSize(sizeHint());
    return m_dialogs.runModal(*this);
}

QString ExportInfoDialog::SiteName() const {
    return m_sites->currentIndex() < 0 ? QString() : m_sites->currentText();
}

int ExportInfoDialog::selectedRegion() const {
    return sitelist::clampRegion(m_regions->checkedId());
}

void ExportInfoDialog::FormShow() {
    SettingsFile settings(m_settingsFile);
    try {
        settings.readInt(SettingKey::region);
    } catch (const AppError&) {
        // A settings file that cannot be read was named when the main window
        // became active: the choices start at their defaults, and the listing
        // can still be posted.
        settings = SettingsFile(QString());
    }
    m_storedSiteIndex = settings.readInt(SettingKey::siteIndex);
    m_storedRegion = sitelist::clampRegion(settings.readInt(SettingKey::region));
    const int browser = settings.readInt(SettingKey::useBrowser) == DefaultBrowser
                            ? DefaultBrowser
                            : InternalBrowser;
    // Each reacts only when it changes the selection: shown again in the
    // same run, the dialog keeps the site list and selection it was left with.
    m_browsers->button(browser)->setChecked(true);
    m_regions->button(m_storedRegion)->setChecked(true);
    m_showHelp->setChecked(!m_settings.hideExportHelp());
}

void ExportInfoDialog::radWorldClick() {
    const int region = selectedRegion();
    const QStringList sites = sitelist::SiteList(m_siteListFile).siteNames(region);
    {
        const QSignalBlocker quiet(m_sites);
        m_sites->clear();
        m_sites->addItems(sites);
        const int wanted = region == m_storedRegion ? m_storedSiteIndex : 0;
        m_sites->setCurrentIndex(sitelist::clampSiteIndex(wanted, int(sites.size())));
    }
    coxAuctionSitesSelect();
}

void ExportInfoDialog::coxAuctionSitesSelect() {
    const int index = m_sites->currentIndex();
    showSiteInCaption();
    if (index < 0) {
        // A region without sites: nothing to publish to.
        m_siteUrl.clear();
        return;
    }
    m_storedSiteIndex = index;
    const QString name = m_sites->currentText();
    m_siteUrl = sitelist::SiteList(m_siteListFile).siteAddress(selectedRegion(), name);
}

void ExportInfoDialog::showSiteInCaption() {
    if (m_sites->currentIndex() < 0)
        setWindowTitle(uilanguage::text("T_frmExportInfo", "T_frmExportInfo", untitledCaption));
    else
        setWindowTitle(
            uilanguage::text("MESSAGES", "publishingTo", QStringLiteral("Publishing to : ")) +
            m_sites->currentText());
}

void ExportInfoDialog::radBrowserChoiceClick() {
    // The other browser has not opened the site yet.
    m_lastOpenedUrl.clear();
}

void ExportInfoDialog::cbxShowExportHelpClick() {
    const bool hide = !m_showHelp->isChecked();
    SettingsFile(m_settingsFile).writeBool(SettingKey::hideExportHlp, hide);
    m_settings.setHideExportHelp(hide);
}

void ExportInfoDialog::btnPublishNowClick() {
    if (m_sites->currentIndex() < 0) {
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "noSiteInRegion",
                                               QStringLiteral("There is no auction site in this "
                                                              "region: add one, or choose another "
                                                              "region.")),
                              UserDialogs::Icon::Information, windowTitle());
        return;
    }
    // The list may have been edited by hand: only a web page is ever opened.
    const QString problem = sitelist::addressProblem(m_siteUrl);
    if (!problem.isEmpty()) {
        m_dialogs.showMessage(
            uilanguage::text("MESSAGES", "cannotOpenSite", QStringLiteral("Cannot open \"%1\": %2"))
                .arg(m_sites->currentText(), problem),
            UserDialogs::Icon::Warning, windowTitle());
        return;
    }

    rememberChoice();

    const bool external = m_browsers->checkedId() == DefaultBrowser;
    m_target.showPublishPage(external);
    if (m_siteUrl != m_lastOpenedUrl) {
        if (!external) {
            m_target.openInInternalBrowser(QUrl(m_siteUrl));
            m_lastOpenedUrl = m_siteUrl;
        } else if (m_dialogs.openUrl(QUrl(m_siteUrl))) {
            m_lastOpenedUrl = m_siteUrl;
        } else {
            // Not remembered: the next "Post Listing now" tries again.
            m_dialogs.showMessage(uilanguage::text("MESSAGES", "webBrowserError",
                                                   QStringLiteral("Web Browser Error!")),
                                  UserDialogs::Icon::Error);
        }
    }
    if (!m_settings.hideExportHelp())
        m_target.showPublishHelp();
    done(QDialog::Accepted);
}

void ExportInfoDialog::rememberChoice() {
    try {
        SettingsFile::Edit stored = SettingsFile(m_settingsFile).edit();
        stored.writeInt(SettingKey::region, selectedRegion());
        stored.writeInt(SettingKey::siteIndex, m_sites->currentIndex());
        stored.writeInt(SettingKey::useBrowser, m_browsers->checkedId());
        stored.commit();
    } catch (const AppError& error) {
        // Only the next showing's preselection is lost: the listing still
        // goes out.
        m_dialogs.showMessage(
            uilanguage::text("MESSAGES", "siteChoiceNotStored",
                             QStringLiteral("The chosen site could not be remembered for the "
                                            "next time; it opens all the same.\n\n%1"))
                .arg(error.message()),
            UserDialogs::Icon::Warning, windowTitle());
    }
}

void ExportInfoDialog::btnCancelPublishClick() {
    // Closed first, so that the dialog is gone whatever the main window does.
    done(QDialog::Rejected);
    m_target.cancelPublishing();
}

void ExportInfoDialog::reject() {
    runCommand(m_dialogs, [this] { btnCancelPublishClick(); });
}

void ExportInfoDialog::lblAddSiteClick() {
    if (m_addSite.showForRegion(selectedRegion()) == QDialog::Accepted)
        radWorldClick();
}

void ExportInfoDialog::lblEditSitesClick() {
    if (m_sites->currentIndex() < 0) {
        m_dialogs.beep();
        return;
    }
    if (m_editSite.showForSite(selectedRegion(), m_sites->currentText(), m_siteUrl) !=
        QDialog::Accepted)
        return;
    switch (m_editSite.outcome()) {
    case EditSiteDialog::Outcome::Deleted:
        m_storedSiteIndex = 0;
        radWorldClick();
        break;
    case EditSiteDialog::Outcome::Saved: {
        radWorldClick();
        // The edited site moved to the end of the list: it stays the one
        // selected, rather than whichever site took its place.
        const int index = m_sites->findText(m_editSite.savedName());
        if (index >= 0)
            m_sites->setCurrentIndex(index);
        break;
    }
    case EditSiteDialog::Outcome::Unchanged:
        radWorldClick();
        break;
    }
}
