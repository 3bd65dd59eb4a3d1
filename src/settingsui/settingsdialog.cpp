#include "settingsui/settingsdialog.h"

#include "listing/serverlist.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "settings/serveraddress.h"
#include "settings/settings.h"
#include "settingsui/uploadsettingspage.h"
#include "ui/numberedit.h"
#include "ui/productwebsite.h"
#include "ui/themecolors.h"
#include "ui/updown.h"
#include "ui/userdialogs.h"
#include "ui/windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

enum Page { ServersPage, TimerPage, ProxyPage, OthersPage };

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QRadioButton* addRadio(QButtonGroup* group, const char* name, const QString& caption, int tag) {
    auto* button = named(new QRadioButton(caption), name);
    group->addButton(button, tag);
    return button;
}

QCheckBox* addCheckBox(QBoxLayout* layout, const char* name, const QString& caption) {
    auto* box = named(new QCheckBox(caption), name);
    layout->addWidget(box);
    return box;
}

/// The label that names an edit field (the language files reach it by its field).
QLabel* fieldLabel(const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

QLabel* heading(const char* name, const QString& text) {
    auto* label = named(new QLabel(text), name);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(
        QStringLiteral("font-weight: bold; color: %1;")
            .arg(themecolors::styleColor(QStringLiteral("maroon"), label->palette())));
    return label;
}

bool isInsecure(const QLineEdit* server) {
    return server->text().trimmed().startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
}

/// The warning under the personal servers, shown while one of them is an
/// http:// address; its link turns those addresses into https://. Its line
/// is kept when hidden, so the dialog does not jump while the seller types.
/// The words and the link are two labels, so each is one text to translate.
QWidget* insecureServerWarning(QLineEdit* primary, QLineEdit* secondary) {
    auto* warning = named(new QWidget, "pnlServerInsecure");
    auto* words = named(new QLabel(QStringLiteral("http:// is not secure: marketplaces "
                                                  "show only a snippet of such listings.")),
                        "lblServerInsecure");
    words->setTextFormat(Qt::PlainText);
    words->setStyleSheet(
        QStringLiteral("color: %1;")
            .arg(themecolors::styleColor(QStringLiteral("#b00020"), words->palette())));
    auto* useHttps =
        named(new QLabel(QStringLiteral("<a href=\"https\">Use https://</a>")), "lblUseHttps");
    auto* line = new QHBoxLayout(warning);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(words);
    line->addWidget(useHttps);
    line->addStretch();
    QSizePolicy policy = warning->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    warning->setSizePolicy(policy);
    warning->hide();
    const auto show = [warning, primary, secondary] {
        warning->setVisible(isInsecure(primary) || isInsecure(secondary));
    };
    for (QLineEdit* server : {primary, secondary}) {
        QObject::connect(server, &QLineEdit::textChanged, warning, show);
    }
    QObject::connect(useHttps, &QLabel::linkActivated, warning, [primary, secondary] {
        for (QLineEdit* server : {primary, secondary}) {
            if (isInsecure(server))
                server->setText(QStringLiteral("https") + server->text().trimmed().mid(4));
        }
    });
    return warning;
}

void selectTag(QButtonGroup* group, int tag) {
    if (QAbstractButton* button = group->button(tag))
        button->setChecked(true);
}

const QString primaryPlaceholder = QStringLiteral("Your primary server");
const QString secondaryPlaceholder = QStringLiteral("Your secondary server");

/// A stored personal server as the field shows it: empty when not set.
QString shownServer(const QString& stored) {
    return serveraddress::fromTyped(stored).value_or(stored);
}

/// The personal server a field's text means: empty when not set or not valid.
QString personalServer(const QString& text) {
    return serveraddress::fromTyped(text).value_or(QString());
}

/// The keys "Save changes" writes, in this order.
const QList<SettingKey> savedKeys = {
    SettingKey::DefSrv,        SettingKey::ownSrv,          SettingKey::useOwnSrv,
    SettingKey::srvSet,        SettingKey::primSrv,         SettingKey::secSrv,
    SettingKey::connType,      SettingKey::refreshInterval, SettingKey::httpProxy,
    SettingKey::httpPort,      SettingKey::hideInsertPic,   SettingKey::hideInsertLink,
    SettingKey::linksInNewWin, SettingKey::hideExportHlp,   SettingKey::watchAtStart,
};

std::unique_ptr<Settings> loadedSettings(QString fileName) {
    auto settings = std::make_unique<Settings>(std::move(fileName));
    // Made before the main window shows, which reports the file at its first
    // activation: the dialog shows every key's default meanwhile.
    (void)settings->load();
    return settings;
}

} // namespace

