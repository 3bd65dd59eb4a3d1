#include "app/appcaption.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "document/documenteditor.h"
#include "layout/layout.h"
#include "layoutui/layoutpage.h"
#include "listing/serverlist.h"
#include "pagegen/shifttext.h"
#include "platform/inifile.h"
#include "settingsui/settingsdialog.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"
#include "web/previewbrowser.h"
#include "web/previewcontroller.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <unistd.h>

namespace {

using Servers = std::array<QString, 3>;

// The three working folders inside one temporary folder.
class Folders {
public:
    Folders() {
        for (const char* name : {"program", "user", "shared"})
            QDir(m_root.path()).mkpath(QLatin1String(name));
        m_folders.ProgramFolder = m_root.filePath(QStringLiteral("program/"));
        m_folders.UserFolder = m_root.filePath(QStringLiteral("user/"));
        m_folders.SharedDataFolder = m_root.filePath(QStringLiteral("shared/"));
        copyShippedProgramFiles(m_folders.ProgramFolder);
    }

    const WorkingFolders& folders() const { return m_folders; }
    IniFile settings() const { return IniFile(m_folders.SharedDataFolder + "defaults.ini"); }
    IniFile serverList() const { return IniFile(m_folders.SharedDataFolder + "vtrlsrv.dft"); }

    void writeSettings(const QByteArray& text) const {
        QFile file(m_folders.SharedDataFolder + "defaults.ini");
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write the settings fixture");
    }

    /// Stores the addresses in a server-list section as the build does.
    void writeServers(const QString& section, const QStringList& plain) const {
        IniFile list = serverList();
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QByteArray raised =
                ShiftText(plain[i].toLatin1(), 256 - shiftkeys::ServerListKey);
            list.writeString(section, QStringLiteral("s%1").arg(i), QString::fromLatin1(raised));
        }
    }

private:
    QTemporaryDir m_root;
    WorkingFolders m_folders;
};

bool isChecked(const QObject& window, const char* name) {
    if (const auto* action = window.findChild<QAction*>(QLatin1String(name)))
        return action->isChecked();
    const auto* button = window.findChild<QAbstractButton*>(QLatin1String(name));
    if (!button)
        qFatal("no control %s", name);
    return button->isChecked();
}

/// Whether a process has a child process of the browser engine: the engine
/// has started and lives.
bool hasBrowserHelper(qint64 pid) {
    const QString parent = QString::number(pid);
    QDirIterator processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (processes.hasNext()) {
        QFile stat(processes.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QString line = QString::fromLocal8Bit(stat.readAll());
        const qsizetype close = line.lastIndexOf(QLatin1Char(')'));
        const QString name = line.mid(line.indexOf(QLatin1Char('(')) + 1);
        const QStringList rest = line.mid(close + 2).split(QLatin1Char(' '));
        if (rest.size() > 1 && rest.at(1) == parent &&
            name.startsWith(QLatin1String("QtWebEngine")))
            return true;
    }
    return false;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void languageIsTickedBeforeTheFirstShow_data();
    void languageIsTickedBeforeTheFirstShow();
    void firstActivationShowsTheWelcomeDocumentReadOnly_data();
    void firstActivationShowsTheWelcomeDocumentReadOnly();
    void showingTheWindowActivatesIt();
    void productServersComeFromTheServerList_data();
    void productServersComeFromTheServerList();
    void badServerSetKeepsTheAddresses_data();
    void badServerSetKeepsTheAddresses();
    void savedSettingsReachStateAndDialogAtNextActivation_data();
    void savedSettingsReachStateAndDialogAtNextActivation();
    void closeEmptiesOnlyTheProgramsOwnClipboardText_data();
    void closeEmptiesOnlyTheProgramsOwnClipboardText();
    void windowsOnlyACommandOpensAreMadeWhenAsked();
    void previewIsMadeAfterTheFirstPaint();
    void layoutPageRightAfterStartShowsThePreview();
    void closingRightAfterStartEndsCleanly_data();
    void closingRightAfterStartEndsCleanly();
    void asRootTheBrowserStartsAndItIsSaid();
    void unreadableFileIsNamedAndTheStartGoesOnWithDefaults_data();
    void unreadableFileIsNamedAndTheStartGoesOnWithDefaults();
    void programIconIsBuiltInAtEverySize();
};

void TestStartup::languageIsTickedBeforeTheFirstShow_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("french");
    QTest::newRow("no settings file") << QByteArray() << "en" << true << false;
    QTest::newRow("fr") << QByteArray("[General]\r\nlang=fr\r\n") << "fr" << false << true;
    QTest::newRow("longer code, section in capitals")
        << QByteArray("[GENERAL]\r\nlang=fra\r\n") << "fr" << false << true;
    QTest::newRow("de keeps the design")
        << QByteArray("[General]\r\nlang=de\r\n") << "de" << true << false;
    QTest::newRow("FR is not French")
        << QByteArray("[General]\r\nlang=FR\r\n") << "FR" << true << false;
}

