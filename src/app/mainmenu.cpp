#include "app/mainmenu.h"

#include "ui/productwebsite.h"
#include "ui/userdialogs.h"

#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <utility>

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

} // namespace

MainMenu::MainMenu(QMenuBar* bar) {
    bar->setObjectName(QStringLiteral("MainMenudesign"));
    m_file = bar->addMenu(buildFileMenu(bar));
    m_language = bar->addMenu(buildLanguageMenu(bar));
    m_actions.Settings1 = bar->addAction(QStringLiteral("&Options"));
    m_actions.Settings1->setObjectName(QStringLiteral("Settings1"));
    m_help = bar->addMenu(buildHelpMenu(bar));
    // The pictures are looked up when a menu with pictures first opens: the
    // window's first paint does not wait for them.
    for (QAction* entry : {m_file, m_help}) {
        QObject::connect(
            entry->menu(), &QMenu::aboutToShow, bar, [this, bar] { addPictures(bar->style()); },
            Qt::SingleShotConnection);
    }
}

/// The entries' pictures: the desktop theme's picture for what the entry does,
/// the style's closest one where the theme has none.
void MainMenu::addPictures(QStyle* style) {
    if (m_picturesAdded)
        return;
    m_picturesAdded = true;
    struct Picture {
        QAction* action;
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    const MainMenuActions& a = m_actions;
    const Picture pictures[] = {
        {a.mnuNewDoc, "document-new", QStyle::SP_FileIcon},
        {a.mnuNewLayout, "document-new", QStyle::SP_FileIcon},
        {a.mnuOpenDoc, "document-open", QStyle::SP_DialogOpenButton},
        {a.mnuOpenLayout, "document-open", QStyle::SP_DialogOpenButton},
        {a.mnuOpenListing, "text-html", QStyle::SP_FileLinkIcon},
        {a.SaveDocAs, "document-save-as", QStyle::SP_DialogSaveButton},
        {a.SaveLayoutAs, "document-save-as", QStyle::SP_DialogSaveButton},
        {a.ExporttoORV1, "document-send", QStyle::SP_ArrowUp},
        {a.mnuPublishedListings, "view-list-details", QStyle::SP_FileDialogDetailedView},
        {m_examples, "help-contents", QStyle::SP_FileDialogInfoView},
        {a.Exit1, "application-exit", QStyle::SP_DialogCloseButton},
        {a.mnuOnlineHelp, "help-contents", QStyle::SP_DialogHelpButton},
        {a.mnuWebsite, "go-home", QStyle::SP_DirHomeIcon},
        {a.mnuAbout, "help-about", QStyle::SP_MessageBoxInformation},
    };
    for (const Picture& p : pictures) {
        const QString name = QLatin1String(p.themeName);
        p.action->setIcon(QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name)
                                                    : style->standardIcon(p.fallback));
    }
}

QMenu* MainMenu::buildFileMenu(QMenuBar* bar) {
    QMenu* file = addMenu(bar, "File1", QStringLiteral("&File"));
    QMenu* fileNew = addMenu(file, "mnuNew", QStringLiteral("&New"));
    m_actions.mnuNewDoc = addEntry(fileNew, "mnuNewDoc", QStringLiteral("&Document"));
    m_actions.mnuNewLayout = addEntry(fileNew, "mnuNewLayout", QStringLiteral("&Layout"));
    file->addMenu(fileNew);
    QMenu* fileOpen = addMenu(file, "mnuOpen", QStringLiteral("&Open"));
    m_actions.mnuOpenDoc = addEntry(fileOpen, "mnuOpenDoc", QStringLiteral("&Document..."));
    m_actions.mnuOpenLayout = addEntry(fileOpen, "mnuOpenLayout", QStringLiteral("&Layout..."));
    m_actions.mnuOpenListing =
        addEntry(fileOpen, "mnuOpenListing", QStringLiteral("Listing page (&HTML)..."));
    // Filled with the files used last each time they open.
    fileOpen->addSeparator();
    m_actions.recentDocs = addMenu(fileOpen, "mnuRecentDocs", QStringLiteral("&Recent documents"));
    fileOpen->addMenu(m_actions.recentDocs);
    m_actions.recentLayouts =
        addMenu(fileOpen, "mnuRecentLayouts", QStringLiteral("Recent la&youts"));
    fileOpen->addMenu(m_actions.recentLayouts);
    file->addMenu(fileOpen);
    file->addSeparator();
    m_actions.SaveDocAs = addEntry(file, "SaveDocAs", QStringLiteral("Save &Document as..."));
    m_actions.SaveLayoutAs = addEntry(file, "SaveLayoutAs", QStringLiteral("Save &Layout as..."));
    file->addSeparator();
    m_actions.ExporttoORV1 =
        addEntry(file, "ExporttoORV1", QStringLiteral("&Publish to Auctions site..."));
    m_actions.mnuPublishedListings =
        addEntry(file, "mnuPublishedListings", QStringLiteral("Pu&blished listings..."));
    file->addSeparator();
    QMenu* examples = addMenu(file, "mnuOpenExample", QStringLiteral("&Tutorials && Examples"));
    const auto example = [this](QMenu* menu, const char* name, const char* caption) {
        m_actions.examples.append(addEntry(menu, name, QString::fromUtf8(caption)));
    };
    example(examples, "mnuHowItWorks", "&How it works");
    example(examples, "mnuDocTutor", "&Document Editor overview");
    QMenu* docExamples =
        addMenu(examples, "mnuDocExample", QStringLiteral("Document e&xamples..."));
    example(docExamples, "mnuSimpledoc", "&Simple document with logo");
    example(docExamples, "mnuDoc_tables1", "&Using tables in document");
    example(docExamples, "mnuDoc_tables2", "&More on using tables in doc.");
    examples->addMenu(docExamples);
    example(examples, "mnuLayoutTutor", "&Layout Editor overview");
    QMenu* layoutExamples =
        addMenu(examples, "mnuLayoutExample", QStringLiteral("Layout ex&amples..."));
    example(layoutExamples, "mnuLayout_Special1", "Using images smartly &1");
    example(layoutExamples, "mnuLayout_Special2", "Using images smartly &2");
    examples->addMenu(layoutExamples);
    example(examples, "mnuPublishTutor", "&Publish to Auction site");
    example(examples, "mnuAboutFiles", "About &Folders, Files && Images");
    m_examples = file->addMenu(examples);
    m_actions.mnuJoinAffiliate =
        addEntry(file, "mnuJoinAffiliate", QStringLiteral("Join the &Affiliate program"), false);
    file->addSeparator();
    m_actions.Exit1 = addEntry(file, "Exit1", QStringLiteral("E&xit"));
    // The desktop's quit key, from any window of the program; it closes the
    // main window, so the usual save prompts come first.
    m_actions.Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_actions.Exit1->setShortcutContext(Qt::ApplicationShortcut);
    return file;
}

