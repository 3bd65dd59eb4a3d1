#include "app/appcaption.h"
#include "app/appstate.h"
#include "app/mainwindow.h"
#include "app/programwindows.h"
#include "document/documenteditor.h"
#include "document/documentpage.h"
#include "document/insertpicinfodialog.h"
#include "document/richdocumenteditor.h"
#include "editor/edactionlist.h"
#include "editor/eddialogs.h"
#include "editor/hyperlinkdialog.h"
#include "editor/tdoceditor.h"
#include "editor/tedaction.h"
#include "layout/layout.h"
#include "layout/layoutstate.h"
#include "layoutui/colorcombo.h"
#include "layoutui/layoutpage.h"
#include "layoutui/saveexitdialog.h"
#include "listing/serverlist.h"
#include "listing/sitelist.h"
#include "pagegen/pagegenerator.h"
#include "pagegen/publishingstate.h"
#include "platform/apperror.h"
#include "platform/inifile.h"
#include "platform/safefile.h"
#include "platform/uilanguage.h"
#include "platform/windows1252.h"
#include "publish/addsitedialog.h"
#include "publish/editsitedialog.h"
#include "publish/exportinfodialog.h"
#include "publish/listingfindingsdialog.h"
#include "publish/testimagesdialog.h"
#include "settingsui/settingsdialog.h"
#include "support/testfolders.h"
#include "supportui/scripteddialogs.h"
#include "ui/languageapplier.h"
#include "ui/qtuserdialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>

using uilanguage::FixedKey;
using uilanguage::Target;

Q_DECLARE_METATYPE(uilanguage::FixedKey)
using MessageSource = std::function<QString()>;
Q_DECLARE_METATYPE(MessageSource)

namespace {

QString shippedFile(const QString& code) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + code +
           QStringLiteral(".ini");
}

/// Every window of the program on temporary folders, activated once.
struct Program {
    TestFolders folders;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProgramWindows> windows;

    explicit Program(const QByteArray& settings = QByteArray()) {
        if (!settings.isNull())
            folders.write(QStringLiteral("shared/defaults.ini"), settings);
        windows = std::make_unique<ProgramWindows>(dialogs, folders.folders());
        window().FormActivate();
        window().preview(); // the web parts, made after the first paint
        // The windows only a command opens, as the commands make them.
        windows->aboutDialog();
        windows->affiliateWindow();
    }
    MainWindow& window() const { return windows->mainWindow(); }
    QString programFile(const QString& name) const {
        return folders.folders().ProgramFolder + name;
    }
    void writeLanguageFile(const QString& code, const QByteArray& bytes) const {
        folders.write(QStringLiteral("program/") + code + QStringLiteral(".ini"), bytes);
    }
    void shipLanguageFiles() const {
        for (const QString& code : {QStringLiteral("en"), QStringLiteral("fr")}) {
            QFile::remove(programFile(code + ".ini"));
            QVERIFY(QFile::copy(shippedFile(code), programFile(code + ".ini")));
        }
    }
    /// The language applied as the main window's activation applies it.
    void apply(const QString& code) const {
        window().state().LanguageCode = code;
        window().FormActivate();
    }
    QString text(const FixedKey& key) const {
        const auto shown = languageapplier::shownText(languageapplier::programWindows(), key);
        if (!shown)
            qFatal("no control for [%s] %s", qPrintable(key.section), qPrintable(key.key));
        return *shown;
    }
    QAction* action(const char* name) const {
        return window().menuBar()->findChild<QAction*>(QLatin1String(name));
    }
};

FixedKey mainKey(const char* object, Target target = Target::Caption) {
    return {QString(), QString(), QStringLiteral("T_FrmMain"), QLatin1String(object), target};
}

FixedKey keyIn(const char* window, const char* object, Target target = Target::Caption) {
    return {QString(), QString(), QLatin1String(window), QLatin1String(object), target};
}

std::optional<FixedKey> fixedKey(const QString& code, const QString& section, const QString& key) {
    for (const FixedKey& fixed : uilanguage::fixedKeys(code)) {
        if (fixed.section.compare(section, Qt::CaseInsensitive) == 0 &&
            fixed.key.compare(key, Qt::CaseInsensitive) == 0)
            return fixed;
    }
    return std::nullopt;
}

/// A text the program shows that a language file can give, found by its key.
std::optional<languageapplier::ShownText> generalText(const QString& section, const QString& key) {
    for (QWidget* window : languageapplier::programWindows()) {
        if (window->objectName().compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const languageapplier::ShownText& shown : languageapplier::shownTexts(window)) {
            if (shown.key.compare(key, Qt::CaseInsensitive) == 0)
                return shown;
        }
    }
    return std::nullopt;
}

/// A text of a dialog made on demand, as it shows when it opens.
std::optional<QString> onDemandText(const QString& section, const QString& key) {
    if (section == QLatin1String("HyperlinkDialog")) {
        HyperlinkDialog dialog;
        dialog.show();
        for (const languageapplier::ShownText& shown : languageapplier::shownTexts(&dialog)) {
            if (shown.key.compare(key, Qt::CaseInsensitive) == 0)
                return shown.text;
        }
        return std::nullopt;
    }
    if (section != QLatin1String("T_frmListingFindings"))
        return std::nullopt;
    listingrules::Finding finding;
    // The dialog for errors has other texts than the one for warnings.
    const bool errors = key.contains(QLatin1String("anyway"), Qt::CaseInsensitive) ||
                        key.startsWith(QLatin1String("Marketplaces"));
    finding.severity = errors ? listingrules::Severity::Error : listingrules::Severity::Warning;
    ListingFindingsDialog dialog({finding});
    dialog.show();
    for (const languageapplier::ShownText& shown : languageapplier::shownTexts(&dialog)) {
        if (shown.key.compare(key, Qt::CaseInsensitive) == 0)
            return shown.text;
    }
    return std::nullopt;
}

QString marker(const QString& section, const QString& key) {
    return QStringLiteral("#%1/%2#").arg(section, key);
}