SettingsDialog::SettingsDialog(UserDialogs& dialogs, QString settingsFile, QWidget* parent)
    : SettingsDialog(dialogs, loadedSettings(std::move(settingsFile)), parent) {}

SettingsDialog::SettingsDialog(UserDialogs& dialogs, std::unique_ptr<Settings> own, QWidget* parent)
    : SettingsDialog(dialogs, *own, parent) {
    m_ownSettings = std::move(own);
}

SettingsDialog::~SettingsDialog() = default;

SettingsDialog::SettingsDialog(UserDialogs& dialogs, Settings& settings, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_settings(settings) {
    setObjectName(QStringLiteral("T_frmSettings"));
    setWindowTitle(QStringLiteral("Application settings"));
    // Left through "Save changes"; Cancel and Esc discard the edits.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_pages = named(new QTabWidget(this), "pgcSettings");
    // The first page added becomes the current one and is polished and laid
    // out at once: it is added empty and filled afterwards, so that this
    // waits for the dialog's first showing.
    auto* servers = named(new QWidget, "tabServers");
    m_pages->addTab(servers, QStringLiteral("Image Servers"));
    fillServersPage(servers);
    m_pages->addTab(createTimerPage(), QStringLiteral("Refresh Layout timer"));
    m_pages->addTab(createProxyPage(), QStringLiteral("Connection type"));
    m_pages->addTab(createOthersPage(), QStringLiteral("Dialogs && Popups"));
    m_upload = new UploadSettingsPage(m_dialogs, m_settings);
    m_pages->addTab(m_upload, QStringLiteral("Upload"));
    m_pages->setTabVisible(TimerPage, false);
    m_pages->setCurrentIndex(ServersPage);
    auto* save = named(new QPushButton(QStringLiteral("Save changes")), "btnSettingsSave");
    save->setDefault(true);
    connectCommand(save, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnSettingsSaveClick(); });
    // The title bar has no close box: the way out without saving is visible.
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel")), "btnSettingsCancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    showSettings();
    connectChoices();
    connect(&m_settings, &Settings::changed, this,
            [this](const QList<SettingKey>& keys) { showSettings(keys); });
    fitAndCentreWhenFirstShown(*this);
}

