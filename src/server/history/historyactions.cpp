#include "server/history/historyactions.h"

#include "platform/filechangenotice.h"
#include "platform/filereplacement.h"
#include "platform/prompter.h"
#include "server/history/changerecording.h"
#include "server/loadedserver.h"
#include "server/serverchange.h"
#include "server/serverfiles.h"
#include "session/appstate.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

const QString kAttention = QStringLiteral("Attention!");

QString shortId(const QString& id)
{
    return id.left(8);
}

// Writes the files as given (none: removed) under the server's lock, as one revision named by the description.
// A file someone changed since the newest revision, or a newest revision this program has not seen, is only
// overwritten when the user agrees.
RestoreOutcome restoreFiles(AppState& state, ServerHistory& history,
                            const QMap<QString, std::optional<QByteArray>>& target, const QString& description,
                            Prompter& prompter, const QStringList& recordedLate = {})
{
    ServerChange change(state);
    if (!change.isHeld()) {
        prompter.message(kAttention, change.errorText());
        return RestoreOutcome::Failed;
    }
    QStringList changedSince;
    QStringList toWrite;
    for (const QString& name : recordedLate)
        changedSince << QStringLiteral("%1, which the history recorded only after it was changed").arg(name);
    // Files the revision does not touch that differ from the newest one were changed without the history knowing
    // (a process ended between its write and its revision): the user hears of them before anything is undone.
    const std::optional<QStringList> unrecorded =
        history.namesChangedSinceHead(history.namesOnDisk(historyFiles(state)));
    if (!unrecorded) {
        prompter.message(kAttention, history.errorText());
        return RestoreOutcome::Failed;
    }
    for (const QString& name : *unrecorded) {
        if (!target.contains(name))
            changedSince << QStringLiteral("%1, which the history did not record").arg(name);
    }
    for (auto it = target.cbegin(); it != target.cend(); ++it) {
        if (history.bytesOnDisk(history.diskPath(it.key())) == it.value())
            continue;
        toWrite << it.key();
        const std::optional<bool> same = history.diskMatchesHead(it.key());
        if (!same) {
            prompter.message(kAttention, history.errorText());
            return RestoreOutcome::Failed;
        }
        if (!*same)
            changedSince << QStringLiteral("%1 by another program").arg(it.key());
    }
    const std::optional<QString> head = history.head();
    if (!head) {
        prompter.message(kAttention, history.errorText());
        return RestoreOutcome::Failed;
    }
    const QString seen = ChangeRecording::seenHead(state.zoneLists.datapath);
    if (!seen.isEmpty() && seen != *head) {
        if (const std::optional<Revision> newest = history.revision(*head))
            changedSince << QStringLiteral("\"%1\" by %2").arg(newest->summary, newest->author);
    }
    if (!changedSince.isEmpty() &&
        prompter.message(QStringLiteral("Question!"),
                         QStringLiteral("The server was changed since this program last read it: %1. Overwrite "
                                        "those changes?")
                             .arg(changedSince.join(QStringLiteral("; "))),
                         Prompter::Button::Yes | Prompter::Button::No,
                         Prompter::Icon::Question) != Prompter::Button::Yes)
        return RestoreOutcome::Cancelled;
    if (toWrite.isEmpty()) {
        prompter.message(kAttention, QStringLiteral("The files already are as the revision holds them."));
        return RestoreOutcome::NothingToUndo;
    }
    change.describe(description);
    // Kept as a revision of their own before this one, rather than left unrecorded.
    for (const QString& name : *unrecorded) {
        if (!target.contains(name))
            announceFileChange(history.diskPath(name));
    }
    for (const QString& name : std::as_const(toWrite)) {
        const QString path = history.diskPath(name);
        const std::optional<QByteArray>& bytes = target.value(name);
        if (bytes) {
            const FileWriteResult written = replaceServerFile(
                FolderConfinement({state.boot.bootDirectory, state.zoneLists.datapath}), path, *bytes);
            if (!written.ok) {
                prompter.message(kAttention, written.errorText);
                return RestoreOutcome::Failed;
            }
            continue;
        }
        announceFileChange(path);
        QFile file(path);
        if (!file.remove()) {
            prompter.message(kAttention,
                             QStringLiteral("The file %1 could not be deleted: %2").arg(path, file.errorString()));
            return RestoreOutcome::Failed;
        }
    }
    return RestoreOutcome::Restored;
}

} // namespace

std::unique_ptr<ServerHistory> historyOfLoadedServer(const AppState& state, Prompter& prompter)
{
    if (state.boot.bootDirectory.isEmpty() || state.zoneLists.datapath.isEmpty()) {
        prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a server."));
        return nullptr;
    }
    auto history = std::make_unique<ServerHistory>(state.boot.bootDirectory, state.zoneLists.datapath);
    if (!history->open(false)) {
        prompter.message(kAttention, history->errorText());
        return nullptr;
    }
    return history;
}

