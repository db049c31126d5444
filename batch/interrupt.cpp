#include "batch/interrupt.h"

#include <csignal>

#include "files/atomic_file.h"

namespace tesmo {

struct InterruptState {
    std::atomic<bool> interrupted{false};
    std::atomic<int> caught{0};
    std::atomic<int> signalsCaught{0};
};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
                  std::atomic<InterruptState*>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

namespace {

// This copy's own state, and the one it uses: the program's, where this code is part of a
// module that the program loaded (see shareInterruptState).
InterruptState ownState;
std::atomic<InterruptState*> usedState{&ownState};

InterruptState& state() {
    return *usedState.load(std::memory_order_acquire);
}

extern "C" void onInterrupt(int signal) {
    InterruptState& s = state();
    if (s.signalsCaught.fetch_add(1, std::memory_order_relaxed) > 0) {
        // Asked twice: end now, as without a handler, and leave no temporary file behind.
        removeTemporaryFiles();
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        ::sigaction(signal, &fallback, nullptr);
        ::raise(signal);  // delivered when the handler returns
        return;
    }
    s.caught.store(signal, std::memory_order_relaxed);
    s.interrupted.store(true, std::memory_order_relaxed);
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
    return state().interrupted;
}

bool interruptRequested() {
    return state().interrupted.load(std::memory_order_relaxed);
}

int interruptSignal() {
    return state().caught.load(std::memory_order_relaxed);
}

InterruptState& interruptState() {
    return state();
}

void shareInterruptState(InterruptState& shared) {
    usedState.store(&shared, std::memory_order_release);
}

}  // namespace tesmo