void TestStartup::languageIsTickedBeforeTheFirstShow() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, code);
    Folders folders;
    if (!settings.isNull())
        folders.writeSettings(settings);
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, folders.folders());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.state().LanguageCode, code);
    QTEST(isChecked(window, "en"), "english");
    QTEST(isChecked(window, "fr"), "french");
}

void TestStartup::firstActivationShowsTheWelcomeDocumentReadOnly_data() {
    QTest::addColumn<QByteArray>("welcome"); // the welcome document's bytes; null: no file
    QTest::newRow("robustness: no welcome document") << QByteArray();
    QTest::newRow("robustness: damaged welcome document") << QByteArray("VDOC not really");
}

void TestStartup::firstActivationShowsTheWelcomeDocumentReadOnly() {
    QFETCH(QByteArray, welcome);
    Folders folders;
    if (!welcome.isNull()) {
        QFile file(folders.folders().welcomeDocumentFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(welcome) == welcome.size());
    }
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, folders.folders());
    window.pages()->setCurrentIndex(1);
    window.state().publishing.Publishing = true;
    window.FormActivate();
    const AppState& state = window.state();
    QCOMPARE(window.pages()->currentIndex(), 0);
    QVERIFY(!window.pages()->isTabVisible(2));
    QVERIFY(window.editor().isReadOnly());
    QVERIFY(!state.FirstActivation);
    QVERIFY(state.layout.state().LayoutLoadNeeded);
    QVERIFY(!state.layout.state().LayoutModified);
    QVERIFY(!state.publishing.Publishing);
    QVERIFY(dialogs.shown.isEmpty()); // a welcome document that cannot be shown is not reported

    // Later activations leave the page and the editor alone.
    window.pages()->setCurrentIndex(1);
    window.editor().setReadOnly(false);
    window.FormActivate();
    QCOMPARE(window.pages()->currentIndex(), 1);
    QVERIFY(!window.editor().isReadOnly());
}

void TestStartup::showingTheWindowActivatesIt() {
    Folders folders;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, folders.folders());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(!window.state().FirstActivation);
}

void TestStartup::productServersComeFromTheServerList_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QByteArray>("srvSet");
    QTest::addColumn<QStringList>("expected");
    const QStringList none = {"http://", "http://", "http://"};
    const QStringList plain = {"a.example/p/", "b.example/", "c.example/x-y_z/"};
    QTest::newRow("no server list") << QString() << QStringList() << QByteArray() << none;
    QTest::newRow("scrambled section")
        << "2" << plain << QByteArray("2")
        << QStringList{"http://a.example/p/", "http://b.example/", "http://c.example/x-y_z/"};
    QTest::newRow("section missing") << "0" << plain << QByteArray("1") << none;
    QTest::newRow("keys missing") << "0" << QStringList{"a.example/"} << QByteArray("0")
                                  << QStringList{"http://a.example/", "http://", "http://"};
    QTest::newRow("secure servers keep their scheme")
        << "0" << QStringList{"https://a.example/p/", "HTTPS://b.example/", "https:/c.example/"}
        << QByteArray("0")
        << QStringList{"https://a.example/p/", "HTTPS://b.example/", "http://https:/c.example/"};
}

