#include "app/mainmenu.h"

#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace {

QMenu* addMenu(QWidget* parent, const char* name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* addEntry(QMenu* menu, const char* name, const QString& caption, bool enabled = true) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setEnabled(enabled);
    return action;
}

/// The entries' pictures, from the style so that they match the desktop.
void addPictures(QMenuBar* bar) {
    const struct {
        const char* entry;
        QStyle::StandardPixmap picture;
    } pictures[] = {
        {"mnuNewDoc", QStyle::SP_FileIcon},
        {"mnuNewLayout", QStyle::SP_FileDialogNewFolder},
        {"mnuOpenDoc", QStyle::SP_DialogOpenButton},
        {"mnuOpenLayout", QStyle::SP_DirOpenIcon},
        {"SaveDocAs", QStyle::SP_DialogSaveButton},
        {"SaveLayoutAs", QStyle::SP_DialogSaveButton},
        {"ExporttoORV1", QStyle::SP_ArrowUp},
        {"mnuOpenExample", QStyle::SP_FileDialogInfoView},
        {"mnuJoinAffiliate", QStyle::SP_DialogYesButton},
        {"Exit1", QStyle::SP_DialogCloseButton},
        {"mnuOnlineHelp", QStyle::SP_DialogHelpButton},
        {"mnuWebsite", QStyle::SP_DriveNetIcon},
        {"mnuAbout", QStyle::SP_MessageBoxInformation},
    };
    for (const auto& p : pictures) {
        if (auto* action = bar->findChild<QAction*>(QLatin1String(p.entry)))
            action->setIcon(bar->style()->standardIcon(p.picture));
    }
}

} // namespace

MainMenu::MainMenu(QMenuBar* bar) {
    bar->setObjectName(QStringLiteral("MainMenudesign"));
    m_file = bar->addMenu(buildFileMenu(bar));
    m_language = bar->addMenu(buildLanguageMenu(bar));
    m_settings = bar->addAction(QStringLiteral("Options"));
    m_settings->setObjectName(QStringLiteral("Settings1"));
    m_help = bar->addMenu(buildHelpMenu(bar));
    addPictures(bar);
}

QMenu* MainMenu::buildFileMenu(QMenuBar* bar) {
    QMenu* file = addMenu(bar, "File1", QStringLiteral("File"));
    QMenu* fileNew = addMenu(file, "mnuNew", QStringLiteral("New"));
    addEntry(fileNew, "mnuNewDoc", QStringLiteral("&Document"));
    addEntry(fileNew, "mnuNewLayout", QStringLiteral("Layout"));
    file->addMenu(fileNew);
    QMenu* fileOpen = addMenu(file, "mnuOpen", QStringLiteral("Open"));
    addEntry(fileOpen, "mnuOpenDoc", QStringLiteral("Document..."));
    addEntry(fileOpen, "mnuOpenLayout", QStringLiteral("Layout..."));
    file->addMenu(fileOpen);
    file->addSeparator();
    addEntry(file, "SaveDocAs", QStringLiteral("Save Document as..."));
    addEntry(file, "SaveLayoutAs", QStringLiteral("Save Layout as..."));
    file->addSeparator();
    addEntry(file, "ExporttoORV1", QStringLiteral("Publish to Auctions site..."));
    file->addSeparator();
    // Filled with the tutorials and examples by the document commands.
    file->addMenu(addMenu(file, "mnuOpenExample", QStringLiteral("Tutorials && Examples")));
    addEntry(file, "mnuJoinAffiliate", QStringLiteral("Join the Affiliate program"), false);
    file->addSeparator();
    m_exit = addEntry(file, "Exit1", QStringLiteral("Exit"));
    return file;
}

QMenu* MainMenu::buildLanguageMenu(QMenuBar* bar) {
    QMenu* language = addMenu(bar, "Language1", QStringLiteral("Language"));
    m_english = addEntry(language, "en", QStringLiteral("English"));
    m_english->setCheckable(true);
    m_english->setChecked(true);
    m_french = addEntry(language, "fr", QString::fromUtf8("Français"), false);
    m_french->setCheckable(true);
    addEntry(language, "Deutsch1", QStringLiteral("Deutsch"), false);
    addEntry(language, "Espaol1", QString::fromUtf8("Español"), false);
    addEntry(language, "Italiano1", QStringLiteral("Italiano"), false);
    addEntry(language, "Nederland1", QStringLiteral("Nederland"), false);
    addEntry(language, "Other1", QStringLiteral("Other..."), false);
    return language;
}

QMenu* MainMenu::buildHelpMenu(QMenuBar* bar) {
    QMenu* help = addMenu(bar, "Help1", QStringLiteral("Help"));
    addEntry(help, "mnuOnlineHelp", QStringLiteral("Online Help && FAQ"));
    addEntry(help, "mnuWebsite", QStringLiteral("Vantrel Home"));
    help->addSeparator();
    addEntry(help, "mnuAbout", QStringLiteral("About..."));
    return help;
}

void MainMenu::MainMenuDisplay(const QString& mode) {
    const bool show = mode == QLatin1String("show");
    for (QAction* entry : {m_file, m_language, m_settings, m_help})
        entry->setVisible(show);
}

void MainMenu::checkLanguage(const QString& code) {
    if (code == QLatin1String("fr")) {
        m_french->setChecked(true);
        m_english->setChecked(false);
    } else if (code == QLatin1String("en")) {
        m_english->setChecked(true);
        m_french->setChecked(false);
    }
}
