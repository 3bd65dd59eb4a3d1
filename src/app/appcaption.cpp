#include "app/appcaption.h"

#include "app/appstate.h"

#include <QFileInfo>

namespace {

QString caption(const AppState& state, const QString& what, const QString& fileName,
                const QString& untitled, bool modified) {
    const QString name = fileName.isEmpty() ? untitled : QFileInfo(fileName).fileName();
    return state.AppTitle + QStringLiteral(" (editing ") + what + QStringLiteral(" : ") + name +
           (modified ? QStringLiteral(" - modified)") : QStringLiteral(")"));
}

} // namespace

std::optional<QString> appCaption(const AppState& state, MainPage page, bool documentModified) {
    switch (page) {
    case MainPage::Compose:
        return caption(state, QStringLiteral("document"), state.document.DocumentFileName,
                       WorkingFolders::untitledDocumentName(), documentModified);
    case MainPage::Decorate:
        return caption(state, QStringLiteral("layout"), state.layout.LayoutFileName,
                       WorkingFolders::untitledLayoutName(), state.layout.LayoutModified);
    case MainPage::Export:
        break;
    }
    return std::nullopt;
}
