// The command-line tools' standard error carries their own messages: Qt's
// notice that the runtime folder is unset (said by the GUI application while
// it looks for a sandbox, as root or outside a desktop session) tells the
// user nothing about the tool and is left out. Every other Qt message goes
// to the handler that was in place.
#pragma once

#include <QtGlobal>

namespace toolmessages {

inline QtMessageHandler& previousHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    previousHandler()(type, context, message);
}

/// Installs the filter; call it before the application object is made.
inline void leaveOutRuntimeFolderNotice() {
    previousHandler() = qInstallMessageHandler(filter);
}

} // namespace toolmessages
