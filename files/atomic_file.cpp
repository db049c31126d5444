#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <vector>

#include "files/file_problem.h"

namespace tesmo {

namespace {

// As many links in a row as the system itself follows in one path before it gives up.
constexpr int kMaxLinksFollowed = 40;

struct Target {
    std::string path;    // where the file ends up (links followed to the name they give)
    std::string folder;  // the folder that holds it, for the temporary file
    std::string name;    // its name in that folder
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows `given` through links to the name the file has or will have. Saving through a link
// replaces the file it points to, not the link; a link to nothing yet creates that file.
// Returns 0 or an errno value.
int resolve(const std::string& given, Target& t) {
    std::string path = given;
    for (int followed = 0;; ++followed) {
        struct stat info {};
        // Missing, unreadable or not a link: the file goes here (later steps say what is wrong).
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        if (followed == kMaxLinksFollowed) return ELOOP;
        std::vector<char> link(4096);
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        if (static_cast<std::size_t>(n) == link.size()) return ENAMETOOLONG;
        const std::string to(link.data(), static_cast<std::size_t>(n));
        path = to.front() == '/' ? to : folderOf(path) + "/" + to;
    }
    const std::size_t slash = path.rfind('/');
    t.path = path;
    t.folder = folderOf(path);
    t.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (t.name.empty() || t.name == "." || t.name == "..") return EISDIR;
    return 0;
}

// The temporary files of the writes in progress, for a signal handler to remove: a fixed table
// (nothing is allocated where a handler may look), each entry the descriptor of the folder and
// the temporary file's short name in it. A write beyond the table's size still works; only a
// signal during it would leave its temporary file behind.
constexpr std::size_t kTemporaryNameSize = 16;  // ".tesmo-" + 8 characters + NUL
constexpr int kFreeEntry = -1;
constexpr int kClaimedEntry = -2;

struct PendingTemporary {
    std::atomic<int> folder{kFreeEntry};  // published last: the name is whole once it is >= 0
    char name[kTemporaryNameSize] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the table");

}  // namespace

struct TemporaryFileTable {
    PendingTemporary entries[64];
};

namespace {

// This copy's own table, and the one it uses: the program's, where this code is part of a
// module that the program loaded (see shareTemporaryFileTable).
TemporaryFileTable ownTable;
std::atomic<TemporaryFileTable*> usedTable{&ownTable};
static_assert(std::atomic<TemporaryFileTable*>::is_always_lock_free,
              "a signal handler reads which table is used");

class PendingEntry {
  public:
    PendingEntry(int folder, const char* name) {
        for (PendingTemporary& p : usedTable.load(std::memory_order_acquire)->entries) {
            int expected = kFreeEntry;
            if (!p.folder.compare_exchange_strong(expected, kClaimedEntry)) continue;
            for (std::size_t i = 0; i < kTemporaryNameSize; ++i)
                p.name[i] = name[i];
            p.folder.store(folder, std::memory_order_release);
            entry_ = &p;
            return;
        }
    }
    ~PendingEntry() {
        if (entry_) entry_->folder.store(kFreeEntry, std::memory_order_release);
    }
    PendingEntry(const PendingEntry&) = delete;
    PendingEntry& operator=(const PendingEntry&) = delete;