/// The language file with every value replaced by a marker naming its key.
QByteArray markerFile(const QString& fileName) {
    const IniFile source(fileName);
    QByteArray bytes;
    for (const QString& section : source.readSections()) {
        bytes += "[" + windows1252::encode(section) + "]\r\n";
        for (const QString& key : source.readSectionKeys(section))
            bytes += windows1252::encode(key + QLatin1Char('=') + marker(section, key)) + "\r\n";
    }
    return bytes;
}

bool toolBarBuilt() {
    return languageapplier::shownText(languageapplier::programWindows(),
                                      mainKey("tobSelectAll", Target::Hint))
        .has_value();
}

// Names and words that read the same in French.
const QStringList sameInBothLanguages = {
    QStringLiteral("Vantrel"),  QStringLiteral("Type"),           QStringLiteral("Transparent"),
    QStringLiteral("OK"),       QStringLiteral("Vantrel alt. 1"), QStringLiteral("Vantrel alt. 2"),
    QStringLiteral("Port"),     QStringLiteral("Document"),       QStringLiteral("Documents"),
    QStringLiteral("Options"),  QStringLiteral("English"),        QStringLiteral("Deutsch"),
    QStringLiteral("Español"),  QStringLiteral("Italiano"),       QStringLiteral("Nederlands"),
    QStringLiteral("Français"), QStringLiteral("Format"),         QStringLiteral("Zoom"),
    QStringLiteral("Europe"),   QStringLiteral("Olive"),          QStringLiteral("Fuchsia"),
    QStringLiteral("double"),   QStringLiteral("SFTP"),
};

/// A standard button's text as Qt's own translation gives it.
bool isQtTranslatedButton(const QString& text) {
    for (const char* english : {"OK", "Cancel", "Close", "&Yes", "&No", "Apply", "Help"}) {
        const QString translated = QCoreApplication::translate("QPlatformTheme", english);
        if (translated != QLatin1String(english) && text == translated)
            return true;
    }
    return false;
}

bool isEnglishLeftover(const languageapplier::ShownText& shown) {
    if (shown.text.isEmpty() || shown.text != shown.designed || isQtTranslatedButton(shown.text))
        return false;
    // The editor component's own actions keep its language.
    if (shown.key.startsWith(QLatin1String("edAction")))
        return false;
    QString plain = Qt::mightBeRichText(shown.text)
                        ? QTextDocumentFragment::fromHtml(shown.text).toPlainText()
                        : shown.text;
    plain = plain.remove(QLatin1Char('&')).trimmed();
    while (plain.endsWith(QLatin1Char('.')))
        plain.chop(1);
    if (sameInBothLanguages.contains(plain))
        return false;
    // Numbers, symbols and addresses are no language.
    const bool hasWord =
        std::any_of(plain.begin(), plain.end(), [](QChar c) { return c.isLetter(); });
    return hasWord && !plain.startsWith(QLatin1String("http")) &&
           !plain.startsWith(QLatin1String("www."));
}

/// The texts of the window still in English, as "[section] key=text".
QStringList englishLeftovers(QWidget* window) {
    QStringList leftovers;
    for (const languageapplier::ShownText& shown : languageapplier::shownTexts(window)) {
        if (isEnglishLeftover(shown))
            leftovers.append(
                QStringLiteral("[%1] %2=%3").arg(shown.section, shown.key, shown.text));
    }
    return leftovers;
}

template <typename Window>
Window* programWindow() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget))
            return window;
    }
    qFatal("the program has no %s", Window::staticMetaObject.className());
    return nullptr;
}

/// Shows every window the program opens or fills on demand, each the way
/// the program opens it, and gives it to `look` while it shows.
void forEachShownWindow(Program& program, const std::function<void(QWidget&)>& look) {
    const auto show = [&look](QDialog& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        look(dialog);
        dialog.hide();
        return int(QDialog::Rejected);
    };
    // Every dialog as it shows, which applies the language to it again.
    for (QWidget* window : languageapplier::programWindows()) {
        if (auto* dialog = qobject_cast<QDialog*>(window))
            show(*dialog);
    }
    programWindow<SaveExitDialog>()->setChangedFile(QStringLiteral("Sample.rbs"));
    show(*programWindow<SaveExitDialog>());
    programWindow<TestImagesDialog>()->setRequiredImages(
        {QStringLiteral("https://example.com/a.jpg")});
    show(*programWindow<TestImagesDialog>());
    programWindow<InsertPicInfoDialog>()->showPaths(QStringLiteral("/pictures/a.jpg"),
                                                    QStringLiteral("/pictures/"));
    show(*programWindow<InsertPicInfoDialog>());
    program.dialogs.modalActions.enqueue(show);
    programWindow<AddSiteDialog>()->showForRegion(0);
    program.dialogs.modalActions.enqueue(show);
    programWindow<EditSiteDialog>()->showForSite(0, QStringLiteral("Site"),
                                                 QStringLiteral("https://example.com/"));
    program.dialogs.modalActions.enqueue(show);
    programWindow<ExportInfoDialog>()->showModally();
    HyperlinkDialog link;
    show(link);
    for (const auto severity : {listingrules::Severity::Error, listingrules::Severity::Warning}) {
        listingrules::Finding finding;
        finding.severity = severity;
        ListingFindingsDialog findings({finding});
        show(findings);
    }
}

/// A caption's words as they show, one line each.
QStringList shownLines(QString text, bool rich) {
    if (rich)
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.split(QLatin1Char('\n'));
}

