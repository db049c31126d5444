#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace tesmo {

namespace {

struct Target {
    std::string path;    // where the file ends up (a link is followed to its file)
    std::string folder;  // the folder that holds it, for the temporary file
    std::string name;
};

Target targetOf(const std::string& path) {
    Target t{path, ".", path};
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        // Saving through a link replaces the file it points to, not the link.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            t.path = real;
            std::free(real);
        }
    }
    const std::size_t slash = t.path.rfind('/');
    if (slash != std::string::npos) {
        t.folder = slash == 0 ? "/" : t.path.substr(0, slash);
        t.name = t.path.substr(slash + 1);
    } else {
        t.name = t.path;
    }
    return t;
}

// A new, empty file next to the target that no other writer can have opened. Created with
// mode 0666 so that the user's umask applies as for any new file.
int createTemporary(const Target& t, std::string& tmpPath) {
    static std::atomic<unsigned> counter{0};
    const auto now = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpPath = t.folder + "/." + t.name + ".tmp-" + std::to_string(::getpid()) + "-" +
                  std::to_string(counter++) + "-" + std::to_string(now % 1000000007ULL);
        const int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool fail(WriteFailure* failure, const Target& t, const char* step, int errnum) {
    if (failure) *failure = WriteFailure{errnum, t.path, step};
    return false;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& produce,
                         WriteFailure* failure) {
    const Target t = targetOf(path);
    struct stat existing {};
    if (::stat(t.path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return fail(failure, t, "create", EISDIR);

    std::string tmpPath;
    const int fd = createTemporary(t, tmpPath);
    if (fd < 0) return fail(failure, t, "create", errno);
    // A file that is replaced keeps its permissions.
    if (S_ISREG(existing.st_mode)) (void)::fchmod(fd, existing.st_mode & 07777);

    std::FILE* out = ::fdopen(fd, "wb");
    if (!out) {
        const int e = errno;
        ::close(fd);
        ::unlink(tmpPath.c_str());
        return fail(failure, t, "create", e);
    }
    errno = 0;
    bool ok = produce(out);
    int e = errno;
    if (ok && std::fflush(out) != 0) ok = false, e = errno;
    if (ok && std::ferror(out)) ok = false, e = e ? e : EIO;
    const char* step = "write";
    if (ok && ::fsync(fd) != 0) ok = false, e = errno, step = "sync";
    if (std::fclose(out) != 0 && ok) ok = false, e = errno;
    if (ok && ::rename(tmpPath.c_str(), t.path.c_str()) != 0)
        ok = false, e = errno, step = "rename";
    if (!ok) {
        ::unlink(tmpPath.c_str());
        return fail(failure, t, step, e ? e : EIO);
    }
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
    switch (failure.errnum) {
        case EACCES:
        case EPERM:
            return "keine Schreibberechtigung";
        case ENOENT:
            return "der Ordner existiert nicht";
        case ENOTDIR:
            return "ein Teil des Pfades ist kein Ordner";
        case EISDIR:
            return "der Pfad ist ein Ordner";
        case ENOSPC:
        case EDQUOT:
            return "kein Platz mehr auf dem Datenträger";
        case EROFS:
            return "der Datenträger ist schreibgeschützt";
        case ENAMETOOLONG:
            return "der Pfad ist zu lang";
        case EIO:
            return "Ein-/Ausgabefehler des Datenträgers";
        case 0:
            return "unbekannter Fehler";
        default:
            return std::strerror(failure.errnum);
    }
}

}  // namespace tesmo
