#pragma once

#include <QList>
#include <QString>

class QAction;
class QObject;
class QMenu;
class QMenuBar;
class QStyle;
class UserDialogs;

/// The entries of the main menu that run commands, named like their objects.
struct MainMenuActions {
    QAction* mnuNewDoc = nullptr;
    QAction* mnuNewLayout = nullptr;
    QAction* mnuOpenDoc = nullptr;
    QAction* mnuOpenLayout = nullptr;
    /// A listing page made elsewhere, opened as a new document.
    QAction* mnuOpenListing = nullptr;
    /// File > Open's recent documents and layouts.
    QMenu* recentDocs = nullptr;
    QMenu* recentLayouts = nullptr;
    QAction* SaveDocAs = nullptr;
    QAction* SaveLayoutAs = nullptr;
    QAction* ExporttoORV1 = nullptr;
    /// The record of the listings published, and their pictures' watch.
    QAction* mnuPublishedListings = nullptr;
    /// The tutorials and examples, each named "mnu" + its document's name.
    QList<QAction*> examples;
    QAction* mnuJoinAffiliate = nullptr;
    QAction* Exit1 = nullptr;
    QAction* en = nullptr;
    QAction* fr = nullptr;
    QAction* Settings1 = nullptr;
    QAction* mnuOnlineHelp = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuAbout = nullptr;
};

/// The main window's menu `MainMenudesign`: File, Language, Options and
/// Help with their entries as designed. The window connects the entries'
/// commands to the pages and dialogs that own them.
class MainMenu {
public:
    explicit MainMenu(QMenuBar* bar);

    /// "show" makes the four top-level entries visible; any other mode hides
    /// them.
    void MainMenuDisplay(const QString& mode);
    /// "fr" ticks French and unticks English, "en" the reverse; any other
    /// code leaves both as they are.
    void checkLanguage(const QString& code);

    const MainMenuActions& actions() const { return m_actions; }

    /// The entries that open pages of the product web site open them.
    void connectWebSite(QObject* context, UserDialogs& dialogs) const;

private:
    QMenu* buildFileMenu(QMenuBar* bar);
    QMenu* buildLanguageMenu(QMenuBar* bar);
    QMenu* buildHelpMenu(QMenuBar* bar);

    void addPictures(QStyle* style);

    MainMenuActions m_actions;
    QAction* m_file = nullptr;
    QAction* m_language = nullptr;
    QAction* m_help = nullptr;
    QAction* m_examples = nullptr; // the examples submenu
    bool m_picturesAdded = false;
};
