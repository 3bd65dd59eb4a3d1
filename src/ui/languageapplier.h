#pragma once

#include "platform/uilanguage.h"

#include <QList>
#include <QString>
#include <optional>

class QObject;
class QWidget;

/// Gives the program's windows the texts of a language file.
///
/// Every text a user meets on a window is a key of the window's own section
/// (named like the window's object): a control's caption under its object
/// name, its tooltip under "<name>.hint" and an edit's placeholder under
/// "<name>.placeholder"; a control without an object name uses its designed
/// text as the key. A missing key gives the text the control was designed
/// with, so English is the program's own text and switching back restores
/// it. The fixed keys of the language (see `uilanguage`) are applied after
/// them and win. A text the program itself changed since it was last
/// applied (a file name, a progress line) is left alone.
///
/// Texts from a file are always shown as plain text, and "&&" shows as one
/// "&" wherever the control would not do that itself.
namespace languageapplier {

/// Applies the language of the code to the windows; an unknown code changes
/// nothing. Returns why the language file could not be read, naming it
/// (its texts then keep their defaults); empty when it was read or is
/// missing.
QString apply(const QString& programFolder, const QString& code, const QList<QWidget*>& windows);

/// The program's windows: every top-level window with an object name.
QList<QWidget*> programWindows();

/// From now on, every dialog with an object name takes the current language
/// as it is shown, so a window made on demand needs nothing of its own. The
/// watch ends with the owner.
void followShownDialogs(QObject* owner);

/// A text shown on a window, with the section and key that give it.
struct ShownText {
    QString section;
    QString key;
    QString text;
    QString designed; // the text the control was designed with
};

/// Every text of the window that a language file can give, with its key.
QList<ShownText> shownTexts(QWidget* window);

/// The text a fixed key sets, as the control shows it now; nothing when the
/// control does not exist.
std::optional<QString> shownText(const QList<QWidget*>& windows, const uilanguage::FixedKey& key);

} // namespace languageapplier