void TestStartup::productServersComeFromTheServerList() {
    QFETCH(QString, section);
    QFETCH(QStringList, stored);
    QFETCH(QByteArray, srvSet);
    QFETCH(QStringList, expected);
    Folders folders;
    if (!section.isNull())
        folders.writeServers(section, stored);
    if (!srvSet.isNull())
        folders.writeSettings("[GENERAL]\r\nsrvSet=" + srvSet + "\r\n");
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, folders.folders());
    window.FormActivate();
    const Servers& servers = window.state().ProductServer;
    if (serverlist::productServersOffered()) {
        QCOMPARE(QStringList(servers.begin(), servers.end()), expected);
    } else {
        // A build without real product servers offers none, whatever the
        // list holds; the list is still read by its rules.
        QCOMPARE(QStringList(servers.begin(), servers.end()), QStringList({"", "", ""}));
        const Servers read = serverlist::readProductServers(folders.folders().serverListFile(),
                                                            window.state().servers.ServerSet);
        QCOMPARE(QStringList(read.begin(), read.end()), expected);
    }
    QVERIFY(dialogs.shown.isEmpty());
}

void TestStartup::badServerSetKeepsTheAddresses_data() {
    QTest::addColumn<QString>("srvSet");
    QTest::newRow("letter") << "x";
    QTest::newRow("empty") << "";
    QTest::newRow("signed") << "-1";
}

void TestStartup::badServerSetKeepsTheAddresses() {
    QFETCH(QString, srvSet);
    Folders folders;
    folders.writeServers("0", {"a.example/", "b.example/", "c.example/"});
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.FormActivate();
    const Servers before = window.state().ProductServer;

    IniFile settings = folders.settings();
    settings.writeString("GENERAL", "srvSet", srvSet);
    settings.writeInteger("GENERAL", "DefSrv", 3);
    window.state().publishing.Publishing = true;
    window.FormActivate();
    QCOMPARE(dialogs.shownOf("error").size(), 1);
    QCOMPARE(window.state().ProductServer, before);
    QCOMPARE(window.state().servers.DefaultServer, 3); // read before the set was converted
    QVERIFY(!window.state().publishing.Publishing);
    QCOMPARE(windows.settingsDialog().serverSetIndex(), 0);

    // Closing the error box activates the window again: no second box.
    window.FormActivate();
    QCOMPARE(dialogs.shownOf("error").size(), 1);

    // Once the set is valid again, a later fault is reported again.
    settings.writeString("GENERAL", "srvSet", "0");
    window.FormActivate();
    settings.writeString("GENERAL", "srvSet", srvSet);
    window.FormActivate();
    QCOMPARE(dialogs.shownOf("error").size(), 2);
}

void TestStartup::savedSettingsReachStateAndDialogAtNextActivation_data() {
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<int>("defaultServer");
    QTest::addColumn<int>("ownServer");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<int>("serverSet");
    // The personal server is used unless the seller turns it off.
    QTest::newRow("nothing saved")
        << QByteArray() << 1 << 1 << "your primary server *"
        << "your secondary server *" << QStringList{"radServer1", "radServer4", "cbxUseOwnServer"}
        << 0;
    QTest::newRow("saved by the dialog")
        << QByteArray("[GENERAL]\r\nDefSrv=2\r\nownSrv=2\r\nuseOwnSrv=1\r\nsrvSet=3\r\n"
                      "primSrv=http://my.example/\r\nsecSrv=http://two.example/\r\n"
                      "hideExportHlp=1\r\n")
        << 2 << 2 << "http://my.example/"
        << "http://two.example/"
        << QStringList{"radServer2", "radServer5", "cbxUseOwnServer", "cbxHideExportHelp"} << 3;
    QTest::newRow("out of range reads as the default")
        << QByteArray("[general]\r\ndefsrv=7\r\nOWNSRV=0\r\nuseOwnSrv=yes\r\nsrvSet=9\r\n") << 1
        << 1 << "your primary server *"
        << "your secondary server *" << QStringList{"radServer1", "radServer4", "cbxUseOwnServer"}
        << 9;
}

