// Preloaded into the runner by the tests (LD_PRELOAD): when the runner flushes the temporary
// file of an atomic write (named ".tesmo-…") to the disk, the process gets the signal whose
// number TESMO_SIGNAL_ON_SYNC holds twice, as from a user who presses Ctrl-C twice in that very
// moment. The first asks the work to stop, the second ends the process; what its handlers leave
// behind shows whether they knew of every write in progress, also of those in a module.
#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool isTemporaryFile(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t n = ::readlink(link, path, sizeof path);
    if (n <= 0) return false;
    const std::string_view target(path, static_cast<std::size_t>(n));
    return target.substr(target.rfind('/') + 1).rfind(".tesmo-", 0) == 0;
}

}  // namespace

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const auto next = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    if (const char* signal = std::getenv("TESMO_SIGNAL_ON_SYNC"); signal && isTemporaryFile(fd)) {
        ::raise(std::atoi(signal));
        ::raise(std::atoi(signal));
    }
    return next(fd);
}
