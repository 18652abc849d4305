#include "server/history/serverhistory.h"

#include "bootfile/bootconfig.h"
#include "platform/filereading.h"
#include "platform/lockfile.h"
#include "platform/systemtext.h"
#include "server/history/gitapi.h"
#include "server/serverfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHostInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Only ever called once a history is open, which needs the library loaded.
const GitApi& git()
{
    return *gitApi();
}

template <typename T, auto Free> struct Owned
{
    T* ptr = nullptr;
    Owned() = default;
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned()
    {
        if (ptr)
            (git().*Free)(ptr);
    }
    T** out() { return &ptr; }
    T* get() const { return ptr; }
};

using Commit = Owned<git_commit, &GitApi::git_commit_free>;
using Tree = Owned<git_tree, &GitApi::git_tree_free>;
using TreeEntry = Owned<git_tree_entry, &GitApi::git_tree_entry_free>;
using Blob = Owned<git_blob, &GitApi::git_blob_free>;
using Diff = Owned<git_diff, &GitApi::git_diff_free>;
using Patch = Owned<git_patch, &GitApi::git_patch_free>;
using Walk = Owned<git_revwalk, &GitApi::git_revwalk_free>;
using Object = Owned<git_object, &GitApi::git_object_free>;
using Signature = Owned<git_signature, &GitApi::git_signature_free>;
using Reference = Owned<git_reference, &GitApi::git_reference_free>;

struct Buffer
{
    git_buf buf = GIT_BUF_INIT;
    ~Buffer() { git().git_buf_dispose(&buf); }
    QByteArray bytes() const { return QByteArray(buf.ptr, qsizetype(buf.size)); }
};

// Above the repository's own loose (1) and packed (2) object stores, so that writes go here.
constexpr int kFastObjectsPriority = 3;
// Above that again, for the objects of a first revision, which are gathered in memory.
constexpr int kMemoryObjectsPriority = 4;
// Above the fast store, once the history is kept from other users while it is open.
constexpr int kPrivateObjectsPriority = 5;
// A first revision of at least this many files is written as one pack file rather than a file for each: for a
// server of ten thousand zones, half a second rather than three, and a fourteenth of the space.
constexpr qsizetype kPackedFiles = 256;

// Writes the files' contents into the repository as one pack file, the id of each content (a zero id for a file
// without one) in ids. Through a repository object of its own, whose store in memory goes away with it; the
// contents wait there until the pack is written.
bool writePacked(const QByteArray& gitDirectory, const QList<HistoryFile>& files, QList<git_oid>& ids)
{
    Owned<git_repository, &GitApi::git_repository_free> bulk;
    Owned<git_odb, &GitApi::git_odb_free> odb;
    git_odb_backend* memory = nullptr;
    if (git().git_repository_open_bare(bulk.out(), gitDirectory.constData()) != 0 ||
        git().git_repository_odb(odb.out(), bulk.get()) != 0 || git().git_mempack_new(&memory) != 0)
        return false;
    if (git().git_odb_add_backend(odb.get(), memory, kMemoryObjectsPriority) != 0) {
        memory->free(memory);
        return false;
    }
    for (const HistoryFile& file : files) {
        git_oid id{};
        if (file.bytes && git().git_blob_create_from_buffer(&id, bulk.get(), file.bytes->constData(),
                                                            size_t(file.bytes->size())) != 0)
            return false;
        ids << id;
    }
    // From the store in memory into one pack file and its index in the repository's pack folder.
    Owned<git_packbuilder, &GitApi::git_packbuilder_free> builder;
    bool written = git().git_packbuilder_new(builder.out(), bulk.get()) == 0;
    // Similar zones are kept as differences from each other; looking for them takes every processor.
    if (written)
        git().git_packbuilder_set_threads(builder.get(), 0);
    for (const git_oid& id : std::as_const(ids)) {
        if (written && !git().git_oid_is_zero(&id))
            written = git().git_packbuilder_insert(builder.get(), &id, nullptr) == 0;
    }
    written = written && git().git_packbuilder_write(builder.get(), nullptr, 0, nullptr, nullptr) == 0;
    git().git_mempack_reset(memory);
    return written;
}

QString lastGitError()
{
    const git_error* error = git().git_error_last();
    return error && error->message ? QString::fromUtf8(error->message).trimmed() : QStringLiteral("unknown error");
}

QString bootName()
{
    return BootConfig::fileName();
}

// Two hexadecimal digits of the name's hash: 256 subfolders keep each tree a revision writes small.
QByteArray treePath(const QString& name)
{
    const QByteArray bytes = name.toUtf8();
    if (name == bootName())
        return bytes;
    const QByteArray digest = QCryptographicHash::hash(name.toLower().toUtf8(), QCryptographicHash::Md5);
    return digest.left(1).toHex() + '/' + bytes;
}

QString nameOfTreePath(const char* path)
{
    const QString text = QString::fromUtf8(path);
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? text : text.mid(slash + 1);
}

