#include "platform/uilanguage.h"

#include "platform/apperror.h"
#include "platform/inifile.h"

#include <QHash>
#include <QScopedValueRollback>

namespace uilanguage {

namespace {

const QString mainWindow = QStringLiteral("T_FrmMain");

/// Which languages read a key.
enum class Reads { Both, FrenchOnly, EnglishOnly };

struct Row {
    const char* section;
    const char* key;
    const char* object; // empty: the window itself
    Target target;
    const char* french; // UTF-8
    Reads reads;
    const char* copyTo; // a control that then takes the same text, or null
};

const char* windowOf(const char* section) {
    static const QHash<QString, const char*> windows = {
        {QStringLiteral("HINTS"), "T_FrmMain"},
        {QStringLiteral("MAIN"), "T_FrmMain"},
        {QStringLiteral("SETTINGS"), "T_frmSettings"},
        {QStringLiteral("SAVEEXIT"), "T_frmSaveExit"},
        {QStringLiteral("EXPORTDLG"), "T_frmExportInfo"},
        {QStringLiteral("EXPORT1"), "T_FrmMain"},
        {QStringLiteral("EXPORTWIN"), "T_frmExport1"},
    };
    return windows.value(QLatin1String(section));
}

// The Document page's tool buttons in reading order. Their hint keys are
// "hint_" and the lower-case name, except the four in `hintKeyOf`.
const char* const toolButtons[] = {
    "tobSelectAll",
    "tobCut",
    "tobCopy",
    "tobPaste",
    "tobUndo",
    "tobRedo",
    "tobSearch",
    "tobReplace",
    "tobPreview",
    "tobQuickPrint",
    "tobBold",
    "tobItalic",
    "tobUnderline",
    "tobStrikeout",
    "tobOverline",
    "tobGrow",
    "tobShrink",
    "tobTextCol",
    "tobBgTextCol",
    "tobLeft",
    "tobCenter",
    "tobRight",
    "tobJustify",
    "tobBullets",
    "tobNumbering",
    "tobDecIndent",
    "tobIncIndent",
    "tobHorLine",
    "tobParaBackColor",
    "tobInsertTable",
    "tobDeleteTable",
    "tobTableProperties",
    "tobInsertColLeft",
    "tobInsertColRight",
    "tobDeleteCol",
    "tobInsertRowAbove",
    "tobInsertRowBelow",
    "tobDeleteRow",
    "tobMergeCells",
    "tobSplitCells",
    "tobBorderLeft",
    "tobBorderRight",
    "tobBorderTop",
    "tobBorderBottom",
    "tobAllBorders",
    "tobNoBorder",
    "tobVertAlignCenter",
    "tobVertAlignTop",
    "tobVertAlignBottom",
    "tobVertAlignDefault",
    "tobInsertImage",
    "tobInsertLink",
};

QString hintKeyOf(const QString& button) {
    static const QHash<QString, QString> irregular = {
        {QStringLiteral("tobPaste"), QStringLiteral("hint_tobPaste")},
        {QStringLiteral("tobQuickPrint"), QStringLiteral("hint_tobprint")},
        {QStringLiteral("tobTextCol"), QStringLiteral("hint_tobtextcolor")},
        {QStringLiteral("tobBgTextCol"), QStringLiteral("hint_tobtxtbackcolor")},
    };
    return irregular.value(button, QStringLiteral("hint_") + button.toLower());
}

// clang-format off
const Row rows[] = {
    {"MAIN", "mnu_file", "File1", Target::Caption, "Fichier", Reads::Both, nullptr},
    {"MAIN", "mnu_new", "mnuNew", Target::Caption, "Nouveau", Reads::Both, nullptr},
    {"MAIN", "mnu_openPresentation", "mnuOpen", Target::Caption, "Ouvrir...", Reads::Both, nullptr},
    {"MAIN", "mnu_openExample", "mnuOpenExample", Target::Caption, "Ouvrir exemple", Reads::Both, nullptr},
    {"MAIN", "mnu_export", "ExporttoORV1", Target::Caption, "Exporter", Reads::Both, nullptr},
    {"MAIN", "mnu_exit", "Exit1", Target::Caption, "Terminer", Reads::Both, nullptr},
    {"MAIN", "mnu_lang", "Language1", Target::Caption, "Langue", Reads::Both, nullptr},
    {"MAIN", "mnu_settings", "Settings1", Target::Caption, "Réglages", Reads::Both, nullptr},
    {"MAIN", "mnu_help", "Help1", Target::Caption, "Aide", Reads::Both, nullptr},
    {"MAIN", "btn_newlayout", "btnNewLayout", Target::Caption, "Nouveau", Reads::Both, nullptr},
    {"MAIN", "btn_openlayout", "btnOpenLayout", Target::Caption, "Ouvrir...", Reads::Both, nullptr},
    {"MAIN", "btn_savelayout", "btnSaveLayout", Target::Caption, "Sauver...", Reads::Both, nullptr},
    {"MAIN", "btn_saveAs", "btnSaveAs", Target::Caption, "Sauver sous...", Reads::Both, nullptr},
    {"MAIN", "btn_export", "btnExport", Target::Caption, "Exporter", Reads::Both, nullptr},
    {"MAIN", "btn_refresh", "btnPreview", Target::Caption, "Rafraîchir", Reads::Both, nullptr},
    {"MAIN", "capt_outerBorderBox", "gbxOB", Target::Caption, " Bordure externe .", Reads::Both, nullptr},
    {"MAIN", "capt_frameBox", "gbxF", Target::Caption, " Cadre .", Reads::Both, nullptr},
    {"MAIN", "capt_innerBorderBox", "gbxIB", Target::Caption, " Bordure interne .", Reads::Both, nullptr},
    {"MAIN", "capt_textAreaBox", "gbxTA", Target::Caption, " Zone de texte .", Reads::Both, nullptr},
    {"MAIN", "lbl_widthBorders", "lblOBWidth", Target::Caption, "Epaisseur", Reads::Both, nullptr},
    // The inner border's width caption follows the outer border's.
    {"MAIN", "lbl_widthFrame", "lblFWidth", Target::Caption, "Largeur", Reads::Both, nullptr},
    {"MAIN", nullptr, "lblOBWidth", Target::Caption, nullptr, Reads::Both, "lblIBWidth"},
    {"MAIN", "lbl_textMarginLeft", "lblTxtMarginLeft", Target::Caption, "Marge gauche", Reads::Both, nullptr},
    {"MAIN", "lbl_textMarginRight", "lblTxTMarginRight", Target::Caption, "Marge droite", Reads::Both, nullptr},
    {"MAIN", "lbl_textMarginTop", "lblTxtMarginTop", Target::Caption, "Marge haut", Reads::Both, nullptr},
    {"MAIN", "lbl_type", "lblOBType", Target::Caption, "Type", Reads::Both, "lblIBType"},
    {"MAIN", "capt_borderColor", "clrOB", Target::Caption, "Couleur Bord.", Reads::FrenchOnly, nullptr},
    {"MAIN", "lbl_infoMinBorderWidth", "lblInfoOBWidth", Target::Caption, "Epaiss. minimum de 3 pour le type Double", Reads::Both, "lblInfoIBWidth"},
    {"MAIN", "capt_frameImage", "btnFrmImg", Target::Caption, "Image Cadre", Reads::Both, nullptr},
    {"MAIN", "capt_frameColor", "clrFrame", Target::Caption, "Couleur Cadre", Reads::Both, nullptr},
    {"MAIN", "capt_transparent", "cbxFrmCol", Target::Caption, "Transparent", Reads::Both, "cbxTxtCol"},
    {"MAIN", "capt_repeatH", "cbxFRepeatX", Target::Caption, "Répétition Horiz.", Reads::Both, nullptr},
    {"MAIN", "capt_repeatY", "cbxFRepeatY", Target::Caption, "Répétition Vert.", Reads::Both, nullptr},
    {"MAIN", "capt_backColor", "clrTxt", Target::Caption, "Couleur Fond", Reads::Both, nullptr},
    {"MAIN", "capt_backImage", "btnTxtImg", Target::Caption, "Image Fond", Reads::Both, nullptr},

    {"SETTINGS", "capt_window", "", Target::WindowCaption, "Options de réglage", Reads::Both, nullptr},
    {"SETTINGS", "capt_tabServer", "tabServers", Target::Caption, "Serveurs d'images", Reads::Both, nullptr},
    {"SETTINGS", "capt_tabOthers", "tabOthers", Target::Caption, "Autres options", Reads::Both, nullptr},
    {"SETTINGS", "lbl_infoServer1", "lblInfoServer1", Target::Caption, "Serveur Vantrel des images de présentation (au choix)", Reads::Both, nullptr},
    {"SETTINGS", "lbl_infoServer2", "lblInfoServer2", Target::Caption, "Serveur des images du document (indispensable pour vos propres images)", Reads::Both, nullptr},
    {"SETTINGS", "lbl_default", "lblDefaultServer", Target::Caption, "Par défaut", Reads::Both, nullptr},
    {"SETTINGS", "lbl_server1", "edtServer1", Target::EditLabel, "Vantrel par défaut", Reads::Both, nullptr},
    {"SETTINGS", "lbl_server2", "edtServer2", Target::EditLabel, "Vantrel alt. 1", Reads::Both, nullptr},
    {"SETTINGS", "lbl_server3", "edtServer3", Target::EditLabel, "Vantrel alt. 2", Reads::Both, nullptr},
    {"SETTINGS", "lbl_server4", "edtServer4", Target::EditLabel, "* Votre serveur principal", Reads::Both, nullptr},
    {"SETTINGS", "lbl_server5", "edtServer5", Target::EditLabel, "* Votre serveur secondaire", Reads::Both, nullptr},
    {"SETTINGS", "capt_save", "btnSettingsSave", Target::Caption, "Sauvegarder", Reads::Both, nullptr},
    {"SETTINGS", "capt_hideExportHelp", "cbxHideExportHelp", Target::Caption, "Cacher les fenêtres d'aide à l'exportation", Reads::Both, nullptr},

    {"SAVEEXIT", "capt_window", "", Target::WindowCaption, "Sauvegarder une présentation", Reads::Both, nullptr},
    {"SAVEEXIT", "lbl_prompt", "lblSaveExit", Target::Caption, "Sauvegarder les changements apportés à ", Reads::Both, nullptr},
    {"SAVEEXIT", "capt_cancel", "btnCancel", Target::Caption, "Annuler", Reads::FrenchOnly, nullptr},
    {"SAVEEXIT", "capt_savoNot", "btnSaveNot", Target::Caption, "Non", Reads::Both, nullptr},
    {"SAVEEXIT", "capt_saveChanges", "btnSaveChanges", Target::Caption, "Oui", Reads::Both, nullptr},

    {"EXPORTDLG", "lbl_exportTitle", "lblExportTitle", Target::Caption, "Votre Présentation est prête à être exportée vers le site d'enchères", Reads::Both, nullptr},
    {"EXPORTDLG", "lbl_exportInfo", "lblExportInfo", Target::Caption, "Toutes les informations ont été copiées dans le presse-papier pour être transférées sur votre compte. Suivez les indications qui apparaîtront dans la fenêtre d'aide sur la prochaine page.", Reads::Both, nullptr},
    {"EXPORTDLG", "lbl_selectSite", "lblSelectSite", Target::Caption, "Choix du site d'enchères:", Reads::Both, nullptr},
    {"EXPORTDLG", "capt_continue", "btnPublishNow", Target::Caption, "Continuer", Reads::Both, nullptr},

    {"EXPORT1", "lbl_noteStep1", "lblNoteStep1", Target::Caption, "NOTE : Lorsque vous modifiez une présentation, effacez toujours l'ancien code avant de mettre le nouveau en place.", Reads::Both, nullptr},
    {"EXPORT1", "lbl_showHelp", "lblShowHideHelp", Target::Caption, "Montrer la fenêtre d'Aide à l'Export", Reads::Both, nullptr},
    {"EXPORT1", "lbl_loadingSite", "lblLoadingSite", Target::Caption, "Chargement du site d'enchères...", Reads::Both, nullptr},

    {"EXPORTWIN", "lbl_hideHelp", "cbxExportHelpHide", Target::Caption, "Ne plus montrer cette fenêtre (voir \"Réglages - Options - Autres options\" pour la rétablir)", Reads::Both, nullptr},
};
// clang-format on

bool reads(Reads reads, bool french) {
    return reads == Reads::Both || (reads == Reads::FrenchOnly) == french;
}

/// One step of a language pass: a key to read, or a copy of a caption set
/// earlier in the same pass.
struct Step {
    FixedKey key;
    QString french;
    QString copyTo; // the control that then takes the same text
    bool isCopy = false;
};

QList<Step> stepsOf(const QString& code) {
    QList<Step> steps;
    if (!isKnown(code))
        return steps;
    const bool french = code == QLatin1String("fr");
    for (const char* button : toolButtons) {
        const QString name = QLatin1String(button);
        // French reads only the Cut hint from this section; the others are
        // further keys of the main window's own section.
        if (french && name != QLatin1String("tobCut"))
            continue;
        steps.append({{QStringLiteral("HINTS"), hintKeyOf(name), mainWindow, name, Target::Hint},
                      french ? QStringLiteral("Couper") : QString(),
                      QString(),
                      false});
    }
    for (const Row& row : rows) {
        if (!reads(row.reads, french))
            continue;
        const QString window = QLatin1String(windowOf(row.section));
        Step step{{QLatin1String(row.section), QLatin1String(row.key), window,
                   QLatin1String(row.object), row.target},
                  QString::fromUtf8(row.french),
                  QLatin1String(row.copyTo),
                  row.key == nullptr};
        steps.append(step);
    }
    return steps;
}

struct Current {
    QString programFolder;
    QString code;
};

Current& current() {
    static Current value;
    return value;
}

} // namespace

bool isKnown(const QString& code) {
    return code == QLatin1String("en") || code == QLatin1String("fr");
}

QString fileName(const QString& programFolder, const QString& code) {
    return programFolder + code + QStringLiteral(".ini");
}

QList<FixedKey> fixedKeys(const QString& code) {
    QList<FixedKey> keys;
    for (const Step& step : stepsOf(code)) {
        if (!step.isCopy)
            keys.append(step.key);
    }
    return keys;
}

QList<FixedKey> allFixedKeys() {
    QList<FixedKey> keys;
    for (const QString& code : {QStringLiteral("en"), QStringLiteral("fr")}) {
        for (const Step& step : stepsOf(code)) {
            FixedKey key = step.key;
            keys.append(key);
            if (!step.copyTo.isEmpty()) {
                key.object = step.copyTo;
                keys.append(key);
            }
        }
    }
    return keys;
}

QList<Assignment> readFixedTexts(const QString& code, const QString& file,
                                 const DesignedText& designed) {
    QList<Assignment> assignments;
    const bool french = code == QLatin1String("fr");
    const LanguageFile texts(file);
    // What this pass gave each control, for the rows that copy a caption.
    QHash<QString, QString> given;
    for (const Step& step : stepsOf(code)) {
        const FixedKey& key = step.key;
        QString text;
        if (step.isCopy) {
            text = given.value(key.object);
        } else {
            text = texts.text(key.section, key.key, french ? step.french : designed(key));
            assignments.append({key.window, key.object, key.target, text});
            given.insert(key.object, text);
        }
        if (!step.copyTo.isEmpty()) {
            assignments.append({key.window, step.copyTo, key.target, text});
            given.insert(step.copyTo, text);
        }
    }
    return assignments;
}

struct LanguageFile::Data {
    std::optional<IniFile::Snapshot> snapshot;
    QString problem;
};

LanguageFile::LanguageFile(const QString& fileName)
    : m_data(std::make_unique<Data>()) {
    try {
        m_data->snapshot = IniFile(fileName).snapshot();
    } catch (const AppError& error) {
        // A language file that cannot be read is a missing one: every text
        // keeps its default and the program stays usable.
        m_data->problem = error.message();
    }
}

const QString& LanguageFile::problem() const {
    return m_data->problem;
}

LanguageFile::~LanguageFile() = default;
LanguageFile::LanguageFile(LanguageFile&&) noexcept = default;
LanguageFile& LanguageFile::operator=(LanguageFile&&) noexcept = default;

std::optional<QString> LanguageFile::value(const QString& section, const QString& key) const {
    if (!m_data->snapshot || !m_data->snapshot->valueExists(section, key))
        return std::nullopt;
    return m_data->snapshot->readString(section, key, QString());
}

QString LanguageFile::text(const QString& section, const QString& key,
                           const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

void setCurrent(const QString& programFolder, const QString& code) {
    current() = {programFolder, code};
}

QString currentCode() {
    return current().code;
}

QString currentProgramFolder() {
    return current().programFolder;
}

QString caption(const QString& section, const QString& key, const QString& english) {
    const Current& language = current();
    if (!isKnown(language.code))
        return english;
    const auto value =
        LanguageFile(fileName(language.programFolder, language.code)).value(section, key);
    return value ? QString(*value).replace(QLatin1String("\\n"), QLatin1String("\n")) : english;
}

QString caption(const char* section, const char* key, const QString& english) {
    return caption(QString::fromLatin1(section), QString::fromLatin1(key), english);
}

QString text(const QString& section, const QString& key, const QString& english) {
    const Current& language = current();
    // Reading the language file may itself fail with a message to translate.
    static thread_local bool reading = false;
    if (!isKnown(language.code) || reading)
        return english;
    const QScopedValueRollback<bool> guard(reading, true);
    const auto value =
        LanguageFile(fileName(language.programFolder, language.code)).value(section, key);
    // A message shows every character as it is: the file's "&&" is one "&".
    return value ? QString(*value)
                       .replace(QLatin1String("\\n"), QLatin1String("\n"))
                       .replace(QLatin1String("&&"), QLatin1String("&"))
                 : english;
}

QString text(const char* section, const char* key, const QString& english) {
    return text(QString::fromLatin1(section), QString::fromLatin1(key), english);
}

} // namespace uilanguage