std::optional<QString> revisionToUndo(ServerHistory& history)
{
    const std::optional<QList<Revision>> revisions = history.revisions();
    if (!revisions)
        return std::nullopt;
    QSet<QString> undone;
    for (qsizetype i = 0; i + 1 < revisions->size(); ++i) {
        const Revision& revision = revisions->at(i);
        if (!revision.undoes.isEmpty()) {
            undone.insert(revision.undoes);
            continue;
        }
        if (!undone.contains(revision.id))
            return revision.id;
    }
    return QString();
}

RestoreOutcome undoLastChange(AppState& state, Prompter& prompter)
{
    const std::unique_ptr<ServerHistory> history = historyOfLoadedServer(state, prompter);
    if (!history)
        return RestoreOutcome::Failed;
    const std::optional<QString> id = revisionToUndo(*history);
    if (!id) {
        prompter.message(kAttention, history->errorText());
        return RestoreOutcome::Failed;
    }
    if (id->isEmpty()) {
        prompter.message(kAttention, QStringLiteral("There is no change to undo."));
        return RestoreOutcome::NothingToUndo;
    }
    const std::optional<Revision> revision = history->revision(*id);
    const std::optional<QMap<QString, QByteArray>> before = history->files(*id + QStringLiteral("~1"));
    if (!revision || !before) {
        prompter.message(kAttention, history->errorText());
        return RestoreOutcome::Failed;
    }
    QMap<QString, std::optional<QByteArray>> target;
    for (const QString& name : revision->files)
        target.insert(name, before->contains(name) ? std::optional<QByteArray>(before->value(name)) : std::nullopt);
    const bool late = revision->message.contains(QLatin1String(ServerHistory::kUnrecordedTrailer));
    return restoreFiles(
        state, *history, target,
        QStringLiteral("Undo: %1\n\n%2%3").arg(revision->summary, QLatin1String(ServerHistory::kUndoTrailer), *id),
        prompter, late ? revision->files : QStringList());
}

RestoreOutcome revertToRevision(AppState& state, const QString& revisionName, Prompter& prompter)
{
    const std::unique_ptr<ServerHistory> history = historyOfLoadedServer(state, prompter);
    if (!history)
        return RestoreOutcome::Failed;
    const std::optional<Revision> revision = history->revision(revisionName);
    if (!revision) {
        prompter.message(kAttention, history->errorText());
        return RestoreOutcome::Failed;
    }
    const std::optional<QMap<QString, QByteArray>> wanted = history->files(revision->id);
    const std::optional<QMap<QString, QByteArray>> newest = history->files(QStringLiteral("HEAD"));
    if (!wanted || !newest) {
        prompter.message(kAttention, history->errorText());
        return RestoreOutcome::Failed;
    }
    QMap<QString, std::optional<QByteArray>> target;
    for (auto it = wanted->cbegin(); it != wanted->cend(); ++it)
        target.insert(it.key(), it.value());
    for (auto it = newest->cbegin(); it != newest->cend(); ++it) {
        if (!wanted->contains(it.key()))
            target.insert(it.key(), std::nullopt);
    }
    return restoreFiles(state, *history, target,
                        QStringLiteral("Revert to revision %1: %2").arg(shortId(revision->id), revision->summary),
                        prompter);
}

std::optional<QString> changesSinceLoaded(const AppState& state, QString* error)
{
    ServerHistory history(state.boot.bootDirectory, state.zoneLists.datapath);
    if (!history.exists())
        return QString();
    std::optional<QString> from = history.marker(ServerHistory::kLoadedMarker);
    if (from && from->isEmpty()) {
        const std::optional<QList<Revision>> all = history.revisions();
        from = all ? std::optional<QString>(all->isEmpty() ? QString() : all->last().id) : std::nullopt;
    }
    QStringList names = history.namesOnDisk(historyFiles(state));
    // A file the name server loaded that is gone since is a change as well.
    const std::optional<QMap<QString, QByteArray>> loaded =
        from && !from->isEmpty() ? history.files(*from) : std::optional<QMap<QString, QByteArray>>();
    for (const QString& name : loaded ? loaded->keys() : QStringList()) {
        if (!names.contains(name))
            names << name;
    }
    std::optional<QString> text = from ? history.diffToDisk(*from, names) : std::nullopt;
    if (!text && error)
        *error = history.errorText();
    return text;
}

QString markLoaded(const AppState& state)
{
    ServerHistory history(state.boot.bootDirectory, state.zoneLists.datapath);
    if (!history.exists())
        return QString();
    const std::optional<QString> head = history.head();
    if (!head || (!head->isEmpty() && !history.setMarker(ServerHistory::kLoadedMarker, *head)))
        return QStringLiteral("The server's history could not note what the name server loaded: %1")
            .arg(history.errorText());
    return QString();
}