int widestLine(const QFontMetrics& metrics, const QStringList& lines) {
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

/// The texts of a shown window that its size cuts: a title the window
/// manager would shorten (in a bold title face, beside an icon and three
/// buttons: about seven lines' height), a caption narrower than its words, a wrapped text taller
/// than its place.
QStringList cutTexts(QWidget& window) {
    QStringList cut;
    const QString where = window.objectName() + QStringLiteral(": ");
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    const QString caption = window.windowTitle();
    if (!caption.isEmpty() &&
        window.width() < title.horizontalAdvance(caption) + 7 * title.height())
        cut << where + QStringLiteral("title \"%1\" in %2 pixels").arg(caption).arg(window.width());
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->window() != &window)
            continue;
        const QFontMetrics metrics = widget->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            const bool rich =
                label->textFormat() == Qt::RichText ||
                (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
            const bool whole = label->wordWrap()
                                   ? label->height() >= label->heightForWidth(label->width())
                                   : label->contentsRect().width() >=
                                         widestLine(metrics, shownLines(label->text(), rich));
            if (!whole)
                cut << where + QStringLiteral("label \"%1\"").arg(label->text());
        } else if (auto* box = qobject_cast<QCheckBox*>(widget);
                   box && box->width() < box->sizeHint().width()) {
            cut << where + QStringLiteral("check box \"%1\"").arg(box->text());
        } else if (auto* radio = qobject_cast<QRadioButton*>(widget);
                   radio && radio->width() < radio->sizeHint().width()) {
            cut << where + QStringLiteral("radio button \"%1\"").arg(radio->text());
        } else if (auto* button = qobject_cast<QPushButton*>(widget);
                   button &&
                   button->width() < widestLine(metrics, shownLines(button->text(), false))) {
            cut << where + QStringLiteral("button \"%1\"").arg(button->text());
        } else if (auto* group = qobject_cast<QGroupBox*>(widget);
                   group &&
                   group->width() < widestLine(metrics, shownLines(group->title(), false))) {
            cut << where + QStringLiteral("group \"%1\"").arg(group->title());
        }
    }
    return cut;
}

/// The English leftovers of the windows the program opens or fills on
/// demand, each opened the way the program opens it.
QStringList onDemandLeftovers(Program& program) {
    QStringList leftovers;
    forEachShownWindow(program,
                       [&leftovers](QWidget& window) { leftovers += englishLeftovers(&window); });
    // The message boxes' buttons.
    QtUserDialogs qtBoxes(QStringLiteral("Vantrel"));
    UserDialogs& boxes = qtBoxes;
    const auto lookAtBox = [&leftovers] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        const QStringList english = {QStringLiteral("&Yes"), QStringLiteral("&No"),
                                     QStringLiteral("Cancel")};
        for (QAbstractButton* button : box->buttons()) {
            if (english.contains(button->text()))
                leftovers.append(QStringLiteral("[BUTTONS] ") + button->text());
        }
        box->reject();
    };
    QTimer::singleShot(0, lookAtBox);
    boxes.askYesNoCancel(QStringLiteral("?"));
    QTimer::singleShot(0, lookAtBox);
    boxes.showMessage(QStringLiteral("!"));
    return leftovers;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void everyKeyOfTheFilesSetsItsText_data();
    void everyKeyOfTheFilesSetsItsText();
    void frenchWithoutFileShowsTheBuiltInTexts_data();
    void frenchWithoutFileShowsTheBuiltInTexts();
    void englishWithoutFullFileShowsTheDesignedTexts_data();
    void englishWithoutFullFileShowsTheDesignedTexts();
    void fileTextsArePlain_data();
    void fileTextsArePlain();
    void frenchKeepsTheEnglishHintsItDoesNotRead();
    void choosingALanguageWritesItAndAppliesIt_data();
    void choosingALanguageWritesItAndAppliesIt();
    void menuSwitchesLanguageAndBack();
    void frenchLeavesNoEnglishText();
    void menuEntriesHaveTheirOwnKeys_data();
    void menuEntriesHaveTheirOwnKeys();
    void windowsShowTheirWholeTexts_data();
    void windowsShowTheirWholeTexts();
    void frenchTextsNameSettingsPagesThatExist_data();
    void frenchTextsNameSettingsPagesThatExist();
    void captionsFollowTheLanguageAtOnce();
    void editorDialogsFollowTheLanguage_data();
    void editorDialogsFollowTheLanguage();
    void layoutPreviewFollowsTheLanguageAtOnce();
    void welcomeDocumentFollowsTheLanguage_data();
    void welcomeDocumentFollowsTheLanguage();
    void shownListItemsFollowTheLanguage();
    void unknownCodeChangesNothing();
    void messageTextsFollowTheLanguage();
    void programMessagesFollowTheLanguage_data();
    void programMessagesFollowTheLanguage();
    void init() {
        // The other tests build their own program: one at a time.
        if (QLatin1String(QTest::currentTestFunction()) !=
            QLatin1String("everyKeyOfTheFilesSetsItsText"))
            m_program.reset();
    }
    void cleanupTestCase() { m_program.reset(); }

private:
    // One program for the table over every key of the files.
    std::unique_ptr<Program> m_program;
};

void TestLanguage::everyKeyOfTheFilesSetsItsText_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    for (const QString& code : {QStringLiteral("en"), QStringLiteral("fr")}) {
        const IniFile shipped(shippedFile(code));
        QVERIFY2(QFile::exists(shipped.fileName()), qPrintable(shipped.fileName()));
        for (const QString& section : shipped.readSections()) {
            for (const QString& key : shipped.readSectionKeys(section)) {
                const QString row = code + QLatin1Char(' ') + section + QLatin1Char('/') + key;
                QTest::newRow(qPrintable(row)) << code << section << key;
            }
        }
    }
}

