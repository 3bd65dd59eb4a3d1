#pragma once

#include <memory>

class AboutDialog;
class AffiliateWindow;
class InsertLinkInfoDialog;
class InsertPicInfoDialog;
class MainWindow;
class SaveExitDialog;
class Settings;
class SettingsDialog;
class TestImagesDialog;
class UserDialogs;
struct WorkingFolders;

/// Every window of the program, alive until the program ends; closing one
/// only hides it. The windows the main window is wired to are created at
/// start-up in a fixed order, first, so that it is handed them whole; those
/// only a command opens are made the first time they are asked for. Only the
/// main window is shown, by the caller.
class ProgramWindows {
public:
    ProgramWindows(UserDialogs& dialogs, const WorkingFolders& folders);
    ~ProgramWindows();

    MainWindow& mainWindow() const { return *m_main; }
    /// The About box, made when first asked for.
    AboutDialog& aboutDialog();
    /// The affiliate window, made when first asked for.
    AffiliateWindow& affiliateWindow();
    SettingsDialog& settingsDialog() const { return *m_settings; }
    /// The settings the program runs with.
    Settings& settings() const { return *m_programSettings; }

private:
    UserDialogs& m_dialogs;
    // Declared in creation order; destroyed in reverse.
    std::unique_ptr<Settings> m_programSettings;
    std::unique_ptr<SaveExitDialog> m_saveExit;
    std::unique_ptr<AboutDialog> m_about;
    std::unique_ptr<SettingsDialog> m_settings;
    std::unique_ptr<TestImagesDialog> m_testImages;
    std::unique_ptr<InsertPicInfoDialog> m_insertPicInfo;
    std::unique_ptr<InsertLinkInfoDialog> m_insertLinkInfo;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<AffiliateWindow> m_affiliate;
};
