#include "settings/settingsdialog.h"

#include "platform/windowplacement.h"
#include "settings/servermirror.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QRadioButton* addRadio(QButtonGroup* group, QBoxLayout* layout, const char* name,
                       const QString& caption, int tag) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(QLatin1String(name));
    group->addButton(button, tag);
    layout->addWidget(button);
    return button;
}

QCheckBox* addCheckBox(QBoxLayout* layout, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(QLatin1String(name));
    layout->addWidget(box);
    return box;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("T_frmSettings"));
    setWindowTitle(QStringLiteral("Application settings"));
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcSettings"));
    m_pages->addTab(createServersPage(), QStringLiteral("Image Servers"));
    m_pages->addTab(createOthersPage(), QStringLiteral("Dialogs && Popups"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    setFixedSize(sizeHint());
    centreOnScreen(*this);
}

QWidget* SettingsDialog::createServersPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabServers"));
    auto* layout = new QVBoxLayout(page);
    auto* heading =
        new QLabel(QStringLiteral("Select Vantrel Server for Layout images (any will do)"));
    heading->setObjectName(QStringLiteral("lblInfoServer1"));
    layout->addWidget(heading);
    m_defaultServers = new QButtonGroup(page);
    addRadio(m_defaultServers, layout, "radServer1", QStringLiteral("Vantrel default"), 1)
        ->setChecked(true);
    addRadio(m_defaultServers, layout, "radServer2", QStringLiteral("Vantrel alt. 1"), 2);
    addRadio(m_defaultServers, layout, "radServer3", QStringLiteral("Vantrel alt. 2"), 3);
    m_ownServers = new QButtonGroup(page);
    addRadio(m_ownServers, layout, "radServer4", QStringLiteral("* Personal image server"), 1)
        ->setChecked(true);
    addRadio(m_ownServers, layout, "radServer5", QStringLiteral("* Personal secondary server"), 2);
    m_useOwnServer =
        addCheckBox(layout, "cbxUseOwnServer",
                    QStringLiteral("Use personal server for Document && Layout images"));
    m_useOwnServer->hide();
    layout->addWidget(createServerSetGroup(page));
    return page;
}

QGroupBox* SettingsDialog::createServerSetGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral(" Server set "), parent);
    group->setObjectName(QStringLiteral("radServerSet"));
    auto* layout = new QVBoxLayout(group);
    m_serverSets = new QButtonGroup(group);
    for (int index = 0; index < 4; ++index) {
        const QByteArray name = "radServerSet" + QByteArray::number(index);
        addRadio(m_serverSets, layout, name.constData(), QString::number(index), index);
    }
    m_serverSets->button(0)->setChecked(true);
    // It only carries the set between the settings file and Save.
    group->hide();
    return group;
}

QWidget* SettingsDialog::createOthersPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tabOthers"));
    auto* layout = new QVBoxLayout(page);
    m_hideExportHelp =
        addCheckBox(layout, "cbxHideExportHelp", QStringLiteral("Hide 'Publish Help' window"));
    layout->addStretch();
    return page;
}

void SettingsDialog::mirrorServerSettings(const ServerMirror& mirror) {
    if (QAbstractButton* button = m_defaultServers->button(mirror.DefaultServer))
        button->setChecked(true);
    if (QAbstractButton* button = m_ownServers->button(mirror.OwnServer))
        button->setChecked(true);
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
