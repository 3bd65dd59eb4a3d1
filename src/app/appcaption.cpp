#include "app/appcaption.h"

#include "app/appstate.h"

#include <QFileInfo>

namespace {

QString caption(const AppState& state, const QString& what, const QString& fileName,
                bool modified) {
    return state.AppTitle + QStringLiteral(" (editing ") + what + QStringLiteral(" : ") +
           QFileInfo(fileName).fileName() +
           (modified ? QStringLiteral(" - modified)") : QStringLiteral(")"));
}

} // namespace

std::optional<QString> appCaption(AppState& state, MainPage page, bool documentModified) {
    switch (page) {
    case MainPage::Compose:
        // The editor's name for a document that has never been saved.
        if (state.DocumentFileName.isEmpty())
            state.DocumentFileName = QStringLiteral("Untitled.vdoc");
        return caption(state, QStringLiteral("document"), state.DocumentFileName, documentModified);
    case MainPage::Decorate:
        if (state.LayoutFileName.isEmpty())
            state.LayoutFileName = QStringLiteral("Untitled.rbs");
        return caption(state, QStringLiteral("layout"), state.LayoutFileName, state.LayoutModified);
    case MainPage::Export:
        break;
    }
    return std::nullopt;
}
