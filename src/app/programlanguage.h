#pragma once

#include <QObject>
#include <QString>

class DocumentPage;
class MainMenu;
class Settings;
class UserDialogs;
struct AppState;

/// The program's language (`LanguageCode`): read from the settings at
/// start, applied to every program window at each activation of the main
/// window, and chosen in the Language menu, which remembers it there.
class ProgramLanguage : public QObject {
    Q_OBJECT
public:
    struct Parts {
        AppState& state;
        MainMenu& menu;
        DocumentPage& documentPage;
        Settings& settings;
    };

    /// Reads the language and connects the Language menu; from now on every
    /// dialog takes the language as it is shown.
    ProgramLanguage(Parts parts, UserDialogs& dialogs, QObject* parent);

    /// Applies `LanguageCode` to every window of the program. A language
    /// file that cannot be read is named once, not at every activation.
    void apply();
    /// The Language menu's command: applies the language and remembers it.
    void choose(const QString& code);

signals:
    /// The windows show the language: the caption follows.
    void applied();
    /// The seller chose a language: what is on show says it in its words.
    void chosen();

private:
    Parts m_parts;
    UserDialogs& m_dialogs;
    /// Why the language file could not be read, once said.
    QString m_problem;
};
