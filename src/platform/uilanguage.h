#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

/// The user-interface language without widgets: which language file applies,
/// the fixed keys of the language files with their built-in texts, and the
/// lookup that every other text of the program goes through.
///
/// A language file is "<code>.ini" in the program folder, a settings-style
/// file (see `IniFile`): section and key names match without regard to case,
/// a value loses its surrounding blanks and one pair of enclosing quotation
/// marks, and at most 2047 characters of it are used. The file is only read,
/// afresh every time the language is applied.
namespace uilanguage {

/// "en" and "fr", compared exactly; any other code applies no file.
bool isKnown(const QString& code);
/// The language file of the code in the program folder.
QString fileName(const QString& programFolder, const QString& code);

/// What a fixed key gives its text to.
enum class Target {
    Caption,       // the control's caption (a menu item, button, label, box, page tab)
    Hint,          // the control's tooltip
    WindowCaption, // the window's title
    EditLabel,     // the label that names an edit field
};

/// One text for one control: `object` names the control inside the window
/// `window` (both object names); empty for the window itself.
struct Assignment {
    QString window;
    QString object;
    Target target = Target::Caption;
    QString text;
};

/// One fixed key: where it is read and what it sets.
struct FixedKey {
    QString section;
    QString key;
    QString window;
    QString object;
    Target target = Target::Caption;
};

/// The fixed keys read for the code, in reading order; none for an unknown code.
QList<FixedKey> fixedKeys(const QString& code);
/// Every control and property that a fixed key sets in either language.
QList<FixedKey> allFixedKeys();

/// The English text a control was designed with, used as the English default.
using DesignedText = std::function<QString(const FixedKey&)>;

/// Reads the fixed keys of the code from the file in reading order, each
/// with its built-in default (French for "fr", the designed text for "en"),
/// and returns the assignments in the order they are to be made, including
/// the rows that copy one control's caption to another. A missing or
/// unreadable file gives every default.
QList<Assignment> readFixedTexts(const QString& code, const QString& fileName,
                                 const DesignedText& designed);

/// A language file read once: `value` is the file's text for a key, or
/// nothing when the file, section or key is missing. A file that cannot be
/// read counts as missing; `problem` then says why, naming it.
class LanguageFile {
public:
    explicit LanguageFile(const QString& fileName);
    ~LanguageFile();
    LanguageFile(LanguageFile&&) noexcept;
    LanguageFile& operator=(LanguageFile&&) noexcept;

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString text(const QString& section, const QString& key, const QString& fallback) const;
    /// Empty when the file was read or is missing.
    const QString& problem() const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

/// The language of the texts looked up with `text`, set whenever the
/// language is applied.
void setCurrent(const QString& programFolder, const QString& code);
QString currentCode();
QString currentProgramFolder();

/// A text of the program in the current language: the value of the key in
/// the current language file, or the English text when the language applies
/// no file or the file lacks the key. For messages and other texts shown
/// outside the windows' controls. A file writes a line break as "\n".
/// A file's "&&" shows as one "&", as on the windows' controls.
QString text(const QString& section, const QString& key, const QString& english);
QString text(const char* section, const char* key, const QString& english);
/// The same for a caption whose control reads "&" itself (a button): the
/// file's text is given as it is.
QString caption(const QString& section, const QString& key, const QString& english);
QString caption(const char* section, const char* key, const QString& english);

} // namespace uilanguage
