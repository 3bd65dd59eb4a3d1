#include "ui/productwebsite.h"

#include "platform/uilanguage.h"
#include "ui/userdialogs.h"
#include "version.h"

QUrl productWebPage(const QString& path) {
    QUrl url(QStringLiteral(VANTREL_WEBSITE));
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    url.setPath(url.path() + (hash < 0 ? path : path.left(hash)));
    if (hash >= 0)
        url.setFragment(path.mid(hash + 1));
    return url;
}

void openWebPage(UserDialogs& dialogs, const QUrl& url) {
    if (!dialogs.openUrl(url))
        dialogs.showMessage(
            uilanguage::text("MESSAGES", "webBrowserError", QStringLiteral("Web Browser Error!")),
            UserDialogs::Icon::Error);
}
