#include "batch/interrupt.h"

#include <csignal>

#include "files/atomic_file.h"

namespace tesmo {

namespace {
std::atomic<bool> interrupted{false};
std::atomic<int> caught{0};
std::atomic<int> signalsCaught{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

extern "C" void onInterrupt(int signal) {
    if (signalsCaught.fetch_add(1, std::memory_order_relaxed) > 0) {
        // Asked twice: end now, as without a handler, and leave no temporary file behind.
        removeTemporaryFiles();
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(signal, &fallback, nullptr);
        ::raise(signal);  // delivered when the handler returns
        return;
    }
    caught.store(signal, std::memory_order_relaxed);
    interrupted.store(true, std::memory_order_relaxed);
}

void take(int signal) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}
}  // namespace

void installInterruptHandler() {
    take(SIGINT);
    take(SIGTERM);
    struct sigaction hangup {};
    if (::sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN) take(SIGHUP);
}

std::atomic<bool>& interruptFlag() {
    return interrupted;
}

bool interruptRequested() {
    return interrupted.load(std::memory_order_relaxed);
}

int interruptSignal() {
    return caught.load(std::memory_order_relaxed);
}

}  // namespace tesmo
