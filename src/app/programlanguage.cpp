#include "app/programlanguage.h"

#include "app/appstate.h"
#include "app/mainmenu.h"
#include "document/documentpage.h"
#include "platform/apperror.h"
#include "platform/uilanguage.h"
#include "settings/settings.h"
#include "ui/languageapplier.h"
#include "ui/userdialogs.h"

#include <QAction>

ProgramLanguage::ProgramLanguage(Parts parts, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , m_parts(parts)
    , m_dialogs(dialogs) {
    AppState& state = m_parts.state;
    state.LanguageCode = m_parts.settings.languageCode();
    m_parts.menu.checkLanguage(state.LanguageCode);
    languageapplier::followShownDialogs(parent);
    const MainMenuActions& menu = m_parts.menu.actions();
    for (QAction* language : {menu.en, menu.fr}) {
        connectCommand(language, &QAction::triggered, this, m_dialogs,
                       [this, code = language->objectName()] { choose(code); });
    }
}

void ProgramLanguage::apply() {
    const AppState& state = m_parts.state;
    m_parts.menu.checkLanguage(state.LanguageCode);
    const QString problem = languageapplier::apply(state.folders.ProgramFolder, state.LanguageCode,
                                                   languageapplier::programWindows());
    // Applied at every activation: a file that cannot be read is named once.
    if (!problem.isEmpty() && problem != m_problem)
        m_dialogs.showError(problem + QStringLiteral("\n\n") +
                            uilanguage::text("MESSAGES", "languageDefaultsUsed",
                                             QStringLiteral("The windows keep their built-in "
                                                            "texts.")));
    m_problem = problem;
    m_parts.documentPage.languageApplied();
    // The caption's words are the language's too.
    emit applied();
}

void ProgramLanguage::choose(const QString& code) {
    AppState& state = m_parts.state;
    DocumentPage& document = m_parts.documentPage;
    const bool welcome = !state.FirstActivation && document.showsWelcomeDocument();
    state.LanguageCode = code;
    apply();
    // The seller who has not begun yet reads the welcome in the new language.
    if (welcome)
        document.showWelcomeDocument(code);
    emit chosen();
    const Status stored = m_parts.settings.store(SettingKey::lang, code);
    if (!stored)
        throw AppError(stored.error());
}
