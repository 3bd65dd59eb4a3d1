#include "app/appcaption.h"

#include "app/appstate.h"
#include "platform/uilanguage.h"

#include <QFileInfo>

namespace {

QString caption(const AppState& state, const QString& what, const QString& fileName,
                const QString& untitled, bool modified) {
    const QString name = fileName.isEmpty() ? untitled : QFileInfo(fileName).fileName();
    const QString editing =
        modified ? uilanguage::text("MESSAGES", "captionEditingModified",
                                    QStringLiteral("%1 (editing %2 : %3 - modified)"))
                 : uilanguage::text("MESSAGES", "captionEditing",
                                    QStringLiteral("%1 (editing %2 : %3)"));
    return editing.arg(state.AppTitle, what, name);
}

} // namespace

std::optional<QString> appCaption(const AppState& state, MainPage page, bool documentModified) {
    switch (page) {
    case MainPage::Compose:
        return caption(state,
                       uilanguage::text("MESSAGES", "captionDocument", QStringLiteral("document")),
                       state.document.DocumentFileName, WorkingFolders::untitledDocumentName(),
                       documentModified);
    case MainPage::Decorate:
        return caption(state,
                       uilanguage::text("MESSAGES", "captionLayout", QStringLiteral("layout")),
                       state.layout.state().LayoutFileName, WorkingFolders::untitledLayoutName(),
                       state.layout.state().LayoutModified);
    case MainPage::Export:
        break;
    }
    return std::nullopt;
}

QIcon programIcon() {
    QIcon icon;
    // Read when drawn: no picture is decoded at start.
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/vantrel/icons/%1/vantrel.png").arg(size), QSize(size, size));
    return icon;
}
