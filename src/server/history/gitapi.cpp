#include "server/history/gitapi.h"

#include <QLibrary>
#include <optional>

namespace {

struct LoadedGit
{
    std::optional<GitApi> api;
    QString errorText;
};

LoadedGit loadGit()
{
    // The version the program was built against: libgit2 changes its binary interface with every minor release.
    // Never unloaded, since repositories may stay open until the program ends.
    static QLibrary library(QStringLiteral("git2"), QStringLiteral(QUORVANE_LIBGIT2_SOVERSION));
    if (!library.load())
        return {std::nullopt, QStringLiteral("libgit2 could not be loaded: ") + library.errorString()};
    GitApi api;
    QString missing;
#define QUORVANE_GIT_RESOLVE(name)                                                                                     \
    api.name = reinterpret_cast<decltype(api.name)>(library.resolve(#name));                                           \
    if (!api.name && missing.isEmpty())                                                                                \
        missing = QStringLiteral(#name);
    QUORVANE_GIT_FUNCTIONS(QUORVANE_GIT_RESOLVE)
#undef QUORVANE_GIT_RESOLVE
    if (!missing.isEmpty())
        return {std::nullopt, QStringLiteral("libgit2 %1 lacks %2").arg(library.fileName(), missing)};
    if (api.git_libgit2_init() < 0)
        return {std::nullopt, QStringLiteral("libgit2 could not be started")};
    return {api, QString()};
}

} // namespace

const GitApi* gitApi(QString* errorText)
{
    static const LoadedGit loaded = loadGit();
    if (!loaded.api && errorText)
        *errorText = loaded.errorText;
    return loaded.api ? &*loaded.api : nullptr;
}
