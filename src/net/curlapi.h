#pragma once

#include <QString>
#include <curl/curl.h>

// The functions of libcurl, which is loaded by the first transfer rather than with the program: with the TLS,
// LDAP and SSH libraries it brings, it costs every start several milliseconds, which is most of what saving a
// small zone takes, while only the root hints download and the registration mail use it.
struct CurlApi
{
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) multiPerform = nullptr;
    decltype(&curl_multi_poll) multiPoll = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&curl_multi_strerror) multiStrerror = nullptr;
    decltype(&curl_slist_append) slistAppend = nullptr;
    decltype(&curl_slist_free_all) slistFreeAll = nullptr;
    decltype(&curl_version_info) versionInfo = nullptr;
};

// The library, loaded and initialised on the first call; none when it cannot be, with the reason in errorText.
const CurlApi* curlApi(QString* errorText = nullptr);