QString oidText(const git_oid* oid)
{
    char text[GIT_OID_HEXSZ + 1];
    git().git_oid_tostr(text, sizeof text, oid);
    return QString::fromLatin1(text);
}

QByteArray userName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
        return entry->pw_name;
    const QByteArray fromEnvironment = qgetenv("USER");
    return fromEnvironment.isEmpty() ? QByteArray("unknown") : fromEnvironment;
}

// Names in a patch as the program names its files, without the hash subfolder.
QString programNames(const QByteArray& patch)
{
    static const QRegularExpression subfolder(QStringLiteral("(^|[ \\t])([ab]/)?[0-9a-f]{2}/"),
                                              QRegularExpression::MultilineOption);
    QString text = QString::fromUtf8(patch);
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.startsWith(QLatin1String("diff --git ")) || line.startsWith(QLatin1String("--- ")) ||
            line.startsWith(QLatin1String("+++ ")))
            line.replace(subfolder, QStringLiteral("\\1\\2"));
    }
    return lines.join(QLatin1Char('\n'));
}

QString undoneRevision(const QString& message)
{
    for (const QString& line : message.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(ServerHistory::kUndoTrailer)))
            return line.mid(qsizetype(qstrlen(ServerHistory::kUndoTrailer))).trimmed();
    }
    return QString();
}

// The entries of a folder, with their kind and age; empty when it cannot be listed.
struct Entry
{
    QByteArray name;
    bool file = false;
    time_t modified = 0;
    off_t size = 0;
};

QList<Entry> entriesOf(const QByteArray& folder)
{
    QList<Entry> entries;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return entries;
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info;
        if (::lstat(QByteArray(folder + '/' + name).constData(), &info) != 0)
            continue;
        entries.append({name, S_ISREG(info.st_mode), info.st_mtime, info.st_size});
    }
    ::closedir(dir);
    return entries;
}

// Forces a file or folder onto the disk; true where the file system cannot do it, false on a real failure.
bool syncPath(const QByteArray& path, bool folder)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | (folder ? O_DIRECTORY : 0));
    if (fd < 0)
        return errno == ENOENT;
    const bool synced = ::fsync(fd) == 0 || flushIsPointless(errno);
    ::close(fd);
    return synced;
}

QByteArray objectPath(const QByteArray& gitDirectory, const git_oid& id)
{
    char text[GIT_OID_HEXSZ + 1];
    git().git_oid_tostr(text, sizeof text, &id);
    return gitDirectory + "/objects/" + QByteArray(text, 2) + '/' + QByteArray(text + 2);
}

// A loose object's folder, to count them by: one of the 256, as Git itself estimates.
constexpr const char* kSampleFolder = "/objects/17";

} // namespace

std::optional<QByteArray> serverFileBytes(const FolderConfinement& folders, const QString& path)
{
    // A link in the file's place is followed only as far as it stays inside the folders; the file it leads to is
    // then opened without following one, so that nothing swapped in meanwhile is read either.
    const std::optional<QString> resolved = folders.resolve(path);
    if (!resolved)
        return std::nullopt;
    return readWholeFile(*resolved, ReadLimit::kZoneFile, FinalLinks::Refuse).bytes;
}

ServerHistory::ServerHistory(QString bootDirectory, QString dataDirectory)
    : m_bootDirectory(std::move(bootDirectory)), m_dataDirectory(std::move(dataDirectory)),
      m_inside(QStringList{m_bootDirectory, m_dataDirectory})
{
}

ServerHistory::~ServerHistory()
{
    if (m_repository)
        git().git_repository_free(m_repository);
}

QString ServerHistory::gitDirectory(const QString& dataDirectory)
{
    return QDir(backupFolder(dataDirectory)).filePath(QStringLiteral("history.git"));
}

bool ServerHistory::exists() const
{
    return QFileInfo(QDir(gitDirectory(m_dataDirectory)).filePath(QStringLiteral("HEAD"))).isFile();
}

bool ServerHistory::fail(const QString& what)
{
    return failWith(what, lastGitError());
}

bool ServerHistory::failWith(const QString& what, const QString& why)
{
    m_error = QStringLiteral("%1: %2").arg(what, why);
    return false;
}

void ServerHistory::keepPrivate(const QByteArray& file) const
{
    // The library writes references with the usual modes; a history kept from other users keeps them so too.
    struct stat info;
    if (isPrivate() && ::lstat(file.constData(), &info) == 0 && S_ISREG(info.st_mode))
        ::chmod(file.constData(), info.st_mode & 0700);
}

bool ServerHistory::isPrivate() const
{
    struct stat info;
    return ::stat(nativePath(gitDirectory(m_dataDirectory)).constData(), &info) == 0 && (info.st_mode & 077) == 0;
}

