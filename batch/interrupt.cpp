#include "batch/interrupt.h"

#include <csignal>

namespace tesmo {

namespace {
std::atomic<bool> interrupted{false};
std::atomic<int> caught{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

extern "C" void onInterrupt(int signal) {
    caught.store(signal, std::memory_order_relaxed);
    interrupted.store(true, std::memory_order_relaxed);
}
}  // namespace

void installInterruptHandler() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
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
