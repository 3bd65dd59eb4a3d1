// libcurl's functions for a program linked to libcurl itself, in place of
// curlloader.cpp: a tool that fetches at every run loads the library with
// the program, which costs less than loading it when the first fetch asks.
#include "http/curlloader.h"

namespace {

Result<CurlApi> start() {
    CurlApi api;
    api.global_init = &curl_global_init;
    api.multi_init = &curl_multi_init;
    api.multi_cleanup = &curl_multi_cleanup;
    api.multi_setopt = &curl_multi_setopt;
    api.multi_add_handle = &curl_multi_add_handle;
    api.multi_remove_handle = &curl_multi_remove_handle;
    api.multi_socket_action = &curl_multi_socket_action;
    api.multi_info_read = &curl_multi_info_read;
    api.easy_init = &curl_easy_init;
    api.easy_cleanup = &curl_easy_cleanup;
    api.easy_setopt = &curl_easy_setopt;
    api.easy_getinfo = &curl_easy_getinfo;
    api.easy_strerror = &curl_easy_strerror;
    api.slist_append = &curl_slist_append;
    api.slist_free_all = &curl_slist_free_all;
    if (api.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return fail(QStringLiteral("libcurl could not start"));
    return api;
}

} // namespace

Result<const CurlApi*> curlApi() {
    static const Result<CurlApi> started = start();
    if (!started)
        return fail(started.error());
    return &started.value();
}