bool ServerHistory::open(bool create)
{
    if (m_repository)
        return true;
    if (QString unavailable; !gitApi(&unavailable)) {
        m_error = unavailable;
        return false;
    }
    const QByteArray path = QFile::encodeName(gitDirectory(m_dataDirectory));
    if (exists()) {
        if (git().git_repository_open_bare(&m_repository, path.constData()) != 0)
            return fail(QStringLiteral("The history %1 could not be opened").arg(QString::fromLocal8Bit(path)));
    } else if (!create) {
        m_error = QStringLiteral("The server has no history yet.");
        return false;
    } else if (git().git_repository_init(&m_repository, path.constData(), 1) != 0) {
        return fail(QStringLiteral("The history %1 could not be made").arg(QString::fromLocal8Bit(path)));
    }
    // New objects are written with the fastest compression, which keeps recording a change to a zone of a
    // hundred thousand records under a tenth of a second. They are not forced to the disk one by one (that would
    // double the time): the zone files are, and a crash can cost the history at most its newest revision, which
    // the next undo then sees as a change made outside and asks about.
    git_odb* odb = nullptr;
    git_odb_backend* loose = nullptr;
    const QByteArray objects = path + "/objects";
    // The objects of a history kept from other users are its owner's alone as they are written.
    const bool kept = isPrivate();
    const bool fast =
        git().git_repository_odb(&odb, m_repository) == 0 &&
        git().git_odb_backend_loose(&loose, objects.constData(), 1, 0, kept ? 0700 : 0, kept ? 0400 : 0) == 0 &&
        git().git_odb_add_backend(odb, loose, kFastObjectsPriority) == 0;
    if (!fast && loose)
        loose->free(loose);
    git().git_odb_free(odb);
    return fast || fail(QStringLiteral("The history %1 could not be opened").arg(QString::fromLocal8Bit(path)));
}

std::optional<QByteArray> ServerHistory::bytesOnDisk(const QString& path) const
{
    return serverFileBytes(m_inside, path);
}

QString ServerHistory::diskPath(const QString& name) const
{
    return QDir(name == bootName() ? m_bootDirectory : m_dataDirectory).filePath(name);
}

QStringList ServerHistory::namesOnDisk(const QStringList& names) const
{
    // One listing of the folder rather than one search per name: a server may have thousands of zones.
    QHash<QString, QString> spelled;
    for (const QString& entry : QDir(m_dataDirectory).entryList(QDir::Files))
        spelled.insert(entry.toLower(), entry);
    QStringList result;
    QSet<QString> seen;
    for (const QString& name : names) {
        const QString found = name == bootName() ? name : spelled.value(name.toLower(), name);
        if (!seen.contains(found)) {
            seen.insert(found);
            result << found;
        }
    }
    return result;
}

QString ServerHistory::nameOf(const QString& path) const
{
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QString();
    if (file.fileName() == bootName() && folder == QFileInfo(m_bootDirectory).canonicalFilePath())
        return bootName();
    if (folder == QFileInfo(m_dataDirectory).canonicalFilePath())
        return file.fileName();
    return QString();
}

std::optional<QString> ServerHistory::head()
{
    if (!open(false))
        return std::nullopt;
    git_oid oid;
    const int status = git().git_reference_name_to_id(&oid, m_repository, "HEAD");
    if (status == GIT_ENOTFOUND || status == GIT_EUNBORNBRANCH)
        return QString();
    if (status != 0) {
        fail(QStringLiteral("The newest revision could not be read"));
        return std::nullopt;
    }
    return oidText(&oid);
}

void ServerHistory::clearLeftovers()
{
    // Only ever called under the server's lock, which every writer of the history holds: a lock or temporary file
    // older than a few seconds is what a process that was ended left behind. Left in place, a lock would refuse
    // every later revision.
    const QByteArray root = nativePath(gitDirectory(m_dataDirectory));
    const time_t now = ::time(nullptr);
    const auto stale = [now](const Entry& entry) {
        return entry.file && now - entry.modified > LockFile::kUnreadableStaleSeconds;
    };
    QStringList cleared;
    for (const QByteArray& folder : QList<QByteArray>{root, root + "/refs/heads", root + "/refs/quorvane"}) {
        for (const Entry& entry : entriesOf(folder)) {
            if (entry.name.endsWith(".lock") && stale(entry) &&
                ::unlink(QByteArray(folder + '/' + entry.name).constData()) == 0)
                cleared << QFile::decodeName(QByteArray(folder + '/' + entry.name));
        }
    }
    if (!cleared.isEmpty())
        m_notices << QStringLiteral("The server's history held lock files that a Quorvane which was ended left "
                                    "behind; they were removed: %1")
                         .arg(cleared.join(QStringLiteral(", ")));
    // Objects half written are never part of a revision.
    for (const QByteArray& folder : QList<QByteArray>{root + "/objects", root + "/objects/pack"}) {
        for (const Entry& entry : entriesOf(folder)) {
            if (entry.name.contains("_git2_") && stale(entry))
                ::unlink(QByteArray(folder + '/' + entry.name).constData());
        }
    }
}