  private:
    PendingTemporary* entry_ = nullptr;
};

// A new, empty file in `folder` that no other writer can have opened, under a short name so
// that a target name near the system's limit of 255 bytes still leaves room for it. Created
// with mode 0666 so that the user's umask applies as for any new file.
int createTemporary(int folder, char (&name)[kTemporaryNameSize]) {
    static constexpr char kLetters[] =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 40);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // splitmix64: a new, well-mixed number for each attempt of each writer.
        std::uint64_t x = seed + 0x9E3779B97F4A7C15ULL * (counter.fetch_add(1) + 1);
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        x ^= x >> 31;
        std::size_t n = 0;
        for (const char c : std::string_view(".tesmo-"))
            name[n++] = c;
        for (; n + 1 < kTemporaryNameSize; x /= 62)
            name[n++] = kLetters[x % 62];
        name[n] = '\0';
        const int fd = ::openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
        seed = x;
    }
    errno = EEXIST;
    return -1;
}

// The new file takes over what belongs to the file it replaces: owner and group where the
// system allows (only root may give a file away; a user may give it a group of their own),
// then the permission bits (after the owner: changing it clears set-ID bits), then every
// extended attribute the file system lets the user set, the access control lists among them.
// Each step is as far as it goes; none of them makes the save fail.
void takeOver(int fd, const std::string& old, const struct stat& info) {
    if (::fchown(fd, info.st_uid, info.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
    (void)::fchmod(fd, info.st_mode & 07777);
    const ssize_t listed = ::listxattr(old.c_str(), nullptr, 0);
    if (listed <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(listed));
    const ssize_t length = ::listxattr(old.c_str(), names.data(), names.size());
    std::vector<char> value;
    for (ssize_t i = 0; i < length;) {
        const char* attribute = names.data() + i;
        i += static_cast<ssize_t>(std::char_traits<char>::length(attribute)) + 1;
        const ssize_t size = ::getxattr(old.c_str(), attribute, nullptr, 0);
        if (size < 0) continue;
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::getxattr(old.c_str(), attribute, value.data(), value.size());
        if (got >= 0) (void)::fsetxattr(fd, attribute, value.data(), static_cast<size_t>(got), 0);
    }
}

bool fail(WriteFailure* failure, const std::string& path, const char* step, int errnum) {
    if (failure) *failure = WriteFailure{errnum ? errnum : EIO, path, step};
    return false;
}

// What keeps an existing target from being replaced: another kind of thing than a file, or a
// file the user may not write. 0 when it may be replaced.
int replaceProblem(const Target& t, const struct stat& info) {
    if (const int problem = fileTypeProblem(info.st_mode)) return problem;
    if (::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
    return 0;
}

// Why a new file could not be made in a folder that exists: the folder's permissions, or a file
// system that takes no new files there (as the system's own /proc).
int createProblem(int errnum) {
    if (errnum == EACCES || errnum == EPERM) return kFolderNotWritable;
    if (errnum == ENOENT) return kFolderTakesNoFiles;
    return errnum;
}

// Makes the rename itself durable. A file system that cannot flush a folder says so with
// EINVAL; the save stands then as well as that file system keeps it.
int syncFolder(int folder) {
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return 0;  // a folder one may write but not read: nothing to flush it through
    const int e = ::fsync(fd) == 0 || errno == EINVAL || errno == EOPNOTSUPP ? 0 : errno;
    ::close(fd);
    return e;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Writes, flushes and closes `out`; the failing step's name and errno, or nullptr.
const char* produceInto(std::FILE* out, const std::function<bool(std::FILE*)>& produce, int& e) {
    errno = 0;
    bool ok = produce(out);
    e = errno;
    if (ok && std::fflush(out) != 0) ok = false, e = errno;
    if (ok && std::ferror(out)) ok = false, e = e ? e : EIO;
    const char* step = ok ? nullptr : "write";
    if (ok && ::fsync(::fileno(out)) != 0) e = errno, step = "sync";
    if (std::fclose(out) != 0 && !step) e = errno, step = "write";
    return step;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& produce,
                         WriteFailure* failure) {
    Target t;
    if (const int e = resolve(path, t)) return fail(failure, path, "check", e);
    struct stat existing {};
    const bool replacing = ::stat(t.path.c_str(), &existing) == 0;
    if (!replacing && errno != ENOENT) return fail(failure, path, "check", errno);
    if (replacing)
        if (const int e = replaceProblem(t, existing)) return fail(failure, path, "check", e);

    const Descriptor folder(::open(t.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return fail(failure, path, "create", errno);
    char tmpName[kTemporaryNameSize];
    const int fd = createTemporary(folder.get(), tmpName);
    if (fd < 0) return fail(failure, path, "create", createProblem(errno));
    const PendingEntry pending(folder.get(), tmpName);
    if (replacing) takeOver(fd, t.path, existing);

    std::FILE* out = ::fdopen(fd, "wb");
    int e = errno;
    const char* step = out ? produceInto(out, produce, e) : "create";
    if (!out) ::close(fd);
    if (!step && ::renameat(folder.get(), tmpName, folder.get(), t.name.c_str()) != 0)
        e = errno, step = "rename";
    if (step) {
        ::unlinkat(folder.get(), tmpName, 0);
        return fail(failure, path, step, e);
    }
    if (const int synced = syncFolder(folder.get())) return fail(failure, path, "sync", synced);
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view content, WriteFailure* failure) {
    return writeFileAtomically(
        path,
        [content](std::FILE* out) {
            return std::fwrite(content.data(), 1, content.size(), out) == content.size();
        },
        failure);
}

std::string reasonText(const WriteFailure& failure) {
    return systemReason(failure.errnum, true);
}

TemporaryFileTable& temporaryFileTable() {
    return *usedTable.load(std::memory_order_acquire);
}

void shareTemporaryFileTable(TemporaryFileTable& table) {
    usedTable.store(&table, std::memory_order_release);
}

void removeTemporaryFiles() {
    const int saved = errno;
    for (PendingTemporary& p : usedTable.load(std::memory_order_acquire)->entries) {
        const int folder = p.folder.load(std::memory_order_acquire);
        if (folder >= 0) ::unlinkat(folder, p.name, 0);
    }
    errno = saved;
}

namespace {

constexpr int kFatalSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,   SIGPIPE,
                                 SIGALRM, SIGUSR1, SIGUSR2, SIGVTALRM, SIGPROF};

// Installed with SA_RESETHAND: the default action is back when the handler runs, and the
// signal raised again here is delivered with it as soon as the handler returns.
extern "C" void removeTemporariesAndEnd(int signal) {
    removeTemporaryFiles();
    ::raise(signal);
}

bool hasDefaultAction(int signal) {
    struct sigaction current {};
    return ::sigaction(signal, nullptr, &current) == 0 && !(current.sa_flags & SA_SIGINFO) &&
           current.sa_handler == SIG_DFL;
}

}  // namespace

void removeTemporaryFilesOnFatalSignals() {
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : kFatalSignals)
        if (hasDefaultAction(signal)) ::sigaction(signal, &action, nullptr);
    // Past the size limit (ulimit -f) the write fails with EFBIG and is reported, rather than
    // the process ending without a word.
    if (hasDefaultAction(SIGXFSZ)) std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tesmo
