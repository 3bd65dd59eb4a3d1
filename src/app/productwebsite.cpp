#include "app/productwebsite.h"

#include "platform/userdialogs.h"

namespace {

const QString productWebSiteHost = QStringLiteral("www.vantrel.example");

} // namespace

QUrl productWebPage(const QString& path) {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(productWebSiteHost);
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    url.setPath(hash < 0 ? path : path.left(hash));
    if (hash >= 0)
        url.setFragment(path.mid(hash + 1));
    return url;
}

void openWebPage(UserDialogs& dialogs, const QUrl& url) {
    if (!dialogs.openUrl(url))
        dialogs.showMessage(QStringLiteral("Web Browser Error!"), UserDialogs::Icon::Error);
}