namespace {

int collectName(const char*, const git_tree_entry* entry, void* payload)
{
    if (git().git_tree_entry_type(entry) == GIT_OBJECT_BLOB)
        static_cast<QStringList*>(payload)->append(nameOfTreePath(git().git_tree_entry_name(entry)));
    return 0;
}

} // namespace

void ServerHistory::makePrivate(const QList<HistoryFile>& files, git_tree* held)
{
    if (isPrivate())
        return;
    QStringList names;
    for (const HistoryFile& file : files)
        names << file.name;
    if (held)
        git().git_tree_walk(held, GIT_TREEWALK_PRE, collectName, &names);
    const bool kept = std::any_of(names.cbegin(), names.cend(), [this](const QString& name) {
        struct stat info;
        return ::stat(nativePath(diskPath(name)).constData(), &info) == 0 && !(info.st_mode & S_IROTH);
    });
    if (!kept)
        return;
    // A file other users may not read is not to be read by them through its revisions either: the history
    // becomes its owner's alone, everything already in it too.
    const QString root = gitDirectory(m_dataDirectory);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString& path : std::as_const(paths)) {
        struct stat info;
        const QByteArray native = nativePath(path);
        if (::lstat(native.constData(), &info) == 0 && !S_ISLNK(info.st_mode))
            ::chmod(native.constData(), info.st_mode & 0700);
    }
    // Objects written from now on are the owner's alone as well.
    git_odb* odb = nullptr;
    git_odb_backend* loose = nullptr;
    const QByteArray objects = nativePath(root) + "/objects";
    if (git().git_repository_odb(&odb, m_repository) == 0 &&
        git().git_odb_backend_loose(&loose, objects.constData(), 1, 0, 0700, 0400) == 0 &&
        git().git_odb_add_backend(odb, loose, kPrivateObjectsPriority) != 0)
        loose->free(loose);
    git().git_odb_free(odb);
}

bool ServerHistory::syncObjects(const QList<git_oid>& ids)
{
    const QByteArray root = nativePath(gitDirectory(m_dataDirectory));
    QSet<QByteArray> folders;
    for (const git_oid& id : ids) {
        const QByteArray path = objectPath(root, id);
        if (!syncPath(path, false))
            return failWith(QStringLiteral("The revision could not be written"), systemError(errno));
        folders.insert(path.left(path.lastIndexOf('/')));
    }
    folders.insert(root + "/objects");
    // A first revision's pack file, where there is one.
    for (const Entry& entry : entriesOf(root + "/objects/pack")) {
        if (entry.file && !syncPath(root + "/objects/pack/" + entry.name, false))
            return failWith(QStringLiteral("The revision could not be written"), systemError(errno));
    }
    folders.insert(root + "/objects/pack");
    for (const QByteArray& folder : std::as_const(folders)) {
        if (!syncPath(folder, true))
            return failWith(QStringLiteral("The revision could not be written"), systemError(errno));
    }
    return true;
}

bool ServerHistory::writeHead(const git_oid& commit, const git_oid* parent)
{
    Reference head;
    if (git().git_reference_lookup(head.out(), m_repository, "HEAD") != 0)
        return fail(QStringLiteral("The newest revision could not be noted"));
    const char* symbolic = git().git_reference_symbolic_target(head.get());
    const QByteArray branch = symbolic ? QByteArray(symbolic) : QByteArray("HEAD");
    // Moved only from the revision this one was made on: a newest revision made meanwhile is not lost.
    Reference moved;
    if (git().git_reference_create_matching(moved.out(), m_repository, branch.constData(), &commit, 1, parent,
                                            nullptr) != 0)
        return fail(QStringLiteral("The newest revision could not be noted"));
    const QByteArray root = nativePath(gitDirectory(m_dataDirectory));
    const QByteArray file = root + '/' + branch;
    keepPrivate(file);
    if (!syncPath(file, false) || !syncPath(file.left(file.lastIndexOf('/')), true))
        return failWith(QStringLiteral("The newest revision could not be noted"), systemError(errno));
    return true;
}

bool ServerHistory::verifyRevision(const QList<git_oid>& written, bool headToo)
{
    // Read back through a repository object of its own, which holds nothing in memory: what a later run will see.
    // Each object read is inflated whole and its hash checked.
    Owned<git_repository, &GitApi::git_repository_free> fresh;
    const QByteArray path = QFile::encodeName(gitDirectory(m_dataDirectory));
    if (git().git_repository_open_bare(fresh.out(), path.constData()) != 0)
        return fail(QStringLiteral("The revision could not be read back after it was written"));
    for (const git_oid& id : written) {
        Object object;
        if (git().git_object_lookup(object.out(), fresh.get(), &id, GIT_OBJECT_ANY) != 0)
            return fail(QStringLiteral("The revision could not be read back after it was written"));
    }
    git_oid head;
    if (headToo && (git().git_reference_name_to_id(&head, fresh.get(), "HEAD") != 0 ||
                    !git().git_oid_equal(&head, &written.last())))
        return failWith(QStringLiteral("The newest revision could not be noted"),
                        QStringLiteral("it does not read back as written"));
    return true;
}

