#include "settingsui/settingsdialog.h"

#include "layoutui/numberedit.h"
#include "layoutui/updown.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "settings/serveraddress.h"
#include "settings/servermirror.h"
#include "settings/settingsfile.h"
#include "ui/productwebsite.h"
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
    label->setStyleSheet(QStringLiteral("font-weight: bold; color: maroon;"));
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
    words->setStyleSheet(QStringLiteral("color: #b00020;"));
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

} // namespace

SettingsDialog::SettingsDialog(UserDialogs& dialogs, QString settingsFile, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_settingsFile(std::move(settingsFile)) {
    setObjectName(QStringLiteral("T_frmSettings"));
    setWindowTitle(QStringLiteral("Application settings"));
    // Left through "Save changes"; Esc discards the edits.
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
    m_pages->setTabVisible(TimerPage, false);
    m_pages->setCurrentIndex(ServersPage);
    auto* save = named(new QPushButton(QStringLiteral("Save changes")), "btnSettingsSave");
    save->setDefault(true);
    connectCommand(save, &QPushButton::clicked, this, m_dialogs,
                   [this] { btnSettingsSaveClick(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(save, 0, Qt::AlignRight);
    readSettingsFile();
    fitAndCentreWhenFirstShown(*this);
}

void SettingsDialog::fillServersPage(QWidget* page) {
    auto* grid = new QGridLayout(page);
    grid->addWidget(
        heading("lblInfoServer1",
                QStringLiteral("Select Vantrel Server for Layout images (any will do)")),
        0, 0, 1, 3);
    grid->addWidget(named(new QLabel(QStringLiteral("Select server(s)")), "lblDefaultServer"), 1,
                    2);
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
        grid->addWidget(fieldLabel(productLabels[i], field), 2 + i, 0);
        grid->addWidget(field, 2 + i, 1);
        grid->addWidget(addRadio(m_defaultServers, productRadios[i], QString(), i + 1), 2 + i, 2);
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
    grid->addWidget(createServerSetGroup(page), 11, 0, 1, 3);
    auto* help = named(
        new QLabel(QStringLiteral("<a href=\"#\" style=\"color:blue\">Access Online Help</a>")),
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
    auto* disclaimer = named(new QLabel(QStringLiteral("NOTE : Success is dependant on your "
                                                       "internal proxy settings and is not "
                                                       "garanteed.")),
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
    layout->addStretch();
    return page;
}

void SettingsDialog::showProxyPanel() {
    m_proxyPanel->setVisible(m_connection->checkedId() == 1);
}

void SettingsDialog::readSettingsFile() {
    try {
        showSettings(SettingsFile(m_settingsFile));
    } catch (const AppError&) {
        // Made before the main window shows, which reports the file at its
        // first activation: the dialog shows every key's default meanwhile
        // (a file without a name reads as a missing one).
        showSettings(SettingsFile(QString()));
    }
}

void SettingsDialog::showSettings(const SettingsFile& file) {
    selectTag(m_defaultServers, file.readInt(SettingKey::DefSrv));
    selectTag(m_ownServers, file.readInt(SettingKey::ownSrv));
    m_useOwnServer->setChecked(file.readBool(SettingKey::useOwnSrv));
    showServers(file.readString(SettingKey::primSrv), file.readString(SettingKey::secSrv));
    // A stored interval that is no number shows as it is on its hidden page.
    m_refreshInterval->setText(file.readString(SettingKey::refreshInterval));
    selectTag(m_connection, file.readInt(SettingKey::connType) == 1 ? 1 : 0);
    showProxyPanel();
    m_proxyHost->setText(file.readString(SettingKey::httpProxy));
    m_proxyPort->setText(file.readString(SettingKey::httpPort));
    m_hideImageDialog->setChecked(file.readBool(SettingKey::hideInsertPic));
    m_hideLinkDialog->setChecked(file.readBool(SettingKey::hideInsertLink));
    m_hideExportHelp->setChecked(file.readBool(SettingKey::hideExportHlp));
    m_linksTarget->setChecked(file.readBool(SettingKey::linksInNewWin));
}

void SettingsDialog::showServers(const QString& primary, const QString& secondary) {
    m_primaryServer->setText(shownServer(primary));
    m_secondaryServer->setText(shownServer(secondary));
}

void SettingsDialog::mirrorServerSettings(const ServerMirror& mirror) {
    selectTag(m_defaultServers, mirror.DefaultServer);
    selectTag(m_ownServers, mirror.OwnServer);
    if (mirror.UseOwnServer)
        m_useOwnServer->setChecked(true);
    m_hideExportHelp->setChecked(mirror.HideExportHelp);
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
    if (!checkFields(primary, secondary))
        return;
    SettingsFile file(m_settingsFile);
    SettingsFile::Edit edit = file.edit();
    edit.writeInt(SettingKey::DefSrv, defaultServer());
    edit.writeInt(SettingKey::ownSrv, ownServer());
    edit.writeBool(SettingKey::useOwnSrv, m_useOwnServer->isChecked());
    edit.writeString(SettingKey::srvSet, QString::number(m_serverSetIndex));
    edit.writeString(SettingKey::primSrv, primary);
    edit.writeString(SettingKey::secSrv, secondary);
    edit.writeInt(SettingKey::connType, m_connection->checkedId() == 1 ? 1 : 0);
    edit.writeString(SettingKey::refreshInterval, m_refreshInterval->text());
    edit.writeString(SettingKey::httpProxy, m_proxyHost->text().trimmed());
    edit.writeString(SettingKey::httpPort, m_proxyPort->text().trimmed());
    edit.writeBool(SettingKey::hideInsertPic, m_hideImageDialog->isChecked());
    edit.writeBool(SettingKey::hideInsertLink, m_hideLinkDialog->isChecked());
    edit.writeBool(SettingKey::linksInNewWin, m_linksTarget->isChecked());
    edit.writeBool(SettingKey::hideExportHlp, m_hideExportHelp->isChecked());
    edit.commit();
    showServers(primary, secondary);
    accept();
    emit saved();
}

void SettingsDialog::reject() {
    // The edits are dropped: the next opening shows what is stored.
    readSettingsFile();
    QDialog::reject();
}

int SettingsDialog::defaultServer() const {
    return m_defaultServers->checkedId() < 0 ? 1 : m_defaultServers->checkedId();
}

int SettingsDialog::ownServer() const {
    return m_ownServers->checkedId() < 0 ? 1 : m_ownServers->checkedId();
}

QString SettingsDialog::primaryServer() const {
    return serveraddress::fromTyped(m_primaryServer->text()).value_or(QString());
}

QString SettingsDialog::secondaryServer() const {
    return serveraddress::fromTyped(m_secondaryServer->text()).value_or(QString());
}

bool SettingsDialog::useOwnServer() const {
    return m_useOwnServer->isChecked();
}

bool SettingsDialog::linksInNewWindow() const {
    return m_linksTarget->isChecked();
}

bool SettingsDialog::hideExportHelp() const {
    return m_hideExportHelp->isChecked();
}

void SettingsDialog::setHideExportHelp(bool hide) {
    m_hideExportHelp->setChecked(hide);
}

bool SettingsDialog::hideInsertPicture() const {
    return m_hideImageDialog->isChecked();
}

void SettingsDialog::setHideInsertPicture(bool hide) {
    m_hideImageDialog->setChecked(hide);
}

bool SettingsDialog::hideInsertLink() const {
    return m_hideLinkDialog->isChecked();
}

void SettingsDialog::setHideInsertLink(bool hide) {
    m_hideLinkDialog->setChecked(hide);
}

bool SettingsDialog::hideCheckImage() const {
    return m_hideCheckImage->isChecked();
}

void SettingsDialog::setHideCheckImage(bool hide) {
    m_hideCheckImage->setChecked(hide);
}