void TestLanguage::everyKeyOfTheFilesSetsItsText() {
    QFETCH(QString, code);
    QFETCH(QString, section);
    QFETCH(QString, key);
    if (!m_program)
        m_program = std::make_unique<Program>();
    m_program->writeLanguageFile(code, markerFile(shippedFile(code)));
    m_program->apply(code);

    QString shown;
    if (const auto fixed = fixedKey(code, section, key)) {
        if (fixed->object.startsWith(QLatin1String("tob")) && !toolBarBuilt())
            QSKIP("The Document page has no tool bar yet.");
        const auto text = languageapplier::shownText(languageapplier::programWindows(), *fixed);
        QVERIFY2(text, "the key names no control of the program");
        shown = *text;
    } else if (section == QLatin1String("MESSAGES") || section == QLatin1String("BUTTONS") ||
               section == QLatin1String("EDITOR") || section == QLatin1String("WEBDAV")) {
        // Texts of messages, of the message boxes' buttons, of the editor's file dialogs
        // and of sending pictures to a WebDAV server.
        shown = uilanguage::text(section, key, QString());
    } else if (section == QLatin1String("HttpClient") ||
               section == QLatin1String("ImageAvailability")) {
        // Texts the code marks for translation, under their class.
        shown = QCoreApplication::translate(qPrintable(section), qPrintable(key));
    } else {
        if (key.startsWith(QLatin1String("tob")) && !toolBarBuilt())
            QSKIP("The Document page has no tool bar yet.");
        if (const auto text = onDemandText(section, key)) {
            shown = *text;
        } else {
            const auto general = generalText(section, key);
            QVERIFY2(general, "the key names no text of that window");
            shown = general->text;
        }
    }
    // A link label shows the words of its link.
    if (Qt::mightBeRichText(shown))
        shown = QTextDocumentFragment::fromHtml(shown).toPlainText();
    QCOMPARE(shown, marker(section, key));
}

void TestLanguage::frenchWithoutFileShowsTheBuiltInTexts_data() {
    QTest::addColumn<FixedKey>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("File menu") << mainKey("File1") << "Fichier";
    QTest::newRow("Language menu") << mainKey("Language1") << "Langue";
    QTest::newRow("Options, corrected") << mainKey("Settings1") << QString::fromUtf8("Réglages");
    QTest::newRow("Help menu") << mainKey("Help1") << "Aide";
    QTest::newRow("outer border box") << mainKey("gbxOB") << " Bordure externe .";
    QTest::newRow("frame box") << mainKey("gbxF") << " Cadre .";
    QTest::newRow("inner border box") << mainKey("gbxIB") << " Bordure interne .";
    QTest::newRow("text area box") << mainKey("gbxTA") << " Zone de texte .";
    QTest::newRow("right margin, corrected") << mainKey("lblTxTMarginRight") << "Marge droite";
    QTest::newRow("inner width copies outer") << mainKey("lblIBWidth") << "Epaisseur";
    QTest::newRow("inner type copies outer") << mainKey("lblIBType") << "Type";
    QTest::newRow("inner info copies outer")
        << mainKey("lblInfoIBWidth") << "Epaiss. minimum de 3 pour le type Double";
    QTest::newRow("text transparent copies frame") << mainKey("cbxTxtCol") << "Transparent";
    QTest::newRow("border colour, French only")
        << mainKey("clrOB", Target::Caption) << "Couleur Bord.";
    QTest::newRow("settings caption, corrected")
        << keyIn("T_frmSettings", "", Target::WindowCaption)
        << QString::fromUtf8("Options de réglage");
    QTest::newRow("product server field") << keyIn("T_frmSettings", "edtServer1", Target::EditLabel)
                                          << QString::fromUtf8("Vantrel par défaut");
    QTest::newRow("personal server field")
        << keyIn("T_frmSettings", "edtServer4", Target::EditLabel)
        << QString::fromUtf8("* Votre serveur principal");
    QTest::newRow("secondary personal field has its key")
        << keyIn("T_frmSettings", "edtServer5", Target::EditLabel)
        << QString::fromUtf8("* Votre serveur secondaire");
    QTest::newRow("cancel, French only") << keyIn("T_frmSaveExit", "btnCancel") << "Annuler";
    QTest::newRow("publish help box")
        << keyIn("T_frmExport1", "cbxExportHelpHide")
        << QString::fromUtf8("Ne plus montrer cette fenêtre (voir \"Réglages - Options - Autres "
                             "options\" pour la rétablir)");
}

void TestLanguage::frenchWithoutFileShowsTheBuiltInTexts() {
    QFETCH(FixedKey, control);
    Program program("[General]\r\nlang=fr\r\n");
    QTEST(program.text(control), "text");
    QVERIFY(program.action("fr")->isChecked());
    QVERIFY(!program.action("en")->isChecked());
}

void TestLanguage::englishWithoutFullFileShowsTheDesignedTexts_data() {
    QTest::addColumn<QByteArray>("file"); // null: no "en.ini"
    QTest::newRow("robustness: no en.ini") << QByteArray();
    QTest::newRow("robustness: en.ini without MAIN")
        << QByteArray("[SETTINGS]\r\ncapt_window=Marked\r\n");
    QTest::newRow("robustness: empty en.ini") << QByteArray("");
}

void TestLanguage::englishWithoutFullFileShowsTheDesignedTexts() {
    QFETCH(QByteArray, file);
    Program program;
    // French first, so that every English text has to come back.
    program.apply(QStringLiteral("fr"));
    QCOMPARE(program.text(mainKey("File1")), "Fichier");
    if (!file.isNull())
        program.writeLanguageFile(QStringLiteral("en"), file);
    program.apply(QStringLiteral("en"));
    QCOMPARE(program.text(mainKey("File1")), "&File");
    QCOMPARE(program.text(mainKey("Language1")), "&Language");
    QCOMPARE(program.text(mainKey("Settings1")), "&Options");
    QCOMPARE(program.text(mainKey("Help1")), "&Help");
    QCOMPARE(program.text(mainKey("gbxOB")), " Outer Border ");
    QCOMPARE(program.text(mainKey("lblIBWidth")), "Width");
    QCOMPARE(program.text(keyIn("T_frmSettings", "edtServer5", Target::EditLabel)),
             "* Personal secondary server");
    QCOMPARE(program.text(keyIn("T_frmSettings", "", Target::WindowCaption)),
             file.contains("Marked") ? "Marked" : "Application settings");
    QVERIFY(program.action("en")->isChecked());
    QVERIFY(!program.action("fr")->isChecked());
}

