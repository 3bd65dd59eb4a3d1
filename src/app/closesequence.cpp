#include "app/closesequence.h"

#include "app/appstate.h"
#include "document/documenteditor.h"
#include "layoutui/layoutcommands.h"

#include <QCoreApplication>

bool FormCloseQuery(AppState& state, DocumentEditor& editor, LayoutCommands& layoutCommands,
                    UserDialogs& dialogs) {
    bool mayClose = false;
    runCommand(dialogs, [&] { mayClose = editor.ConfirmCloseDocument(); });
    if (state.layout.state().LayoutModified) {
        bool layoutLetGo = false;
        runCommand(dialogs, [&] { layoutLetGo = layoutCommands.newLayout(); });
        mayClose = mayClose && layoutLetGo;
        QCoreApplication::processEvents();
    }
    return mayClose;
}
