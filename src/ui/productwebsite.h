#pragma once

#include <QString>
#include <QUrl>

class UserDialogs;

/// The product web site's page at `path` ("/", "/support.html", ...).
QUrl productWebPage(const QString& path);

/// Opens a web page in the desktop's default browser; when that fails the
/// user is told "Web Browser Error!" and nothing else happens.
void openWebPage(UserDialogs& dialogs, const QUrl& url);