void SettingsDialog::fillServersPage(QWidget* page) {
    auto* grid = new QGridLayout(page);
    // Shown only when the build names real product servers; otherwise every
    // picture goes to the personal server and there is nothing to choose.
    QList<QWidget*> productParts;
    productParts.append(heading(
        "lblInfoServer1", QStringLiteral("Select Vantrel Server for Layout images (any will do)")));
    grid->addWidget(productParts.last(), 0, 0, 1, 3);
    productParts.append(named(new QLabel(QStringLiteral("Select server(s)")), "lblDefaultServer"));
    grid->addWidget(productParts.last(), 1, 2);
    m_defaultServers = new QButtonGroup(page);
    const char* productFields[] = {"edtServer1", "edtServer2", "edtServer3"};
    const char* productRadios[] = {"radServer1", "radServer2", "radServer3"};
    const QString productLabels[] = {QStringLiteral("Vantrel default"),
                                     QStringLiteral("Vantrel alt. 1"),
                                     QStringLiteral("Vantrel alt. 2")};
    for (int i = 0; i < 3; ++i) {
        auto* field = named(new QLineEdit(QStringLiteral("... set internally (read only)")),
                            productFields[i]);
        field->setReadOnly(true);
        auto* label = fieldLabel(productLabels[i], field);
        auto* radio = addRadio(m_defaultServers, productRadios[i], QString(), i + 1);
        grid->addWidget(label, 2 + i, 0);
        grid->addWidget(field, 2 + i, 1);
        grid->addWidget(radio, 2 + i, 2);
        productParts << label << field << radio;
    }
    grid->addWidget(heading("lblInfoServer2",
                            QStringLiteral("Select Server for Document images (a must when using "
                                           "own images in Doc.)")),
                    5, 0, 1, 3);
    m_ownServers = new QButtonGroup(page);
    m_primaryServer = named(new QLineEdit, "edtServer4");
    m_primaryServer->setPlaceholderText(primaryPlaceholder);
    m_secondaryServer = named(new QLineEdit, "edtServer5");
    m_secondaryServer->setPlaceholderText(secondaryPlaceholder);
    grid->addWidget(fieldLabel(QStringLiteral("* Personal image server"), m_primaryServer), 6, 0);
    grid->addWidget(m_primaryServer, 6, 1);
    grid->addWidget(addRadio(m_ownServers, "radServer4", QString(), 1), 6, 2);
    grid->addWidget(fieldLabel(QStringLiteral("* Personal secondary server"), m_secondaryServer), 7,
                    0);
    grid->addWidget(m_secondaryServer, 7, 1);
    grid->addWidget(addRadio(m_ownServers, "radServer5", QString(), 2), 7, 2);
    grid->addWidget(insecureServerWarning(m_primaryServer, m_secondaryServer), 8, 0, 1, 3);
    auto* example = named(
        new QLabel(QStringLiteral("Example: https://www.example.com/my-pictures/  (a folder on "
                                  "your own web server, ending in \"/\")")),
        "lblServerExample");
    example->setTextFormat(Qt::PlainText);
    grid->addWidget(example, 9, 0, 1, 3);
    m_useOwnServer =
        named(new QCheckBox(QStringLiteral("Use personal server for Document && Layout images")),
              "cbxUseOwnServer");
    grid->addWidget(m_useOwnServer, 10, 0, 1, 3);
    productParts.append(m_useOwnServer);
    if (!serverlist::productServersOffered()) {
        for (QWidget* part : productParts)
            part->hide();
    }
    grid->addWidget(createServerSetGroup(page), 11, 0, 1, 3);
    auto* help =
        named(new QLabel(QStringLiteral("<a href=\"#\" style=\"color:%1\">Access Online Help</a>")
                             .arg(themecolors::styleColor(QStringLiteral("blue"), palette()))),
              "Label1");
    help->setCursor(Qt::PointingHandCursor);
    connect(help, &QLabel::linkActivated, this, [this] {
        openWebPage(m_dialogs, productWebPage(QStringLiteral("/support.html#DefiningServer")));
    });
    grid->addWidget(help, 12, 0, 1, 3);
    grid->setRowStretch(13, 1);
}

QGroupBox* SettingsDialog::createServerSetGroup(QWidget* parent) {
    auto* group = named(new QGroupBox(QStringLiteral(" Server set "), parent), "radServerSet");
    auto* layout = new QHBoxLayout(group);
    m_serverSets = new QButtonGroup(group);
    for (int index = 0; index < 4; ++index) {
        const QByteArray name = "radServerSet" + QByteArray::number(index);
        layout->addWidget(addRadio(m_serverSets, name.constData(), QString::number(index), index));
    }
    m_serverSets->button(0)->setChecked(true);
    // It only carries the set between the settings file and Save.
    group->hide();
    return group;
}

QWidget* SettingsDialog::createTimerPage() {
    auto* page = named(new QWidget, "tabTimer");
    auto* row = new QHBoxLayout(page);
    row->addWidget(new QLabel(QStringLiteral("Refresh rate ")));
    m_refreshInterval = named(new NumberEdit(3, page), "lblRefreshTimer");
    row->addWidget(m_refreshInterval);
    m_refreshUpDown = named(new UpDown(m_refreshInterval, 100, 990, page), "UpDown1");
    row->addWidget(m_refreshUpDown);
    row->addStretch();
    return page;
}