void TestStartup::savedSettingsReachStateAndDialogAtNextActivation() {
    QFETCH(QByteArray, saved);
    QFETCH(QStringList, checked);
    Folders folders;
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.FormActivate();
    if (!saved.isNull())
        folders.writeSettings(saved);
    window.FormActivate();

    const AppState& state = window.state();
    QTEST(state.servers.DefaultServer, "defaultServer");
    QTEST(state.servers.OwnServer, "ownServer");
    QCOMPARE(state.servers.UseOwnServer, checked.contains("cbxUseOwnServer"));
    QTEST(state.servers.PrimaryServer, "primary");
    QTEST(state.servers.SecondaryServer, "secondary");
    QTEST(windows.settingsDialog().serverSetIndex(), "serverSet");
    for (const char* name : {"radServer1", "radServer2", "radServer3", "radServer4", "radServer5",
                             "cbxUseOwnServer", "cbxHideExportHelp"})
        QVERIFY2(isChecked(windows.settingsDialog(), name) == checked.contains(name), name);
}

void TestStartup::closeEmptiesOnlyTheProgramsOwnClipboardText_data() {
    QTest::addColumn<QString>("published");
    QTest::addColumn<QString>("copiedLater");
    QTest::addColumn<QString>("afterClose");
    QTest::newRow("listing code still there") << "<table>code</table>" << QString() << QString();
    QTest::newRow("user copied something else since") << "<table>code</table>"
                                                      << "my own text"
                                                      << "my own text";
    QTest::newRow("nothing published") << QString() << "my own text"
                                       << "my own text";
}

void TestStartup::closeEmptiesOnlyTheProgramsOwnClipboardText() {
    QFETCH(QString, published);
    QFETCH(QString, copiedLater);
    Folders folders;
    ScriptedDialogs dialogs;
    MainWindow window(dialogs, folders.folders());
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    if (!published.isNull())
        window.listingClipboard().copy(published);
    if (!copiedLater.isNull())
        clipboard->setText(copiedLater);
    window.close();
    QTEST(clipboard->text(), "afterClose");
}

void TestStartup::windowsOnlyACommandOpensAreMadeWhenAsked() {
    Folders folders;
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    windows.mainWindow().FormActivate();
    const auto made = [](const char* name) {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.cbegin(), all.cend(), [name](const QWidget* widget) {
            return widget->objectName() == QLatin1String(name);
        });
    };
    QCOMPARE(made("T_frmAbout"), 0);
    QAction* about = windows.mainWindow().menuBar()->findChild<QAction*>("mnuAbout");
    about->trigger();
    about->trigger();
    QCOMPARE(dialogs.shownOf("modal"), QStringList({"T_frmAbout", "T_frmAbout"}));
    QCOMPARE(made("T_frmAbout"), 1);
}

void TestStartup::previewIsMadeAfterTheFirstPaint() {
    Folders folders;
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.pages()->currentIndex(), 0);
    QTRY_VERIFY(window.findChild<PreviewBrowser*>());
}

void TestStartup::layoutPageRightAfterStartShowsThePreview() {
    Folders folders;
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.show();
    window.FormActivate(); // as the window's activation does
    // Before anything has been painted, so before the preview exists.
    QVERIFY(!window.findChild<PreviewBrowser*>());
    window.pages()->setCurrentIndex(1);
    auto* preview = dynamic_cast<PreviewController*>(window.preview());
    QVERIFY(preview);
    PreviewBrowser* browser = preview->broPreview();
    QTRY_COMPARE_WITH_TIMEOUT(browser->title(), QStringLiteral("Generated by Vantrel"), 60000);
    QTRY_VERIFY(window.layoutControls().controls().gbxTA->isVisible());
    QVERIFY(browser->isVisible());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestStartup::closingRightAfterStartEndsCleanly_data() {
    QTest::addColumn<bool>("painted");
    QTest::newRow("before the first paint") << false;
    QTest::newRow("right after the first paint") << true;
}

void TestStartup::closingRightAfterStartEndsCleanly() {
    QFETCH(bool, painted);
    Folders folders;
    ScriptedDialogs dialogs;
    auto windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
    MainWindow& window = windows->mainWindow();
    window.show();
    if (painted)
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.close());
    QVERIFY(dialogs.shown.isEmpty()); // nothing to save, nothing asked
    QTest::qWait(200);                // whatever was due after the paint
    // A window closed at once does not start the web engine any more.
    QVERIFY(!window.findChild<PreviewBrowser*>());
    windows.reset();
}