void TestLanguage::fileTextsArePlain_data() {
    QTest::addColumn<QByteArray>("line"); // in [SETTINGS] of fr.ini
    QTest::addColumn<FixedKey>("control");
    QTest::addColumn<QString>("shown");
    const FixedKey plainLabel = keyIn("T_frmSettings", "lblDefaultServer");
    QTest::newRow("&& on a label without buddy")
        << QByteArray("lbl_default=A && B") << plainLabel << "A & B";
    QTest::newRow("markup on a label")
        << QByteArray("lbl_default=<b>bold</b>") << plainLabel << "<b>bold</b>";
    QTest::newRow("&& on a tab") << QByteArray("capt_tabOthers=Pop && up")
                                 << keyIn("T_frmSettings", "tabOthers") << "Pop && up";
    QTest::newRow("&& in a window caption")
        << QByteArray("capt_window=A && B") << keyIn("T_frmSettings", "", Target::WindowCaption)
        << "A & B";
    QTest::newRow("quotes keep the blanks")
        << QByteArray("lbl_default=\" spaced \"") << plainLabel << " spaced ";
    QTest::newRow("single quotes too")
        << QByteArray("lbl_default=' spaced '") << plainLabel << " spaced ";
    QTest::newRow("an empty value is a text") << QByteArray("lbl_default=") << plainLabel << "";
    QTest::newRow("link words on a link label")
        << QByteArray("[EXPORT1]\r\nlbl_showHelp=<Aide & plus>") << mainKey("lblShowHideHelp")
        << "<a href=\"#\" style=\"color:blue\">&lt;Aide &amp; plus&gt;</a>";
}

void TestLanguage::fileTextsArePlain() {
    QFETCH(QByteArray, line);
    QFETCH(FixedKey, control);
    Program program;
    program.writeLanguageFile(QStringLiteral("fr"), "[SETTINGS]\r\n" + line + "\r\n");
    program.apply(QStringLiteral("fr"));
    QTEST(program.text(control), "shown");
    for (QWidget* window : languageapplier::programWindows()) {
        const auto* label = window->findChild<QLabel*>(control.object);
        if (label && !control.object.isEmpty() &&
            control.object != QLatin1String("lblShowHideHelp"))
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void TestLanguage::frenchKeepsTheEnglishHintsItDoesNotRead() {
    Program program;
    program.writeLanguageFile(QStringLiteral("en"),
                              "[HINTS]\r\nhint_tobcut=English cut\r\nhint_tobcopy=English copy\r\n"
                              "[SAVEEXIT]\r\ncapt_savoNot=English no\r\n");
    program.writeLanguageFile(QStringLiteral("fr"), "[HINTS]\r\nhint_tobcopy=Copie\r\n");
    program.apply(QStringLiteral("en"));
    if (!toolBarBuilt())
        QSKIP("The Document page has no tool bar yet.");
    program.apply(QStringLiteral("fr"));
    QCOMPARE(program.text(mainKey("tobCut", Target::Hint)), "Couper");
    QCOMPARE(program.text(mainKey("tobCopy", Target::Hint)), "English copy");
}

void TestLanguage::choosingALanguageWritesItAndAppliesIt_data() {
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("nominal: French in place")
        << QByteArray("[General]\r\nlang=en\r\nDefSrv=2\r\n") << QByteArray("fr")
        << QByteArray("[General]\r\nlang=fr\r\nDefSrv=2\r\n");
    QTest::newRow("nominal: English in place")
        << QByteArray("[GENERAL]\r\nDefSrv=2\r\nlang=fr\r\n[Other]\r\nlang=x\r\n")
        << QByteArray("en")
        << QByteArray("[GENERAL]\r\nDefSrv=2\r\nlang=en\r\n[Other]\r\nlang=x\r\n");
    QTest::newRow("nominal: key added to the section")
        << QByteArray("[general]\r\nDefSrv=2\r\n") << QByteArray("fr")
        << QByteArray("[general]\r\nDefSrv=2\r\nlang=fr\r\n");
}

void TestLanguage::choosingALanguageWritesItAndAppliesIt() {
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, command);
    Program program(settings);
    program.shipLanguageFiles();
    program.action(command.constData())->trigger();
    QFile written(program.folders.folders().settingsFile());
    QVERIFY(written.open(QIODevice::ReadOnly));
    QTEST(written.readAll(), "written");
    QCOMPARE(program.window().state().LanguageCode, QString::fromLatin1(command));
    QCOMPARE(program.action("fr")->isChecked(), command == "fr");
    QCOMPARE(program.action("en")->isChecked(), command == "en");
    QVERIFY(program.dialogs.shown.isEmpty());
}

void TestLanguage::menuSwitchesLanguageAndBack() {
    Program program;
    program.shipLanguageFiles();
    program.window().FormActivate();
    const FixedKey file = mainKey("File1");
    const FixedKey cancel = keyIn("T_frmSaveExit", "btnCancel");
    QCOMPARE(program.text(file), "&File");
    program.action("fr")->trigger();
    QCOMPARE(program.text(file), "&Fichier");
    QCOMPARE(program.text(cancel), "Annuler");
    // A changed file shows at the next activation.
    program.writeLanguageFile(QStringLiteral("fr"), "[MAIN]\r\nmnu_file=Dossier\r\n");
    QCOMPARE(program.text(file), "&Fichier");
    program.window().FormActivate();
    QCOMPARE(program.text(file), "Dossier");
    program.action("en")->trigger();
    QCOMPARE(program.text(file), "&File");
    QCOMPARE(program.text(cancel), "Cancel");
    QCOMPARE(program.text(mainKey("clrOB", Target::Caption)), "Border color");
    QCOMPARE(IniFile(program.folders.folders().settingsFile()).readString("GENERAL", "lang", ""),
             "en");
}

void TestLanguage::frenchLeavesNoEnglishText() {
    Program program;
    program.shipLanguageFiles();
    program.apply(QStringLiteral("fr"));
    QStringList leftovers;
    for (QWidget* window : languageapplier::programWindows())
        leftovers += englishLeftovers(window);
    leftovers += onDemandLeftovers(program);
    leftovers.sort();
    leftovers.removeDuplicates();
    if (!leftovers.isEmpty()) {
        QFAIL(qPrintable(
            QStringLiteral("%1 texts are still English with French applied; give each its "
                           "French in data/source/fr.ini (section, key=English text):\n%2")
                .arg(leftovers.size())
                .arg(leftovers.join(QLatin1Char('\n')))));
    }
}

void TestLanguage::menuEntriesHaveTheirOwnKeys_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("French") << QStringLiteral("fr");
}

