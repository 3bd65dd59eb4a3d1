#include "http/curlloader.h"

#include <QLibrary>
#include <QStringList>

namespace {

template <typename Function>
void resolve(QLibrary& library, const char* name, Function& function, QStringList& missing) {
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function)
        missing.append(QLatin1String(name));
}

QStringList resolveAll(QLibrary& library, CurlApi& c) {
    QStringList missing;
    resolve(library, "curl_global_init", c.global_init, missing);
    resolve(library, "curl_multi_init", c.multi_init, missing);
    resolve(library, "curl_multi_cleanup", c.multi_cleanup, missing);
    resolve(library, "curl_multi_setopt", c.multi_setopt, missing);
    resolve(library, "curl_multi_add_handle", c.multi_add_handle, missing);
    resolve(library, "curl_multi_remove_handle", c.multi_remove_handle, missing);
    resolve(library, "curl_multi_socket_action", c.multi_socket_action, missing);
    resolve(library, "curl_multi_info_read", c.multi_info_read, missing);
    resolve(library, "curl_easy_init", c.easy_init, missing);
    resolve(library, "curl_easy_cleanup", c.easy_cleanup, missing);
    resolve(library, "curl_easy_setopt", c.easy_setopt, missing);
    resolve(library, "curl_easy_getinfo", c.easy_getinfo, missing);
    resolve(library, "curl_easy_strerror", c.easy_strerror, missing);
    resolve(library, "curl_slist_append", c.slist_append, missing);
    resolve(library, "curl_slist_free_all", c.slist_free_all, missing);
    return missing;
}

Result<CurlApi> load() {
    QLibrary library(QStringLiteral("curl"), 4);
    if (!library.load())
        return fail(library.errorString());
    CurlApi api;
    const QStringList missing = resolveAll(library, api);
    if (!missing.isEmpty())
        return fail(QStringLiteral("%1 lacks %2")
                        .arg(library.fileName(), missing.join(QLatin1String(", "))));
    if (api.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return fail(QStringLiteral("%1 could not start").arg(library.fileName()));
    return api;
}

} // namespace

Result<const CurlApi*> curlApi() {
    static const Result<CurlApi> loaded = load();
    if (!loaded)
        return fail(loaded.error());
    return &loaded.value();
}
