#include "app/webmoduleloader.h"

#include "platform/uilanguage.h"
#include "ui/webparts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

// Qt's own hook for the context that every window's drawing shares; the
// browser engine uses the same one when it starts after the application.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace {

void dropSharedDrawingContext() {
    QOpenGLContext* context = QOpenGLContext::globalShareContext();
    qt_gl_set_global_share_context(nullptr);
    delete context;
}

/// The browser engine composes its pages with the program's windows through
/// one shared drawing context. Made here, when the engine is first needed,
/// rather than by the application at start: making it loads the graphics
/// drivers, which would hold up the first paint of the main window.
void shareDrawingWithTheBrowser() {
    if (QOpenGLContext::globalShareContext())
        return;
    auto* context = new QOpenGLContext;
    context->setFormat(QSurfaceFormat::defaultFormat());
    // Set even when it cannot be made (no graphics driver, as offscreen):
    // the engine then draws in software, as it does when Qt makes the
    // context at start.
    context->create();
    qt_gl_set_global_share_context(context);
    qAddPostRoutine(dropSharedDrawingContext);
}

/// The browser engine refuses to run as root with its sandbox and ends the
/// whole program without a word: as root (a live system, a container) the
/// sandbox is turned off before the engine starts, and the program says so.
/// Nothing changes when the environment has already turned it off.
void allowTheBrowserAsRoot() {
    if (geteuid() != 0 || !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") ||
        qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QLatin1String("--no-sandbox")))
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const QString line = uilanguage::text(
        "MESSAGES", "rootNoSandbox",
        QStringLiteral("Vantrel runs as root: the web pages it shows run without the browser "
                       "engine's sandbox."));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

namespace webmoduleloader {

QString fileName() {
    // This library's own folder: the module is installed beside it.
    Dl_info info{};
    QString folder;
    if (dladdr(reinterpret_cast<void*>(&fileName), &info) && info.dli_fname)
        folder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    return QDir(folder).filePath(QStringLiteral(VANTREL_WEB_MODULE));
}

Result<WebParts*> load() {
    static QString failure;
    static WebParts* parts = [] {
        const QString file = fileName();
        allowTheBrowserAsRoot();
        shareDrawingWithTheBrowser();
        QPluginLoader loader(file);
        WebParts* loaded = qobject_cast<WebParts*>(loader.instance());
        if (!loaded) {
            QString reason = loader.errorString();
            if (!reason.endsWith(QLatin1Char('.')))
                reason += QLatin1Char('.');
            failure = QStringLiteral("The web module \"%1\" could not be loaded: %2 The "
                                     "previews and the Publish page are not available; the "
                                     "Document page works as before.")
                          .arg(QDir::toNativeSeparators(file), reason);
        }
        return loaded;
    }();
    if (!parts)
        return fail(failure);
    return parts;
}

} // namespace webmoduleloader