/// Every menu and every entry a seller can choose is reachable with Alt and a
/// letter, and no two entries of one menu share that letter.
void TestLanguage::menuEntriesHaveTheirOwnKeys() {
    QFETCH(QString, code);
    Program program;
    program.shipLanguageFiles();
    program.apply(code);
    QStringList faults;
    std::function<void(const QString&, const QList<QAction*>&)> check =
        [&](const QString& where, const QList<QAction*>& entries) {
            QHash<QKeySequence, QString> taken;
            for (QAction* entry : entries) {
                if (entry->isSeparator() || !entry->isEnabled() || !entry->isVisible())
                    continue;
                const QString text = entry->text();
                const QKeySequence key = QKeySequence::mnemonic(text);
                if (key.isEmpty())
                    faults << where + QStringLiteral(": no key in \"") + text + u'"';
                else if (taken.contains(key))
                    faults << where + QStringLiteral(": \"") + text + QStringLiteral("\" and \"") +
                                  taken.value(key) + QStringLiteral("\" share a key");
                else
                    taken.insert(key, text);
                if (entry->menu())
                    check(where + QStringLiteral(" > ") + text, entry->menu()->actions());
            }
        };
    check(QStringLiteral("menu bar"), program.window().menuBar()->actions());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    // The desktop's keys are shown beside their entries.
    QCOMPARE(program.action("Exit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(program.action("mnuOnlineHelp")->shortcut(), QKeySequence(QKeySequence::HelpContents));
}

void TestLanguage::windowsShowTheirWholeTexts_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("English") << "en";
    QTest::newRow("French") << "fr";
}

void TestLanguage::windowsShowTheirWholeTexts() {
    QFETCH(QString, code);
    Program program;
    program.shipLanguageFiles();
    // English shown first, as a seller who switches meets them.
    program.apply(QStringLiteral("en"));
    forEachShownWindow(program, [](QWidget&) {});
    program.apply(code);
    QStringList cut;
    const auto look = [&cut](QWidget& window) { cut += cutTexts(window); };
    forEachShownWindow(program, look);
    // The windows beside the main window that are not dialogs.
    for (QWidget* window : languageapplier::programWindows()) {
        if (qobject_cast<QDialog*>(window) || qobject_cast<QMainWindow*>(window))
            continue;
        window->show();
        QCoreApplication::processEvents();
        look(*window);
        window->hide();
    }
    // The editor's dialogs, as its commands open them over the editor.
    QWidget* editor = program.window().editor().widget();
    const auto pickColor = [](const QColor& color) { return std::optional<QColor>(color); };
    std::vector<std::unique_ptr<QDialog>> editorDialogs;
    editorDialogs.emplace_back(new EdFindDialog(false, editor));
    editorDialogs.emplace_back(new EdFindDialog(true, editor));
    editorDialogs.emplace_back(new EdParagraphDialog(editor));
    editorDialogs.emplace_back(new EdParaBorderDialog(pickColor, editor));
    editorDialogs.emplace_back(new EdLineDialog(pickColor, editor));
    editorDialogs.emplace_back(new EdTablePropertiesDialog(editor));
    editorDialogs.emplace_back(new EdCharCaseDialog(editor));
    editorDialogs.emplace_back(new EdSymbolDialog(editor));
    editorDialogs.emplace_back(new EdListDialog(editor));
    editorDialogs.emplace_back(new HyperlinkDialog(editor));
    for (const auto& dialog : editorDialogs) {
        dialog->show();
        QCoreApplication::processEvents();
        look(*dialog);
        dialog->hide();
    }
    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestLanguage::frenchTextsNameSettingsPagesThatExist_data() {
    QTest::addColumn<QString>("text");
    // The shipped French texts and help page that send the seller to a page
    // of the settings, "Réglages - <page>".
    const QString settings = QString::fromUtf8("Réglages - ");
    const IniFile shipped(shippedFile(QStringLiteral("fr")));
    for (const QString& section : shipped.readSections()) {
        for (const QString& key : shipped.readSectionKeys(section)) {
            const QString text = shipped.readString(section, key, QString());
            if (text.contains(settings))
                QTest::newRow(qPrintable(section + QLatin1Char('/') + key)) << text;
        }
    }
    QFile help(QCoreApplication::applicationDirPath() + QStringLiteral("/fr_export1.html"));
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QString page =
        QTextDocumentFragment::fromHtml(windows1252::decode(help.readAll())).toPlainText();
    QVERIFY(page.contains(settings));
    QTest::newRow("publishing help page") << page;
}

void TestLanguage::frenchTextsNameSettingsPagesThatExist() {
    QFETCH(QString, text);
    Program program;
    program.shipLanguageFiles();
    program.apply(QStringLiteral("fr"));
    QStringList pages;
    auto* tabs = programWindow<SettingsDialog>()->findChild<QTabWidget*>();
    QVERIFY(tabs);
    for (int page = 0; page < tabs->count(); ++page)
        pages << tabs->tabText(page).replace(QLatin1String("&&"), QLatin1String("&"));
    const QString settings = QString::fromUtf8("Réglages - ");
    for (qsizetype at = text.indexOf(settings); at >= 0; at = text.indexOf(settings, at + 1)) {
        const QString named = text.mid(at + settings.size());
        const bool exists = std::any_of(pages.begin(), pages.end(), [&named](const QString& page) {
            return named.startsWith(page);
        });
        QVERIFY2(exists, qPrintable(QStringLiteral("\"%1\" names no page of %2")
                                        .arg(named.left(40), pages.join(QLatin1String(", ")))));
    }
}

void TestLanguage::captionsFollowTheLanguageAtOnce() {
    Program program;
    program.shipLanguageFiles();
    program.folders.write(QStringLiteral("shared/sys.dft"),
                          "[EUROPE]\r\nShop=https://shop.example/\r\n");
    program.folders.write(QStringLiteral("shared/defaults.ini"), "[General]\r\nRegion=1\r\n");
    program.window().FormActivate();
    QString published;
    const auto publish = [&program, &published] {
        program.dialogs.modalActions.enqueue([&published](QDialog& dialog) {
            published = dialog.windowTitle();
            return int(QDialog::Rejected);
        });
        programWindow<ExportInfoDialog>()->showModally();
        return published;
    };
    // The seller's own document, past the welcome.
    program.window().editor().newDocument();
    program.window().editor().setReadOnly(false);
    QCOMPARE(program.window().windowTitle(), "Vantrel (editing document : Untitled.vdoc)");
    QCOMPARE(publish(), "Publishing to : Shop");
    // No page change, no other site: the language alone.
    program.action("fr")->trigger();
    QCOMPARE(program.window().windowTitle(),
             QString::fromUtf8("Vantrel (édition du document : Untitled.vdoc)"));
    QCOMPARE(publish(), "Publication sur : Shop");
    program.action("en")->trigger();
    QCOMPARE(program.window().windowTitle(), "Vantrel (editing document : Untitled.vdoc)");
    QCOMPARE(publish(), "Publishing to : Shop");
}

void TestLanguage::editorDialogsFollowTheLanguage_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("shown"); // with French applied
    QTest::addColumn<QString>("title"); // of the message box; the file filter's start
    QTest::newRow("insert picture")
        << "edActionInsertPicture1" << QString::fromUtf8("open: Insérer une image")
        << "Toutes les images (*.jpg *.gif *.png)|*.jpg;*.gif;*.png|Images JPEG (*.jpg)";
    QTest::newRow("open") << "edActionOpen1"
                          << "open: Ouvrir un document"
                          << "Documents Vantrel (*.vdoc)|*.vdoc";
    QTest::newRow("save as") << "edActionSaveAs1"
                             << "save: Enregistrer le document sous"
                             << "Documents Vantrel (*.vdoc)|*.vdoc";
    QTest::newRow("unsaved changes")
        << "edActionNew1"
        << "yesnocancel: Enregistrer les modifications de Untitled.vdoc ?"
        << "Confirmation";
}

void TestLanguage::editorDialogsFollowTheLanguage() {
    QFETCH(QString, action);
    QFETCH(QString, shown);
    QFETCH(QString, title);
    Program program;
    program.shipLanguageFiles();
    program.apply(QStringLiteral("fr"));
    RichDocumentEditor& editor = program.window().documentPage().richEditor();
    editor.newDocument();
    editor.setReadOnly(false);
    // Only a changed document is asked about.
    editor.editor().setDocumentModified(shown.startsWith(QLatin1String("yesnocancel")));
    program.dialogs.shown.clear();
    editor.actions().action(action)->trigger();
    QCOMPARE(program.dialogs.shown, QStringList{shown});
    if (shown.startsWith(QLatin1String("yesnocancel")))
        QCOMPARE(program.dialogs.lastTitle, title);
    else
        QVERIFY2(program.dialogs.lastFileDialog.filter.startsWith(title),
                 qPrintable(program.dialogs.lastFileDialog.filter));
}

void TestLanguage::layoutPreviewFollowsTheLanguageAtOnce() {
    Program program;
    program.shipLanguageFiles();
    for (const QString& name : {QStringLiteral("Entry.vdoc"), QStringLiteral("fr_Entry.vdoc"),
                                QStringLiteral("Default.rbs")})
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name,
                            program.programFile(name)));
    program.window().FormActivate();
    program.window().pages()->setCurrentIndex(int(MainPage::Decorate));
    auto* layoutPage = program.window().findChild<LayoutPage*>();
    QVERIFY(layoutPage);
    QSignalSpy refreshed(layoutPage, &LayoutPage::previewRequested);
    // Chosen on the Layout page: the preview shows the welcome in French at once.
    program.action("fr")->trigger();
    QCOMPARE(refreshed.size(), 1);
    const QString page =
        program.window().pageGenerator().generate().ListingCode.join(QLatin1Char('\n'));
    QVERIFY2(page.contains(QStringLiteral("Bienvenue dans Vantrel")), qPrintable(page));
}

