#include "web/exporthelpwindow.h"

#include "settings/settingschoices.h"
#include "settings/settingsfile.h"
#include "ui/userdialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

ExportHelpWindow::ExportHelpWindow(std::function<QString()> helpPage, QString settingsFile,
                                   SettingsChoices& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , m_helpPage(std::move(helpPage))
    , m_settingsFile(std::move(settingsFile))
    , m_settings(settings)
    , m_dialogs(dialogs) {
    setObjectName(QStringLiteral("T_frmExport1"));
    setWindowTitle(QStringLiteral("Vantrel - Publishing Help"));
    // Narrow beside the site, yet never narrower than its check box's text,
    // which its layout keeps whole in every language.
    setMinimumHeight(480);
    resize(320, 490);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("pnlExport1"));
    auto* stripLayout = new QVBoxLayout(strip);
    m_hide = new QCheckBox(
        QStringLiteral("Don't show this help anymore (use \"Settings\" to reset)"), strip);
    m_hide->setObjectName(QStringLiteral("cbxExportHelpHide"));
    connectCommand(m_hide, &QCheckBox::clicked, this, m_dialogs,
                   [this] { cbxExportHelpHideClick(m_hide->isChecked()); });
    stripLayout->addWidget(m_hide);
    column->addWidget(strip);
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("browExport1"));
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    column->addWidget(m_browser, 1);
}

void ExportHelpWindow::showEvent(QShowEvent* event) {
    m_hide->setChecked(m_settings.hideExportHelp());
    // Shown without the focus (some desktops) it still shows its page.
    m_browser->load(QUrl::fromLocalFile(m_helpPage()));
    emit shownChanged(true);
    QWidget::showEvent(event);
}

void ExportHelpWindow::closeEvent(QCloseEvent* event) {
    emit shownChanged(false);
    QWidget::closeEvent(event);
}

bool ExportHelpWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        m_browser->load(QUrl::fromLocalFile(m_helpPage()));
    return QWidget::event(event);
}

void ExportHelpWindow::cbxExportHelpHideClick(bool hide) {
    SettingsFile(m_settingsFile).writeBool(SettingKey::hideExportHlp, hide);
    m_settings.setHideExportHelp(hide);
}