std::optional<QString> ServerHistory::record(const QString& message, const QList<HistoryFile>& files)
{
    if (!open(true))
        return std::nullopt;
    clearLeftovers();
    const std::optional<QString> headId = head();
    if (!headId)
        return std::nullopt;
    Commit parent;
    Tree base;
    git_oid parentId{};
    if (!headId->isEmpty()) {
        git().git_oid_fromstr(&parentId, headId->toLatin1().constData());
        if (git().git_commit_lookup(parent.out(), m_repository, &parentId) != 0 ||
            git().git_commit_tree(base.out(), parent.get()) != 0) {
            fail(QStringLiteral("The newest revision could not be read"));
            return std::nullopt;
        }
    } else {
        git_oid empty;
        Owned<git_treebuilder, &GitApi::git_treebuilder_free> builder;
        if (git().git_treebuilder_new(builder.out(), m_repository, nullptr) != 0 ||
            git().git_treebuilder_write(&empty, builder.get()) != 0 ||
            git().git_tree_lookup(base.out(), m_repository, &empty) != 0) {
            fail(QStringLiteral("The first revision could not be made"));
            return std::nullopt;
        }
    }
    makePrivate(files, base.get());

    QList<git_oid> packed;
    if (headId->isEmpty() && files.size() >= kPackedFiles &&
        !writePacked(QFile::encodeName(gitDirectory(m_dataDirectory)), files, packed)) {
        fail(QStringLiteral("The first revision could not be made"));
        return std::nullopt;
    }
    QList<QByteArray> paths;
    paths.reserve(files.size());
    std::vector<git_tree_update> updates;
    QList<git_oid> written;
    for (qsizetype index = 0; index < files.size(); ++index) {
        const HistoryFile& file = files.at(index);
        paths << treePath(file.name);
        TreeEntry entry;
        const bool held = git().git_tree_entry_bypath(entry.out(), base.get(), paths.last().constData()) == 0;
        git_tree_update update{};
        update.path = paths.last().constData();
        if (!file.bytes) {
            if (!held)
                continue;
            update.action = GIT_TREE_UPDATE_REMOVE;
        } else if (!packed.isEmpty()) {
            update.id = packed.at(index);
            update.action = GIT_TREE_UPDATE_UPSERT;
            update.filemode = GIT_FILEMODE_BLOB;
        } else {
            if (git().git_blob_create_from_buffer(&update.id, m_repository, file.bytes->constData(),
                                                  size_t(file.bytes->size())) != 0) {
                fail(QStringLiteral("%1 could not be kept").arg(file.name));
                return std::nullopt;
            }
            if (held && git().git_oid_equal(&update.id, git().git_tree_entry_id(entry.get())))
                continue;
            update.action = GIT_TREE_UPDATE_UPSERT;
            update.filemode = GIT_FILEMODE_BLOB;
            written << update.id;
        }
        updates.push_back(update);
    }
    if (updates.empty() && !headId->isEmpty())
        return QString();

    git_oid treeId;
    Tree tree;
    if (git().git_tree_create_updated(&treeId, m_repository, base.get(), updates.size(), updates.data()) != 0 ||
        git().git_tree_lookup(tree.out(), m_repository, &treeId) != 0) {
        fail(QStringLiteral("The revision's files could not be kept"));
        return std::nullopt;
    }
    written << treeId;
    // The subfolders the revision changed have trees of their own.
    QSet<QByteArray> subfolders;
    for (const git_tree_update& update : updates) {
        const QByteArray path(update.path);
        if (const qsizetype slash = path.indexOf('/'); slash > 0)
            subfolders.insert(path.left(slash));
    }
    for (const QByteArray& subfolder : std::as_const(subfolders)) {
        TreeEntry entry;
        if (git().git_tree_entry_bypath(entry.out(), tree.get(), subfolder.constData()) == 0)
            written << *git().git_tree_entry_id(entry.get());
    }
    const QByteArray user = userName();
    const QByteArray host = QHostInfo::localHostName().toUtf8();
    Signature signature;
    const QByteArray email = user + '@' + host;
    if (git().git_signature_now(signature.out(), user.constData(), email.constData()) != 0) {
        fail(QStringLiteral("The revision could not be signed"));
        return std::nullopt;
    }
    const git_commit* parents[] = {parent.get()};
    git_oid commitId;
    const QByteArray text = message.toUtf8() + '\n';
    // The newest revision is noted only once the revision and everything in it are on the disk, and read back.
    if (git().git_commit_create(&commitId, m_repository, nullptr, signature.get(), signature.get(), nullptr,
                                text.constData(), tree.get(), parent.get() ? 1 : 0, parents) != 0) {
        fail(QStringLiteral("The revision could not be written"));
        return std::nullopt;
    }
    written << commitId;
    if (!syncObjects(written) || !verifyRevision(written, false) ||
        !writeHead(commitId, headId->isEmpty() ? nullptr : &parentId) || !verifyRevision({commitId}, true))
        return std::nullopt;
    return oidText(&commitId);
}

