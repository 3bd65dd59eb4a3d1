#include "app/closesequence.h"

#include "app/appstate.h"
#include "app/documenteditor.h"
#include "layout/layoutcommands.h"
#include "platform/apperror.h"

#include <QCoreApplication>

bool FormCloseQuery(AppState& state, DocumentEditor& editor, LayoutCommands& layoutCommands,
                    UserDialogs& dialogs) {
    bool mayClose = editor.ConfirmCloseDocument();
    if (state.LayoutModified) {
        bool layoutLetGo = false;
        runCommand(dialogs, [&] {
            layoutLetGo = layoutCommands.btnNewPresentClick(LayoutCommands::Form::User);
        });
        mayClose = mayClose && layoutLetGo;
        QCoreApplication::processEvents();
    }
    return mayClose;
}
