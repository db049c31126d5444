// Ctrl-C (SIGINT) or SIGTERM: a single run acts as on the Stop button (it ends at its next poll
// and the runner still prints what the window shows); a study starts no new case and stops the
// running ones.
#pragma once

#include <atomic>

namespace tesmo {

void installInterruptHandler();
// Raised by the handler (a lock-free atomic, so the handler may set it); a study also raises it
// itself to stop its workers.
std::atomic<bool>& interruptFlag();
bool interruptRequested();
// The signal that was caught (SIGINT or SIGTERM), 0 before any.
int interruptSignal();

}  // namespace tesmo