namespace {

// The files that differ between two trees (either may be null).
std::optional<QStringList> changedNames(git_repository* repository, git_tree* older, git_tree* newer)
{
    Diff diff;
    if (git().git_diff_tree_to_tree(diff.out(), repository, older, newer, nullptr) != 0)
        return std::nullopt;
    QStringList names;
    for (size_t i = 0; i < git().git_diff_num_deltas(diff.get()); ++i) {
        const git_diff_delta* delta = git().git_diff_get_delta(diff.get(), i);
        names << nameOfTreePath(delta->new_file.path ? delta->new_file.path : delta->old_file.path);
    }
    return names;
}

bool parentTree(git_commit* commit, Tree& tree)
{
    if (git().git_commit_parentcount(commit) == 0)
        return true;
    Commit parent;
    return git().git_commit_parent(parent.out(), commit, 0) == 0 &&
           git().git_commit_tree(tree.out(), parent.get()) == 0;
}

QString missingRevision(const QString& name)
{
    return QStringLiteral("The history holds no revision %1.").arg(name);
}

// The revision a name (a hash, a prefix of one or a reference) stands for, its files and those of the revision before
// it (none for the first).
bool findRevision(git_repository* repository, const QString& name, Commit& commit, Tree& tree, Tree& older)
{
    Object object;
    return !name.trimmed().isEmpty() &&
           git().git_revparse_single(object.out(), repository, name.trimmed().toUtf8().constData()) == 0 &&
           git().git_commit_lookup(commit.out(), repository, git().git_object_id(object.get())) == 0 &&
           git().git_commit_tree(tree.out(), commit.get()) == 0 && parentTree(commit.get(), older);
}

} // namespace

std::optional<QList<Revision>> ServerHistory::revisions(const QString& fileName)
{
    if (!open(false))
        return std::nullopt;
    QList<Revision> list;
    const std::optional<QString> headId = head();
    if (!headId)
        return std::nullopt;
    if (headId->isEmpty())
        return list;
    Walk walk;
    if (git().git_revwalk_new(walk.out(), m_repository) != 0 || git().git_revwalk_push_head(walk.get()) != 0) {
        fail(QStringLiteral("The history could not be read"));
        return std::nullopt;
    }
    git().git_revwalk_sorting(walk.get(), GIT_SORT_TOPOLOGICAL);
    git_oid oid;
    while (git().git_revwalk_next(&oid, walk.get()) == 0) {
        std::optional<Revision> one = revision(oidText(&oid));
        if (!one)
            return std::nullopt;
        if (fileName.isEmpty() || one->files.contains(fileName, Qt::CaseInsensitive))
            list << *one;
    }
    return list;
}

std::optional<Revision> ServerHistory::revision(const QString& name)
{
    if (!open(false))
        return std::nullopt;
    Commit commit;
    Tree tree;
    Tree older;
    if (!findRevision(m_repository, name, commit, tree, older)) {
        m_error = missingRevision(name);
        return std::nullopt;
    }
    const std::optional<QStringList> names = changedNames(m_repository, older.get(), tree.get());
    if (!names) {
        fail(QStringLiteral("The revision %1 could not be read").arg(name));
        return std::nullopt;
    }
    Revision result;
    result.id = oidText(git().git_commit_id(commit.get()));
    result.message = QString::fromUtf8(git().git_commit_message(commit.get())).trimmed();
    result.summary = result.message.section(QLatin1Char('\n'), 0, 0);
    const git_signature* author = git().git_commit_author(commit.get());
    result.when = QDateTime::fromSecsSinceEpoch(author->when.time, QTimeZone(author->when.offset * 60));
    result.author = QString::fromUtf8(author->email);
    result.files = *names;
    result.undoes = undoneRevision(result.message);
    return result;
}

std::optional<QString> ServerHistory::diff(const QString& revisionId)
{
    if (!open(false))
        return std::nullopt;
    Commit commit;
    Tree tree;
    Tree older;
    if (!findRevision(m_repository, revisionId, commit, tree, older)) {
        m_error = missingRevision(revisionId);
        return std::nullopt;
    }
    Diff diff;
    Buffer patch;
    if (git().git_diff_tree_to_tree(diff.out(), m_repository, older.get(), tree.get(), nullptr) != 0 ||
        git().git_diff_to_buf(&patch.buf, diff.get(), GIT_DIFF_FORMAT_PATCH) != 0) {
        fail(QStringLiteral("The changes of revision %1 could not be read").arg(revisionId));
        return std::nullopt;
    }
    return programNames(patch.bytes());
}

