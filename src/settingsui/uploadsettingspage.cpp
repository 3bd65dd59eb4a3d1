#include "settingsui/uploadsettingspage.h"

#include "http/secretstore.h"
#include "platform/uilanguage.h"
#include "publish/uploadsetup.h"
#include "settings/serveraddress.h"
#include "settings/settings.h"
#include "ui/numberedit.h"
#include "ui/servertrust.h"
#include "ui/themecolors.h"
#include "ui/userdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

// The protocols in the order of the upProto values.
enum Protocol { NoProtocol, Sftp, WebDav, Ftps, Ftp };

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* fieldLabel(const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

/// Warning words in dark red, lighter on a dark window.
QString warningStyle(const QString& more) {
    return QStringLiteral("color: %1;")
               .arg(themecolors::styleColor(QStringLiteral("#b00020"), QApplication::palette())) +
           more;
}

QLabel* noteLabel(const char* name, const QString& text, const QString& style) {
    auto* label = named(new QLabel(text), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setStyleSheet(style);
    return label;
}

/// A note shown only at times keeps its room while hidden: the dialog takes
/// its size once, and a note appearing later must not be squeezed.
void keepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->hide();
}

QString title() {
    return uilanguage::text("MESSAGES", "upPageTitle", QStringLiteral("Upload"));
}

} // namespace