void TestStartup::asRootTheBrowserStartsAndItIsSaid() {
    if (geteuid() != 0)
        QSKIP("only root meets the browser engine's refusal");
    // The program as a seller starts it: none of the test run's settings
    // that turn the engine's sandbox off.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                       QStringLiteral("--disable-gpu"));
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        environment.insert(QLatin1String(name), home.path());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vantrel"));
    QVERIFY(program.waitForStarted());

    // The engine starts after the window's first paint; without its sandbox
    // settled, it ended the whole program at once.
    QTRY_VERIFY_WITH_TIMEOUT(
        program.state() == QProcess::NotRunning || hasBrowserHelper(program.processId()), 120000);
    const bool running = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(running, qPrintable(errors));
    QCOMPARE(errors.count(QStringLiteral("runs as root")), 1);
}

void TestStartup::unreadableFileIsNamedAndTheStartGoesOnWithDefaults_data() {
    QTest::addColumn<QString>("folder"); // "program" or "shared"
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("settings"); // null: none, or the file under test
    QTest::addColumn<QString>("fileMenu");
    QTest::newRow("robustness: settings file") << "shared"
                                               << "defaults.ini" << QByteArray() << "&File";
    QTest::newRow("robustness: server list") << "shared"
                                             << "vtrlsrv.dft" << QByteArray() << "&File";
    QTest::newRow("robustness: language file")
        << "program"
        << "fr.ini" << QByteArray("[GENERAL]\r\nlang=fr\r\n") << "Fichier";
    QTest::newRow("robustness: default layout") << "program"
                                                << "Default.rbs" << QByteArray() << "&File";
}

void TestStartup::unreadableFileIsNamedAndTheStartGoesOnWithDefaults() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QByteArray, settings);
    Folders folders;
    if (!settings.isNull())
        folders.writeSettings(settings);
    // Too large to be a settings-style file: it cannot be read.
    const QString path = (folder == "program" ? folders.folders().ProgramFolder
                                              : folders.folders().SharedDataFolder) +
                         name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write("[GENERAL]\r\nlang=fr\r\nDefSrv=3\r\n") > 0);
    QVERIFY(file.write(QByteArray(IniFile::MaxFileSize, ';')) == IniFile::MaxFileSize);
    file.close();

    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.pages()->setCurrentIndex(1); // the Layout page reads the default layout
    window.FormActivate();              // as closing a message box does

    const QStringList errors = dialogs.shownOf("error");
    // A build that offers no product server does not read their list.
    const bool read = name != "vtrlsrv.dft" || serverlist::productServersOffered();
    QCOMPARE(errors.size(), read ? 1 : 0);
    if (read)
        QVERIFY2(errors.first().contains(path), qPrintable(errors.first()));
    // Everything else is as with no file at all.
    const AppState& state = window.state();
    QCOMPARE(state.servers.DefaultServer, 1);
    QVERIFY(state.servers.UseOwnServer);
    QCOMPARE(state.servers.PrimaryServer, QStringLiteral("your primary server *"));
    for (const char* control : {"radServer1", "radServer4", "cbxUseOwnServer", "cbxLinksTarget"})
        QVERIFY2(isChecked(windows.settingsDialog(), control), control);
    QTEST(window.menuBar()->findChild<QMenu*>(QStringLiteral("File1"))->title(), "fileMenu");
    QVERIFY(!state.layout.state().LayoutLoadNeeded);
    QCOMPARE(window.layout().OBWidth, Layout::withDefaults().OBWidth);
}

void TestStartup::programIconIsBuiltInAtEverySize() {
    // Not looked up in an icon theme: the build folder and a fresh prefix
    // have none, and the desktop then shows a generic icon.
    const QIcon icon = programIcon();
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage picture = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(picture.size(), QSize(size, size));
        QVERIFY2(picture.pixelColor(size / 2, size / 2).alpha() > 0, "a picture, not a blank");
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
