#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

/// The main window's menu `MainMenudesign`: File, Language, Options and
/// Help with their entries as designed. The commands are connected by the
/// pages and dialogs that own them, found by the entries' object names.
class MainMenu {
public:
    explicit MainMenu(QMenuBar* bar);

    /// "show" makes the four top-level entries visible; any other mode hides
    /// them.
    void MainMenuDisplay(const QString& mode);
    /// "fr" ticks French and unticks English, "en" the reverse; any other
    /// code leaves both as they are.
    void checkLanguage(const QString& code);

    QAction* exitAction() const { return m_exit; }

private:
    QMenu* buildFileMenu(QMenuBar* bar);
    QMenu* buildLanguageMenu(QMenuBar* bar);
    QMenu* buildHelpMenu(QMenuBar* bar);

    QAction* m_file = nullptr;
    QAction* m_language = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_help = nullptr;
    QAction* m_english = nullptr;
    QAction* m_french = nullptr;
    QAction* m_exit = nullptr;
};