UploadSettingsPage::UploadSettingsPage(UserDialogs& dialogs, Settings& settings, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_settings(settings) {
    setObjectName(QStringLiteral("tabUpload"));
    m_folders.SharedDataFolder =
        withTrailingSeparator(QFileInfo(settings.fileName()).absolutePath());
    m_openFolder = [](const UploadAccount& account) { return RemoteFolder::open(account); };

    m_protocol = named(new QComboBox, "cbxUpProto");
    m_protocol->addItems({QStringLiteral("None (pictures are not sent)"), QStringLiteral("SFTP"),
                          QStringLiteral("WebDAV over HTTPS"),
                          QStringLiteral("FTPS (FTP with TLS)"),
                          QStringLiteral("FTP (not encrypted)")});
    m_protocol->setProperty("translatableItems", true);
    m_host = named(new QLineEdit, "edtUpHost");
    m_host->setPlaceholderText(QStringLiteral("www.example.com"));
    m_port = named(new NumberEdit(5), "edtUpPort");
    m_port->setPlaceholderText(QStringLiteral("usual"));
    m_user = named(new QLineEdit, "edtUpUser");
    m_password = named(new QLineEdit, "edtUpPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_passwordStore = noteLabel("lblUpPasswordStore", QString(), warningStyle(QString()));
    // Room for two lines of the secret store's answer.
    m_passwordStore->setMinimumHeight(m_passwordStore->fontMetrics().lineSpacing() * 2);
    keepRoomWhenHidden(m_passwordStore);
    m_keyFile = named(new QLineEdit, "edtUpKey");
    m_keyFile->setPlaceholderText(QStringLiteral("~/.ssh/id_ed25519 (the SSH agent is tried too)"));
    m_browseKey = named(new QPushButton(QStringLiteral("Browse...")), "btnUpKeyBrowse");
    m_folderField = named(new QLineEdit, "edtUpFolder");
    m_folderField->setPlaceholderText(QStringLiteral("public_html/pictures"));
    m_publicAddress = named(new QLineEdit, "edtUpPublic");
    m_publicAddress->setPlaceholderText(QStringLiteral("https://www.example.com/pictures/"));
    m_maxSide = named(new NumberEdit(5), "edtUpMaxSide");
    m_ftpWarning = noteLabel(
        "lblUpFtpWarning",
        QStringLiteral("Plain FTP sends your password and pictures in clear: anyone on the way "
                       "can read them. Choose SFTP, WebDAV or FTPS if your server offers one."),
        warningStyle(QStringLiteral(" font-weight: bold;")));
    keepRoomWhenHidden(m_ftpWarning);
    m_test = named(new QPushButton(QStringLiteral("Test connection")), "btnUpTest");
    m_testing = named(new QLabel(QStringLiteral("Testing...")), "lblUpTesting");
    m_testing->hide();

    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(fieldLabel(caption, field), row, 0);
        grid->addWidget(field, row, 1, 1, extra ? 1 : 2);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
    };
    addRow(QStringLiteral("Send pictures by"), m_protocol);
    grid->addWidget(m_ftpWarning, row++, 1, 1, 2);
    addRow(QStringLiteral("Server"), m_host);
    addRow(QStringLiteral("Port (empty: usual)"), m_port);
    addRow(QStringLiteral("User name"), m_user);
    addRow(QStringLiteral("Password"), m_password);
    grid->addWidget(m_passwordStore, row++, 1, 1, 2);
    addRow(QStringLiteral("SFTP key file"), m_keyFile, m_browseKey);
    addRow(QStringLiteral("Folder on the server"), m_folderField);
    addRow(QStringLiteral("Its web address"), m_publicAddress);
    auto* publicNote = noteLabel(
        "lblUpPublicNote",
        QStringLiteral("The address at which this folder shows on the web: your personal image "
                       "server of the \"Image Servers\" page."),
        QString());
    grid->addWidget(publicNote, row++, 1, 1, 2);
    addRow(QStringLiteral("Largest picture side (pixels)"), m_maxSide);
    auto* testLine = new QHBoxLayout;
    testLine->addWidget(m_test);
    testLine->addWidget(m_testing);
    testLine->addStretch();
    grid->addLayout(testLine, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    showSettings({SettingKey::upProto, SettingKey::upHost, SettingKey::upPort, SettingKey::upUser,
                  SettingKey::upFolder, SettingKey::upKey, SettingKey::upMaxSide,
                  SettingKey::ownSrv});
    connectChoices();
    connect(&m_settings, &Settings::changed, this,
            [this](const QList<SettingKey>& keys) { showSettings(keys); });
    connect(m_browseKey, &QPushButton::clicked, this, [this] { browseKeyFile(); });
    connect(m_test, &QPushButton::clicked, this, [this] { btnUpTestClick(); });
}

UploadSettingsPage::~UploadSettingsPage() = default;

QList<SettingKey> UploadSettingsPage::savedKeys() {
    return {SettingKey::upProto,  SettingKey::upHost, SettingKey::upPort,   SettingKey::upUser,
            SettingKey::upFolder, SettingKey::upKey,  SettingKey::upMaxSide};
}

SettingKey UploadSettingsPage::publicAddressKey() const {
    return m_settings.ownServer() == 2 ? SettingKey::secSrv : SettingKey::primSrv;
}

void UploadSettingsPage::showSettings(const QList<SettingKey>& keys) {
    // The page's own choices are on show already, as the seller made them.
    if (m_showing)
        return;
    const QScopedValueRollback showing(m_showing, true);
    for (SettingKey key : keys) {
        switch (key) {
        case SettingKey::upProto:
            m_protocol->setCurrentIndex(m_settings.integer(key));
            showProtocolParts();
            break;
        case SettingKey::upHost:
            m_host->setText(m_settings.text(key));
            break;
        case SettingKey::upPort: {
            const int port = m_settings.integer(key);
            m_port->setText(port == 0 ? QString() : QString::number(port));
            break;
        }
        case SettingKey::upUser:
            m_user->setText(m_settings.text(key));
            break;
        case SettingKey::upFolder:
            m_folderField->setText(m_settings.text(key));
            break;
        case SettingKey::upKey:
            m_keyFile->setText(m_settings.text(key));
            break;
        case SettingKey::upMaxSide:
            m_maxSide->setText(QString::number(m_settings.integer(key)));
            break;
        case SettingKey::ownSrv:
        case SettingKey::primSrv:
        case SettingKey::secSrv: {
            const QString stored = m_settings.text(publicAddressKey());
            m_publicAddress->setText(serveraddress::fromTyped(stored).value_or(stored));
            break;
        }
        default:
            break;
        }
    }
}

void UploadSettingsPage::connectChoices() {
    connect(m_protocol, &QComboBox::currentIndexChanged, this, [this](int index) {
        showProtocolParts();
        choose(SettingKey::upProto, index);
    });
    const struct {
        QLineEdit* field;
        SettingKey key;
    } fields[] = {{m_host, SettingKey::upHost},
                  {m_user, SettingKey::upUser},
                  {m_folderField, SettingKey::upFolder},
                  {m_keyFile, SettingKey::upKey}};
    for (const auto& field : fields) {
        connect(field.field, &QLineEdit::textChanged, this,
                [this, key = field.key](const QString& text) { choose(key, text.trimmed()); });
    }
    // A number that is not whole yet (or out of range) waits for the check at
    // Save, which names it.
    connect(m_port, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool isNumber = false;
        const int port = text.trimmed().isEmpty() ? 0 : text.toInt(&isNumber);
        if ((isNumber || text.trimmed().isEmpty()) && port >= 0 && port <= 65535)
            choose(SettingKey::upPort, port);
    });
    connect(m_maxSide, &QLineEdit::textChanged, this, [this](const QString& text) {
        bool isNumber = false;
        const int side = text.toInt(&isNumber);
        if (isNumber && side >= 100 && side <= 20000)
            choose(SettingKey::upMaxSide, side);
    });
    connect(m_publicAddress, &QLineEdit::textChanged, this,
            [this](const QString& text) { choosePublicAddress(text); });
}

void UploadSettingsPage::choose(SettingKey key, const QVariant& value) {
    if (m_showing)
        return;
    const QScopedValueRollback showing(m_showing, true);
    m_settings.setValue(key, value);
}

void UploadSettingsPage::choosePublicAddress(const QString& typed) {
    // The same key the "Image Servers" page edits; while the text means the
    // address the settings hold, they keep it as they hold it.
    const SettingKey key = publicAddressKey();
    const QString address = serveraddress::fromTyped(typed).value_or(QString());
    if (address != serveraddress::fromTyped(m_settings.text(key)).value_or(QString()))
        choose(key, address);
}

void UploadSettingsPage::showProtocolParts() {
    const int protocol = m_protocol->currentIndex();
    m_ftpWarning->setVisible(protocol == Ftp);
    for (QWidget* part :
         std::initializer_list<QWidget*>{m_host, m_port, m_user, m_password, m_folderField, m_test})
        part->setEnabled(protocol != NoProtocol);
    m_keyFile->setEnabled(protocol == Sftp);
    m_browseKey->setEnabled(protocol == Sftp);
}

UploadAccount UploadSettingsPage::account() const {
    return uploadsetup::account(m_settings, m_folders);
}

void UploadSettingsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_passwordLoaded)
        loadPassword();
}