namespace {

struct TreeFiles
{
    git_repository* repository;
    QMap<QString, QByteArray>* files;
    bool failed = false;
};

int collectBlob(const char*, const git_tree_entry* entry, void* payload)
{
    auto* walk = static_cast<TreeFiles*>(payload);
    if (git().git_tree_entry_type(entry) != GIT_OBJECT_BLOB)
        return 0;
    Blob blob;
    if (git().git_blob_lookup(blob.out(), walk->repository, git().git_tree_entry_id(entry)) != 0) {
        walk->failed = true;
        return -1;
    }
    walk->files->insert(nameOfTreePath(git().git_tree_entry_name(entry)),
                        QByteArray(static_cast<const char*>(git().git_blob_rawcontent(blob.get())),
                                   qsizetype(git().git_blob_rawsize(blob.get()))));
    return 0;
}

} // namespace

std::optional<QMap<QString, QByteArray>> ServerHistory::files(const QString& revisionId)
{
    if (!open(false))
        return std::nullopt;
    Object object;
    Tree tree;
    if (git().git_revparse_single(object.out(), m_repository,
                                  (revisionId + QStringLiteral("^{tree}")).toUtf8().constData()) != 0 ||
        git().git_tree_lookup(tree.out(), m_repository, git().git_object_id(object.get())) != 0) {
        m_error = missingRevision(revisionId);
        return std::nullopt;
    }
    QMap<QString, QByteArray> result;
    TreeFiles walk{m_repository, &result};
    if (git().git_tree_walk(tree.get(), GIT_TREEWALK_PRE, collectBlob, &walk) != 0 || walk.failed) {
        fail(QStringLiteral("The files of revision %1 could not be read").arg(revisionId));
        return std::nullopt;
    }
    return result;
}

std::optional<QString> ServerHistory::diffToDisk(const QString& revisionId, const QStringList& names)
{
    if (!open(false))
        return std::nullopt;
    Object object;
    Tree tree;
    if (!revisionId.isEmpty() &&
        (git().git_revparse_single(object.out(), m_repository,
                                   (revisionId + QStringLiteral("^{tree}")).toUtf8().constData()) != 0 ||
         git().git_tree_lookup(tree.out(), m_repository, git().git_object_id(object.get())) != 0)) {
        m_error = missingRevision(revisionId);
        return std::nullopt;
    }
    QString text;
    for (const QString& name : names) {
        const QByteArray path = treePath(name);
        Blob old;
        if (tree.get()) {
            TreeEntry entry;
            if (git().git_tree_entry_bypath(entry.out(), tree.get(), path.constData()) == 0 &&
                git().git_blob_lookup(old.out(), m_repository, git().git_tree_entry_id(entry.get())) != 0) {
                fail(QStringLiteral("%1 could not be read from the history").arg(name));
                return std::nullopt;
            }
        }
        const std::optional<QByteArray> now = bytesOnDisk(diskPath(name));
        Patch patch;
        Buffer buffer;
        if (git().git_patch_from_blob_and_buffer(patch.out(), old.get(), path.constData(),
                                                 now ? now->constData() : nullptr, now ? size_t(now->size()) : 0,
                                                 path.constData(), nullptr) != 0 ||
            git().git_patch_to_buf(&buffer.buf, patch.get()) != 0) {
            fail(QStringLiteral("The changes of %1 could not be shown").arg(name));
            return std::nullopt;
        }
        text += programNames(buffer.bytes());
    }
    return text;
}

std::optional<bool> ServerHistory::diskMatchesHead(const QString& name)
{
    if (!open(false))
        return std::nullopt;
    Object object;
    Tree tree;
    TreeEntry entry;
    const std::optional<QByteArray> now = bytesOnDisk(diskPath(name));
    if (git().git_revparse_single(object.out(), m_repository, "HEAD^{tree}") != 0 ||
        git().git_tree_lookup(tree.out(), m_repository, git().git_object_id(object.get())) != 0)
        return !now;
    if (git().git_tree_entry_bypath(entry.out(), tree.get(), treePath(name).constData()) != 0)
        return !now;
    if (!now)
        return false;
    git_oid oid;
    if (git().git_odb_hash(&oid, now->constData(), size_t(now->size()), GIT_OBJECT_BLOB) != 0) {
        fail(QStringLiteral("%1 could not be compared").arg(name));
        return std::nullopt;
    }
    return git().git_oid_equal(&oid, git().git_tree_entry_id(entry.get())) != 0;
}

bool ServerHistory::setMarker(const char* reference, const QString& revisionId)
{
    if (!open(false))
        return false;
    clearLeftovers();
    git_oid oid;
    Reference created;
    if (git().git_oid_fromstr(&oid, revisionId.toLatin1().constData()) != 0 ||
        git().git_reference_create(created.out(), m_repository, reference, &oid, 1, nullptr) != 0)
        return fail(QStringLiteral("The mark %1 could not be set").arg(QString::fromLatin1(reference)));
    keepPrivate(nativePath(gitDirectory(m_dataDirectory)) + '/' + reference);
    return true;
}

