#pragma once

#include "platform/result.h"

#include <curl/curl.h>

/// libcurl's functions, from the library loaded when the first transfer
/// needs it: linked to the program, it and the TLS, name-service and
/// directory libraries it brings would load at every start.
struct CurlApi {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_multi_init) multi_init = nullptr;
    decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&::curl_multi_setopt) multi_setopt = nullptr;
    decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&::curl_multi_socket_action) multi_socket_action = nullptr;
    decltype(&::curl_multi_info_read) multi_info_read = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
};

/// The library, loaded and started at the first call; later calls give the
/// same outcome. Fails with why the library cannot be used.
Result<const CurlApi*> curlApi();