void UploadSettingsPage::loadPassword() {
    m_passwordLoaded = true;
    m_passwordStore->hide();
    m_storedPassword.clear();
    m_passwordKey.clear();
    m_password->clear();
    if (!uploadsetup::configured(m_settings))
        return;
    m_passwordKey = account().secretKey();
    const Result<QString> stored = secretstore::readPassword(m_passwordKey);
    if (!stored) {
        // Said on the page, not in a box: the seller may not want a password
        // kept at all (a key file, the SSH agent).
        m_passwordStore->setText(stored.error());
        m_passwordStore->show();
        return;
    }
    m_storedPassword = *stored;
    m_password->setText(m_storedPassword);
}

Status UploadSettingsPage::savePassword() {
    if (m_protocol->currentIndex() == NoProtocol || m_host->text().trimmed().isEmpty())
        return {};
    const QString key = account().secretKey();
    const QString typed = m_password->text();
    if (key == m_passwordKey && typed == m_storedPassword)
        return {};
    const Status saved =
        typed.isEmpty() ? secretstore::removePassword(key) : secretstore::writePassword(key, typed);
    if (!saved)
        return saved;
    m_passwordKey = key;
    m_storedPassword = typed;
    m_passwordStore->hide();
    return {};
}

void UploadSettingsPage::discard() {
    endTest();
    m_passwordLoaded = false;
    m_password->clear();
    m_passwordStore->hide();
}