void TestLanguage::welcomeDocumentFollowsTheLanguage_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("shown");      // at the first activation
    QTest::addColumn<QByteArray>("command"); // null: none; "new": a document first, then French
    QTest::addColumn<QString>("after");
    const QString english = QStringLiteral("Welcome to Vantrel");
    const QString french = QStringLiteral("Bienvenue dans Vantrel");
    const QByteArray inFrench = "[General]\r\nlang=fr\r\n";
    QTest::newRow("English") << QByteArray() << english << QByteArray() << english;
    QTest::newRow("French") << inFrench << french << QByteArray() << french;
    QTest::newRow("French chosen while it shows")
        << QByteArray() << english << QByteArray("fr") << french;
    QTest::newRow("English chosen while it shows")
        << inFrench << french << QByteArray("en") << english;
    QTest::newRow("the seller's document stays")
        << QByteArray() << english << QByteArray("new") << QString();
}

void TestLanguage::welcomeDocumentFollowsTheLanguage() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, shown);
    QFETCH(QByteArray, command);
    QFETCH(QString, after);
    TestFolders folders;
    if (!settings.isNull())
        folders.write(QStringLiteral("shared/defaults.ini"), settings);
    for (const QString& name : {QStringLiteral("Entry.vdoc"), QStringLiteral("fr_Entry.vdoc")}) {
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name,
                            folders.folders().ProgramFolder + name));
    }
    ScriptedDialogs dialogs;
    ProgramWindows windows(dialogs, folders.folders());
    MainWindow& window = windows.mainWindow();
    window.FormActivate();
    auto* editor = qobject_cast<QTextEdit*>(window.editor().widget());
    QVERIFY(editor);
    // The first line's words, without the anchor's mark.
    const auto title = [editor] {
        return editor->toPlainText().section(QLatin1Char('\n'), 0, 0).remove(QChar(0xFFFC));
    };
    QCOMPARE(title(), shown);
    if (command == "new") {
        window.editor().newDocument();
        window.editor().setReadOnly(false);
        editor->insertPlainText(QStringLiteral("Teak clock"));
        command = "fr";
        after = QStringLiteral("Teak clock");
    }
    if (!command.isNull())
        window.menuBar()->findChild<QAction*>(QLatin1String(command))->trigger();
    QCOMPARE(title(), after);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLanguage::shownListItemsFollowTheLanguage() {
    Program program;
    program.shipLanguageFiles();
    auto* colors = program.window().findChild<ColorCombo*>(QStringLiteral("clrOB"));
    QVERIFY(colors);
    program.apply(QStringLiteral("fr"));
    QCOMPARE(colors->itemText(0), QString::fromUtf8("Couleur par défaut"));
    // An entry the program inserts keeps its text; the others still switch back.
    colors->setColor(QColor(1, 2, 3));
    program.apply(QStringLiteral("en"));
    QCOMPARE(colors->itemText(0), "Default color");
    QCOMPARE(colors->itemText(colors->count() - 1), "Custom...");
    QCOMPARE(colors->currentText(), "#010203");
    // A list whose items carry their values shows translated names and
    // still gives back the value.
    auto* types = program.window().findChild<QComboBox*>(QStringLiteral("cbxOBT"));
    QVERIFY(types);
    types->setCurrentIndex(types->findData(QStringLiteral("dotted")));
    program.apply(QStringLiteral("fr"));
    QCOMPARE(types->currentText(), QString::fromUtf8("pointillé"));
    QCOMPARE(types->currentData().toString(), "dotted");
    program.apply(QStringLiteral("en"));
    QCOMPARE(types->currentText(), "dotted");
}