std::optional<QString> ServerHistory::marker(const char* reference)
{
    if (!open(false))
        return std::nullopt;
    git_oid oid;
    const int status = git().git_reference_name_to_id(&oid, m_repository, reference);
    if (status == GIT_ENOTFOUND)
        return QString();
    if (status != 0) {
        fail(QStringLiteral("The mark %1 could not be read").arg(QString::fromLatin1(reference)));
        return std::nullopt;
    }
    return oidText(&oid);
}

std::optional<std::optional<QByteArray>> ServerHistory::headBytes(const QString& name)
{
    if (!open(false))
        return std::nullopt;
    Object object;
    Tree tree;
    if (git().git_revparse_single(object.out(), m_repository, "HEAD^{tree}") != 0 ||
        git().git_tree_lookup(tree.out(), m_repository, git().git_object_id(object.get())) != 0)
        return std::optional<QByteArray>();
    TreeEntry entry;
    if (git().git_tree_entry_bypath(entry.out(), tree.get(), treePath(name).constData()) != 0)
        return std::optional<QByteArray>();
    Blob blob;
    if (git().git_blob_lookup(blob.out(), m_repository, git().git_tree_entry_id(entry.get())) != 0) {
        fail(QStringLiteral("%1 could not be read from the history").arg(name));
        return std::nullopt;
    }
    return std::optional<QByteArray>(QByteArray(static_cast<const char*>(git().git_blob_rawcontent(blob.get())),
                                                qsizetype(git().git_blob_rawsize(blob.get()))));
}

std::optional<QStringList> ServerHistory::namesChangedSinceHead(const QStringList& names)
{
    if (!open(false))
        return std::nullopt;
    Object object;
    Tree tree;
    const bool hasHead = git().git_revparse_single(object.out(), m_repository, "HEAD^{tree}") == 0 &&
                         git().git_tree_lookup(tree.out(), m_repository, git().git_object_id(object.get())) == 0;
    QStringList changed;
    for (const QString& name : names) {
        const std::optional<QByteArray> now = bytesOnDisk(diskPath(name));
        TreeEntry entry;
        const bool held =
            hasHead && git().git_tree_entry_bypath(entry.out(), tree.get(), treePath(name).constData()) == 0;
        if (!held || !now) {
            if (held != now.has_value())
                changed << name;
            continue;
        }
        git_oid oid;
        if (git().git_odb_hash(&oid, now->constData(), size_t(now->size()), GIT_OBJECT_BLOB) != 0) {
            fail(QStringLiteral("%1 could not be compared").arg(name));
            return std::nullopt;
        }
        if (!git().git_oid_equal(&oid, git().git_tree_entry_id(entry.get())))
            changed << name;
    }
    return changed;
}

bool ServerHistory::needsPacking() const
{
    // Git's own estimate: the objects of one of the 256 folders, times 256.
    const QList<Entry> sample = entriesOf(nativePath(gitDirectory(m_dataDirectory)) + kSampleFolder);
    qint64 bytes = 0;
    for (const Entry& entry : sample)
        bytes += entry.size;
    return sample.size() * 256 > kPackObjects || bytes * 256 > kPackBytes;
}

bool ServerHistory::packLooseObjects()
{
    if (!open(false))
        return false;
    const QByteArray root = nativePath(gitDirectory(m_dataDirectory));
    QList<git_oid> loose;
    QList<QByteArray> files;
    for (int folder = 0; folder < 256; ++folder) {
        const QByteArray prefix = QByteArray::number(folder, 16).rightJustified(2, '0');
        for (const Entry& entry : entriesOf(root + "/objects/" + prefix)) {
            git_oid id;
            const QByteArray hex = prefix + entry.name;
            if (!entry.file || hex.size() != GIT_OID_HEXSZ || git().git_oid_fromstr(&id, hex.constData()) != 0)
                continue;
            loose << id;
            files << root + "/objects/" + prefix + '/' + entry.name;
        }
    }
    if (loose.isEmpty())
        return true;
    Owned<git_packbuilder, &GitApi::git_packbuilder_free> builder;
    bool written = git().git_packbuilder_new(builder.out(), m_repository) == 0;
    if (written)
        git().git_packbuilder_set_threads(builder.get(), 0);
    for (const git_oid& id : std::as_const(loose)) {
        if (written)
            written = git().git_packbuilder_insert(builder.get(), &id, nullptr) == 0;
    }
    written = written && git().git_packbuilder_write(builder.get(), nullptr, 0, nullptr, nullptr) == 0;
    if (!written)
        return fail(QStringLiteral("The history could not be packed"));
    // The pack is on the disk before the loose copies go: a crash in between leaves an object twice, never none.
    for (const Entry& entry : entriesOf(root + "/objects/pack")) {
        if (entry.file && !syncPath(root + "/objects/pack/" + entry.name, false))
            return failWith(QStringLiteral("The history could not be packed"), systemError(errno));
    }
    if (!syncPath(root + "/objects/pack", true))
        return failWith(QStringLiteral("The history could not be packed"), systemError(errno));
    for (const QByteArray& file : std::as_const(files))
        ::unlink(file.constData());
    return true;
}
