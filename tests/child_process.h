// Running part of a test in a child process: to bound a call that might block for ever, to try
// something as a user without root's privileges, or to see how a process ends on a signal.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

namespace tesmo::test {

// The user "nobody" of Debian and most other systems.
inline constexpr uid_t kNobody = 65534;

struct ChildEnd {
    std::string report;  // what the child wrote back; "" when all it checked held
    int signal = 0;      // the signal that ended the child, 0 when it exited
};

// Runs `work` in a child process that is ended by SIGALRM after `seconds`. With `unprivileged`,
// a child of root first becomes the user nobody, so that permission checks apply to it as to
// any user; a child of another user stays that user.
inline ChildEnd inChild(const std::function<std::string()>& work, unsigned seconds = 10,
                        bool unprivileged = false) {
    int channel[2];
    if (::pipe(channel) != 0) return {"pipe failed", 0};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        ::alarm(seconds);
        std::string report;
        if (unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            report = "could not become the user nobody";
        if (report.empty()) report = work();
        for (std::size_t at = 0; at < report.size();) {
            const ssize_t n = ::write(channel[1], report.data() + at, report.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    ChildEnd end;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        end.report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    if (end.signal == SIGALRM) end.report += "did not finish in time";
    return end;
}

// A FIFO or a device node at `path` (the device is the null device's, made here; only root may
// make one). Returns false when it could not be made.
inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0666) == 0;
}
inline bool makeNullDevice(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

}  // namespace tesmo::test