void TestLanguage::unknownCodeChangesNothing() {
    Program program;
    program.apply(QStringLiteral("fr"));
    for (const QString& code : {QStringLiteral("EN"), QStringLiteral("de"), QString()}) {
        program.apply(code);
        QCOMPARE(program.text(mainKey("File1")), "Fichier");
        QVERIFY(program.action("fr")->isChecked());
        QCOMPARE(uilanguage::text("MESSAGES", "webBrowserError", "English"), "English");
    }
}

void TestLanguage::messageTextsFollowTheLanguage() {
    Program program;
    program.writeLanguageFile(QStringLiteral("fr"), "[MESSAGES]\r\nhello=Bonjour\r\n");
    program.apply(QStringLiteral("fr"));
    QCOMPARE(uilanguage::text("MESSAGES", "hello", "Hello"), "Bonjour");
    QCOMPARE(uilanguage::text("MESSAGES", "missing", "Missing"), "Missing");
    program.apply(QStringLiteral("en"));
    QCOMPARE(uilanguage::text("MESSAGES", "hello", "Hello"), "Hello");
}

void TestLanguage::programMessagesFollowTheLanguage_data() {
    QTest::addColumn<MessageSource>("message");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("french"); // a part of the French message
    const auto raised = [](std::function<void()> raise) {
        return MessageSource([raise] {
            try {
                raise();
            } catch (const AppError& error) {
                return error.message();
            }
            return QString();
        });
    };
    QTest::newRow("file write error") << raised([] { writeFileAtomically(QDir::tempPath(), "x"); })
                                      << "it is a folder" << QString::fromUtf8("c'est un dossier");
    QTest::newRow("server set error")
        << raised([] { serverlist::serverSetIndex(u'x'); }) << "is not a valid server set"
        << "n'est pas un jeu de serveurs valable";
    QTest::newRow("site name problem")
        << MessageSource([] { return sitelist::nameProblem({}); }) << "The site name is empty."
        << "Le nom du site est vide.";
    QTest::newRow("window caption")
        << MessageSource([] {
               AppState state;
               state.AppTitle = QStringLiteral("Vantrel");
               state.layout.setFile(QString(), QStringLiteral("shop.rbs"));
               return appCaption(state, MainPage::Decorate, false).value_or(QString());
           })
        << "Vantrel (editing layout : shop.rbs)"
        << QString::fromUtf8("Vantrel (édition de la présentation : shop.rbs)");
    QTest::newRow("note below the default layout's preview")
        << MessageSource([] {
               WorkingFolders folders;
               LayoutState layoutState;
               layoutState.LayoutFileName = WorkingFolders::untitledLayoutName();
               PublishingState publishing;
               PageGenerator generator(folders, layoutState, publishing, Layout::withDefaults());
               return generator.generate().pageText();
           })
        << "This is the default Layout."
        << QString::fromUtf8("Ceci est la présentation par défaut.");
    QTest::newRow("&& shows one &")
        << MessageSource([] { return uilanguage::text("MESSAGES", "examplesTitle", "x"); }) << "x"
        << "Tutoriels & exemples";
}

void TestLanguage::programMessagesFollowTheLanguage() {
    QFETCH(MessageSource, message);
    QFETCH(QString, english);
    QFETCH(QString, french);
    // The shipped language files beside the test.
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    uilanguage::setCurrent(folder, QStringLiteral("fr"));
    const QString inFrench = message();
    uilanguage::setCurrent(folder, QStringLiteral("en"));
    const QString inEnglish = message();
    QVERIFY2(inFrench.contains(french), qPrintable(inFrench));
    QVERIFY2(inEnglish.contains(english), qPrintable(inEnglish));
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