QWidget* SettingsDialog::createProxyPage() {
    auto* page = named(new QWidget, "tabProxy");
    auto* column = new QVBoxLayout(page);
    auto* connection = named(
        new QGroupBox(QStringLiteral(" How do you connect to the Internet ? ")), "ragConnection");
    auto* choices = new QVBoxLayout(connection);
    m_connection = new QButtonGroup(connection);
    choices->addWidget(
        addRadio(m_connection, "radDirect",
                 QStringLiteral("I have a direct connection (cable, ADSL, DSL, modem etc.)"), 0));
    choices->addWidget(
        addRadio(m_connection, "radProxy", QStringLiteral("I am behind a proxy"), 1));
    m_connection->button(0)->setChecked(true);
    connect(m_connection, &QButtonGroup::idToggled, this, [this] { showProxyPanel(); });
    column->addWidget(connection);

    m_proxyPanel = named(new QGroupBox(QStringLiteral(" Proxy settings ")), "pnlProxy");
    auto* fields = new QGridLayout(m_proxyPanel);
    m_proxyHost = named(new QLineEdit, "lblProxy");
    m_proxyPort = named(new QLineEdit, "lblProxyPort");
    m_proxyPort->setPlaceholderText(QStringLiteral("80"));
    fields->addWidget(new QLabel(QStringLiteral("HTTP Proxy ")), 0, 0);
    fields->addWidget(m_proxyHost, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Port ")), 1, 0);
    fields->addWidget(m_proxyPort, 1, 1);
    auto* disclaimer = named(new QLabel(QStringLiteral("NOTE : Success is dependent on your "
                                                       "internal proxy settings and is not "
                                                       "guaranteed.")),
                             "lblProxyDisclaim");
    disclaimer->setWordWrap(true);
    fields->addWidget(disclaimer, 2, 0, 1, 2);
    m_proxyPanel->hide();
    column->addWidget(m_proxyPanel);
    column->addStretch();
    return page;
}

QWidget* SettingsDialog::createOthersPage() {
    auto* page = named(new QWidget, "tabOthers");
    auto* layout = new QVBoxLayout(page);
    m_hideImageDialog =
        addCheckBox(layout, "cbxHideImageDlg",
                    QStringLiteral("Hide 'Use own images in Documents or Layouts' dialog "));
    m_hideLinkDialog = addCheckBox(layout, "cbxHideLinkDlg",
                                   QStringLiteral("Hide 'Insert Hyperlink in Document' dialog"));
    m_hideExportHelp =
        addCheckBox(layout, "cbxHideExportHelp", QStringLiteral("Hide 'Publish Help' window"));
    m_hideCheckImage = addCheckBox(
        layout, "cbxHideCheckImage",
        QStringLiteral("Hide 'Check Image Availability' dialog (only valid for current session)"));
    connect(m_hideCheckImage, &QCheckBox::clicked, this, &SettingsDialog::hideCheckImageClicked);
    m_linksTarget = addCheckBox(
        layout, "cbxLinksTarget",
        QStringLiteral("Open all links in new browser window (required by most Auctions sites)"));
    m_watchAtStart = addCheckBox(
        layout, "cbxWatchAtStart",
        QStringLiteral("Check the pictures of published listings at start-up (once a day)"));
    layout->addStretch();
    return page;
}

void SettingsDialog::showProxyPanel() {
    m_proxyPanel->setVisible(m_connection->checkedId() == 1);
}

void SettingsDialog::showSettings() {
    QList<SettingKey> keys;
    for (int key = 0; key < settingKeyCount; ++key)
        keys.append(static_cast<SettingKey>(key));
    showSettings(keys);
    const QScopedValueRollback showing(m_showing, true);
    m_hideCheckImage->setChecked(m_settings.hideCheckImage());
}

void SettingsDialog::showSettings(const QList<SettingKey>& keys) {
    // The dialog's own choices are on show already, as the seller made them.
    if (m_showing)
        return;
    const QScopedValueRollback showing(m_showing, true);
    for (SettingKey key : keys)
        showSetting(key);
}

void SettingsDialog::showSetting(SettingKey key) {
    QCheckBox* box = nullptr;
    switch (key) {
    case SettingKey::DefSrv:
        selectTag(m_defaultServers, m_settings.integer(key));
        return;
    case SettingKey::ownSrv:
        selectTag(m_ownServers, m_settings.integer(key));
        return;
    case SettingKey::primSrv:
        m_primaryServer->setText(shownServer(m_settings.text(key)));
        return;
    case SettingKey::secSrv:
        m_secondaryServer->setText(shownServer(m_settings.text(key)));
        return;
    case SettingKey::connType:
        selectTag(m_connection, m_settings.integer(key) == 1 ? 1 : 0);
        showProxyPanel();
        return;
    case SettingKey::refreshInterval:
        // A stored interval that is no number shows as it is on its hidden page.
        m_refreshInterval->setText(m_settings.text(key));
        return;
    case SettingKey::httpProxy:
        m_proxyHost->setText(m_settings.text(key));
        return;
    case SettingKey::httpPort:
        m_proxyPort->setText(m_settings.text(key));
        return;
    case SettingKey::useOwnSrv:
        box = m_useOwnServer;
        break;
    case SettingKey::hideInsertPic:
        box = m_hideImageDialog;
        break;
    case SettingKey::hideInsertLink:
        box = m_hideLinkDialog;
        break;
    case SettingKey::hideExportHlp:
        box = m_hideExportHelp;
        break;
    case SettingKey::linksInNewWin:
        box = m_linksTarget;
        break;
    case SettingKey::watchAtStart:
        box = m_watchAtStart;
        break;
    default: // kept by other windows, or carried as the main window sets it
        return;
    }
    box->setChecked(m_settings.flag(key));
}

void SettingsDialog::connectChoices() {
    const struct {
        QButtonGroup* group;
        SettingKey key;
    } groups[] = {{m_defaultServers, SettingKey::DefSrv},
                  {m_ownServers, SettingKey::ownSrv},
                  {m_connection, SettingKey::connType}};
    for (const auto& radios : groups) {
        connect(radios.group, &QButtonGroup::idToggled, this,
                [this, key = radios.key](int tag, bool checked) {
                    if (checked)
                        choose(key, tag);
                });
    }
    const struct {
        QCheckBox* box;
        SettingKey key;
    } boxes[] = {{m_useOwnServer, SettingKey::useOwnSrv},
                 {m_hideImageDialog, SettingKey::hideInsertPic},
                 {m_hideLinkDialog, SettingKey::hideInsertLink},
                 {m_hideExportHelp, SettingKey::hideExportHlp},
                 {m_linksTarget, SettingKey::linksInNewWin},
                 {m_watchAtStart, SettingKey::watchAtStart}};
    for (const auto& choice : boxes) {
        connect(choice.box, &QCheckBox::toggled, this,
                [this, key = choice.key](bool checked) { choose(key, checked); });
    }
    const struct {
        QLineEdit* field;
        SettingKey key;
    } fields[] = {{m_refreshInterval, SettingKey::refreshInterval},
                  {m_proxyHost, SettingKey::httpProxy},
                  {m_proxyPort, SettingKey::httpPort}};
    for (const auto& field : fields) {
        connect(field.field, &QLineEdit::textChanged, this,
                [this, key = field.key](const QString& text) { choose(key, text); });
    }
    connect(m_primaryServer, &QLineEdit::textChanged, this,
            [this](const QString& text) { choosePersonalServer(SettingKey::primSrv, text); });
    connect(m_secondaryServer, &QLineEdit::textChanged, this,
            [this](const QString& text) { choosePersonalServer(SettingKey::secSrv, text); });
    connect(m_hideCheckImage, &QCheckBox::toggled, this, [this](bool checked) {
        if (!m_showing)
            m_settings.setHideCheckImage(checked);
    });
}

void SettingsDialog::choose(SettingKey key, const QVariant& value) {
    if (m_showing)
        return;
    const QScopedValueRollback showing(m_showing, true);
    m_settings.setValue(key, value);
}

void SettingsDialog::choosePersonalServer(SettingKey key, const QString& typed) {
    // While the text means the server the settings hold, they keep it as
    // they hold it (an old placeholder stays until saved).
    const QString address = personalServer(typed);
    if (address != personalServer(m_settings.text(key)))
        choose(key, address);
}

void SettingsDialog::showServers(const QString& primary, const QString& secondary) {
    const QScopedValueRollback showing(m_showing, true);
    m_primaryServer->setText(shownServer(primary));
    m_secondaryServer->setText(shownServer(secondary));
}

void SettingsDialog::setServerSetIndex(int index) {
    m_serverSetIndex = index;
    if (QAbstractButton* button = m_serverSets->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item for this set: none of them stays selected.
    m_serverSets->setExclusive(false);
    for (QAbstractButton* button : m_serverSets->buttons())
        button->setChecked(false);
    m_serverSets->setExclusive(true);
}

bool SettingsDialog::checkFields(QString& primary, QString& secondary) {
    const auto refuse = [this](int page, QWidget* field, const QString& message) {
        m_pages->setCurrentIndex(page);
        field->setFocus();
        m_dialogs.showMessage(message, UserDialogs::Icon::Warning, windowTitle());
        return false;
    };
    const struct {
        QLineEdit* field;
        QString name;
        QString* address;
    } servers[] = {
        {m_primaryServer,
         uilanguage::text("MESSAGES", "primaryServerName", QStringLiteral("Personal image server")),
         &primary},
        {m_secondaryServer,
         uilanguage::text("MESSAGES", "secondaryServerName",
                          QStringLiteral("Personal secondary server")),
         &secondary}};
    for (const auto& server : servers) {
        const std::optional<QString> address = serveraddress::fromTyped(server.field->text());
        if (!address)
            return refuse(
                ServersPage, server.field,
                uilanguage::text(
                    "MESSAGES", "serverAddressInvalid",
                    QStringLiteral("\"%1\": give the full address of a folder on your web "
                                   "server, starting with https:// (or http://), or leave the "
                                   "field empty."))
                    .arg(server.name));
        *server.address = *address;
    }
    if (m_connection->checkedId() == 1) {
        if (m_proxyHost->text().trimmed().isEmpty())
            return refuse(
                ProxyPage, m_proxyHost,
                uilanguage::text(
                    "MESSAGES", "proxyHostMissing",
                    QStringLiteral("\"HTTP Proxy\": give the name or address of your proxy.")));
        bool isNumber = true;
        const QString port = m_proxyPort->text().trimmed();
        const int number = port.isEmpty() ? 80 : port.toInt(&isNumber);
        if (!isNumber || number < 1 || number > 65535)
            return refuse(ProxyPage, m_proxyPort,
                          uilanguage::text(
                              "MESSAGES", "proxyPortInvalid",
                              QStringLiteral("\"Port\": give a number from 1 to 65535, or leave it "
                                             "empty for 80.")));
    }
    return true;
}

void SettingsDialog::btnSettingsSaveClick() {
    QString primary;
    QString secondary;
    if (!checkFields(primary, secondary) ||
        !m_upload->checkFields([this] { m_pages->setCurrentWidget(m_upload); }))
        return;
    // The fields' values as they are stored; the other controls' choices
    // are the settings' values already.
    choose(SettingKey::srvSet, QString::number(m_serverSetIndex));
    choose(SettingKey::primSrv, primary);
    choose(SettingKey::secSrv, secondary);
    choose(SettingKey::refreshInterval, m_refreshInterval->text());
    choose(SettingKey::httpProxy, m_proxyHost->text().trimmed());
    choose(SettingKey::httpPort, m_proxyPort->text().trimmed());
    // The password first: when the secret store cannot keep it, nothing is
    // written and the seller can decide.
    const Status passwordKept = m_upload->savePassword();
    if (!passwordKept) {
        m_pages->setCurrentWidget(m_upload);
        m_dialogs.showError(passwordKept.error());
        return;
    }
    const Status written = m_settings.save(savedKeys + UploadSettingsPage::savedKeys());
    if (!written) {
        m_dialogs.showError(written.error());
        return;
    }
    showServers(primary, secondary);
    accept();
    emit saved();
}

void SettingsDialog::reject() {
    // The choices not saved are dropped: the next opening shows what is
    // stored, also when another run of the program stored it meanwhile (a
    // file that cannot be read is named at the main window's activation).
    m_settings.discardUnsaved();
    (void)m_settings.reloadIfChanged();
    showSettings();
    m_upload->discard();
    QDialog::reject();
}

int SettingsDialog::defaultServer() const {
    return m_settings.defaultServer();
}

int SettingsDialog::ownServer() const {
    return m_settings.ownServer();
}

QString SettingsDialog::primaryServer() const {
    return m_settings.primaryServer();
}

QString SettingsDialog::secondaryServer() const {
    return m_settings.secondaryServer();
}

bool SettingsDialog::useOwnServer() const {
    return m_settings.useOwnServer();
}

bool SettingsDialog::linksInNewWindow() const {
    return m_settings.linksInNewWindow();
}

QString SettingsDialog::proxyHost() const {
    return m_settings.proxyHost();
}

QString SettingsDialog::proxyPort() const {
    return m_settings.proxyPort();
}

bool SettingsDialog::hideExportHelp() const {
    return m_settings.hideExportHelp();
}

void SettingsDialog::setHideExportHelp(bool hide) {
    m_settings.setHideExportHelp(hide);
}

bool SettingsDialog::hideInsertPicture() const {
    return m_settings.hideInsertPicture();
}

void SettingsDialog::setHideInsertPicture(bool hide) {
    m_settings.setHideInsertPicture(hide);
}

bool SettingsDialog::hideInsertLink() const {
    return m_settings.hideInsertLink();
}

void SettingsDialog::setHideInsertLink(bool hide) {
    m_settings.setHideInsertLink(hide);
}

bool SettingsDialog::hideCheckImage() const {
    return m_settings.hideCheckImage();
}

void SettingsDialog::setHideCheckImage(bool hide) {
    m_hideCheckImage->setChecked(hide);
}