QMenu* MainMenu::buildLanguageMenu(QMenuBar* bar) {
    QMenu* language = addMenu(bar, "Language1", QStringLiteral("&Language"));
    m_actions.en = addEntry(language, "en", QStringLiteral("&English"));
    m_actions.en->setCheckable(true);
    m_actions.en->setChecked(true);
    m_actions.fr = addEntry(language, "fr", QString::fromUtf8("&Français"));
    m_actions.fr->setCheckable(true);
    addEntry(language, "Deutsch1", QStringLiteral("Deutsch"), false);
    addEntry(language, "Espaol1", QString::fromUtf8("Español"), false);
    addEntry(language, "Italiano1", QStringLiteral("Italiano"), false);
    addEntry(language, "Nederland1", QStringLiteral("Nederlands"), false);
    addEntry(language, "Other1", QStringLiteral("Other..."), false);
    return language;
}

QMenu* MainMenu::buildHelpMenu(QMenuBar* bar) {
    QMenu* help = addMenu(bar, "Help1", QStringLiteral("&Help"));
    m_actions.mnuOnlineHelp =
        addEntry(help, "mnuOnlineHelp", QStringLiteral("Online &Help && FAQ"));
    // The desktop's help key, from any window of the program.
    m_actions.mnuOnlineHelp->setShortcut(QKeySequence::HelpContents);
    m_actions.mnuOnlineHelp->setShortcutContext(Qt::ApplicationShortcut);
    m_actions.mnuWebsite = addEntry(help, "mnuWebsite", QStringLiteral("Vantrel Ho&me"));
    help->addSeparator();
    m_actions.mnuAbout = addEntry(help, "mnuAbout", QStringLiteral("&About..."));
    return help;
}

void MainMenu::MainMenuDisplay(const QString& mode) {
    const bool show = mode == QLatin1String("show");
    for (QAction* entry : {m_file, m_language, m_actions.Settings1, m_help})
        entry->setVisible(show);
}

void MainMenu::checkLanguage(const QString& code) {
    if (code == QLatin1String("fr")) {
        m_actions.fr->setChecked(true);
        m_actions.en->setChecked(false);
    } else if (code == QLatin1String("en")) {
        m_actions.en->setChecked(true);
        m_actions.fr->setChecked(false);
    }
}

void MainMenu::connectWebSite(QObject* context, UserDialogs& dialogs) const {
    const std::pair<QAction*, const char*> pages[] = {
        {m_actions.mnuJoinAffiliate, "/affiliate/aff.php"},
        {m_actions.mnuOnlineHelp, "/support.html"},
        {m_actions.mnuWebsite, "/index.php"},
    };
    for (const auto& [entry, path] : pages) {
        connectCommand(entry, &QAction::triggered, context, dialogs, [&dialogs, path = path] {
            openWebPage(dialogs, productWebPage(QLatin1String(path)));
        });
    }
}
