#include "net/curlapi.h"

#include <QLibrary>
#include <optional>

namespace {

// libcurl has kept this binary interface since 2006.
constexpr int kCurlMajorVersion = 4;

template <typename Function> bool resolve(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

struct LoadedCurl
{
    std::optional<CurlApi> api;
    QString errorText;
};

LoadedCurl loadCurl()
{
    // Never unloaded: handles may live until the program ends.
    static QLibrary library(QStringLiteral("curl"), kCurlMajorVersion);
    if (!library.load())
        return {std::nullopt, QStringLiteral("libcurl could not be loaded: ") + library.errorString()};
    CurlApi api;
    decltype(&curl_global_init) globalInit = nullptr;
    const bool complete = resolve(library, "curl_global_init", globalInit) &&
                          resolve(library, "curl_easy_init", api.easyInit) &&
                          resolve(library, "curl_easy_setopt", api.easySetopt) &&
                          resolve(library, "curl_easy_getinfo", api.easyGetinfo) &&
                          resolve(library, "curl_easy_cleanup", api.easyCleanup) &&
                          resolve(library, "curl_easy_strerror", api.easyStrerror) &&
                          resolve(library, "curl_multi_init", api.multiInit) &&
                          resolve(library, "curl_multi_add_handle", api.multiAddHandle) &&
                          resolve(library, "curl_multi_remove_handle", api.multiRemoveHandle) &&
                          resolve(library, "curl_multi_perform", api.multiPerform) &&
                          resolve(library, "curl_multi_poll", api.multiPoll) &&
                          resolve(library, "curl_multi_info_read", api.multiInfoRead) &&
                          resolve(library, "curl_multi_cleanup", api.multiCleanup) &&
                          resolve(library, "curl_multi_strerror", api.multiStrerror) &&
                          resolve(library, "curl_slist_append", api.slistAppend) &&
                          resolve(library, "curl_slist_free_all", api.slistFreeAll) &&
                          resolve(library, "curl_version_info", api.versionInfo);
    if (!complete)
        return {std::nullopt, QStringLiteral("libcurl could not be loaded: ") + library.errorString()};
    if (const CURLcode code = globalInit(CURL_GLOBAL_DEFAULT); code != CURLE_OK)
        return {std::nullopt,
                QStringLiteral("libcurl could not be started: ") + QString::fromLatin1(api.easyStrerror(code))};
    return {api, QString()};
}

} // namespace

const CurlApi* curlApi(QString* errorText)
{
    static const LoadedCurl loaded = loadCurl();
    if (!loaded.api && errorText)
        *errorText = loaded.errorText;
    return loaded.api ? &*loaded.api : nullptr;
}
