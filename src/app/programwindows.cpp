#include "app/programwindows.h"

#include "app/aboutdialog.h"
#include "app/mainwindow.h"
#include "document/affiliatewindow.h"
#include "document/insertlinkinfodialog.h"
#include "document/insertpicinfodialog.h"
#include "layoutui/saveexitdialog.h"
#include "publish/testimagesdialog.h"
#include "settings/settings.h"
#include "settingsui/settingsdialog.h"

namespace {

std::unique_ptr<Settings> loadedSettings(const WorkingFolders& folders) {
    auto settings = std::make_unique<Settings>(folders.settingsFile());
    // A file that cannot be read is named at the main window's first
    // activation; every key has its default meanwhile.
    (void)settings->load();
    return settings;
}

} // namespace

ProgramWindows::ProgramWindows(UserDialogs& dialogs, const WorkingFolders& folders)
    : m_dialogs(dialogs)
    , m_programSettings(loadedSettings(folders))
    , m_saveExit(std::make_unique<SaveExitDialog>())
    , m_settings(std::make_unique<SettingsDialog>(dialogs, *m_programSettings))
    , m_testImages(std::make_unique<TestImagesDialog>())
    , m_insertPicInfo(std::make_unique<InsertPicInfoDialog>(dialogs, folders.settingsFile(),
                                                            m_programSettings.get()))
    , m_insertLinkInfo(std::make_unique<InsertLinkInfoDialog>(dialogs, folders.settingsFile(),
                                                              m_programSettings.get()))
    , m_main(std::make_unique<MainWindow>(
          dialogs, folders,
          MainWindowDialogs{m_settings.get(), [this] { return &aboutDialog(); }, m_saveExit.get(),
                            m_testImages.get(), m_insertPicInfo.get(), m_insertLinkInfo.get(),
                            m_programSettings.get()})) {
    m_testImages->setUserDialogs(&dialogs);
}

ProgramWindows::~ProgramWindows() = default;

AboutDialog& ProgramWindows::aboutDialog() {
    if (!m_about)
        m_about = std::make_unique<AboutDialog>(m_dialogs);
    return *m_about;
}

AffiliateWindow& ProgramWindows::affiliateWindow() {
    if (!m_affiliate)
        m_affiliate = std::make_unique<AffiliateWindow>();
    return *m_affiliate;
}