bool UploadSettingsPage::checkFields(const std::function<void()>& showPage) {
    const auto refuse = [this, &showPage](QWidget* field, const QString& message) {
        showPage();
        field->setFocus();
        m_dialogs.showMessage(message, UserDialogs::Icon::Warning, title());
        return false;
    };
    if (m_protocol->currentIndex() == NoProtocol)
        return true;
    if (m_host->text().trimmed().isEmpty())
        return refuse(m_host, uilanguage::text("MESSAGES", "upPageHostMissing",
                                               QStringLiteral("\"Server\": give the name or "
                                                              "address of your server.")));
    bool isNumber = true;
    const QString port = m_port->text().trimmed();
    const int number = port.isEmpty() ? 0 : port.toInt(&isNumber);
    if (!isNumber || number < 0 || number > 65535)
        return refuse(m_port, uilanguage::text("MESSAGES", "upPagePortInvalid",
                                               QStringLiteral("\"Port\": give a number from 1 to "
                                                              "65535, or leave it empty for the "
                                                              "protocol's usual port.")));
    const int side = m_maxSide->text().trimmed().toInt(&isNumber);
    if (!isNumber || side < 100 || side > 20000)
        return refuse(m_maxSide,
                      uilanguage::text("MESSAGES", "upPageMaxSideInvalid",
                                       QStringLiteral("\"Largest picture side\": give a number "
                                                      "of pixels from 100 to 20000.")));
    if (!serveraddress::fromTyped(m_publicAddress->text()))
        return refuse(
            m_publicAddress,
            uilanguage::text("MESSAGES", "upPagePublicInvalid",
                             QStringLiteral("\"Its web address\": give the full address at which "
                                            "the folder shows on the web, starting with https://, "
                                            "or leave the field empty.")));
    return true;
}

void UploadSettingsPage::browseKeyFile() {
    UserDialogs::FileDialogOptions options;
    options.title = uilanguage::text("MESSAGES", "upPageKeyFileTitle",
                                     QStringLiteral("Choose your SSH private key"));
    options.filter =
        uilanguage::text("MESSAGES", "upPageKeyFileFilter", QStringLiteral("All files|*"));
    const QString current = m_keyFile->text().trimmed();
    options.initialFolder = current.isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh")
                                              : QFileInfo(current).absolutePath();
    const QString chosen = m_dialogs.openFileName(options);
    if (!chosen.isEmpty())
        m_keyFile->setText(chosen);
}

void UploadSettingsPage::btnUpTestClick() {
    if (isTesting())
        return;
    if (m_protocol->currentIndex() == NoProtocol || m_host->text().trimmed().isEmpty()) {
        m_dialogs.showMessage(uilanguage::text("MESSAGES", "upPageNothingToTest",
                                               QStringLiteral("Choose how pictures are sent and "
                                                              "give your server first.")),
                              UserDialogs::Icon::Information, title());
        return;
    }
    m_trustAsked = false;
    startTest(account());
}

void UploadSettingsPage::startTest(const UploadAccount& base) {
    UploadAccount account = base;
    account.password = m_password->text();
    m_folder = m_openFolder(account);
    connect(m_folder.get(), &RemoteFolder::finished, this,
            [this](const UploadOutcome& outcome) { tested(outcome); });
    m_test->setEnabled(false);
    m_testing->show();
    m_folder->test();
}

void UploadSettingsPage::tested(const UploadOutcome& outcome) {
    const UploadAccount tried = m_folder->account();
    // Released from the event loop: this runs inside its signal.
    m_folder.release()->deleteLater();
    endTest();
    if (outcome.ok()) {
        m_dialogs.showMessage(
            uilanguage::text("MESSAGES", "upPageTestWorks",
                             QStringLiteral("Connection works: a test file was written to %1 "
                                            "and removed."))
                .arg(tried.displayName()),
            UserDialogs::Icon::Information, title());
        return;
    }
    const bool aboutTrust = outcome.problem == UploadProblem::UnknownHostKey ||
                            outcome.problem == UploadProblem::UntrustedCertificate ||
                            outcome.problem == UploadProblem::ChangedHostKey;
    if (aboutTrust && !m_trustAsked) {
        m_trustAsked = true;
        // Accepted: the key or certificate is stored; the account is read
        // again so that the test trusts it.
        if (servertrust::askToTrust(outcome, tried, m_dialogs, m_settings))
            startTest(account());
        return;
    }
    m_dialogs.showMessage(outcome.message, UserDialogs::Icon::Warning, title());
}

void UploadSettingsPage::endTest() {
    if (m_folder) {
        m_folder->cancel();
        m_folder.reset();
    }
    m_testing->hide();
    m_test->setEnabled(m_protocol->currentIndex() != NoProtocol);
}
