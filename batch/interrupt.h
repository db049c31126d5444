// Ctrl-C (SIGINT), SIGTERM or SIGHUP (the terminal closed): a single run acts as on the Stop
// button (it ends at its next poll and the runner still prints what the window shows); a study
// starts no new case and stops the running ones. A second such signal ends the process at once,
// as the signal would without a handler, after removing the temporary files of writes in
// progress.
#pragma once

#include <atomic>

namespace tesmo {

// SIGHUP stays ignored where it is (nohup); SIGINT and SIGTERM are always taken.
void installInterruptHandler();
// Raised by the handler (a lock-free atomic, so the handler may set it); a study also raises it
// itself to stop its workers.
std::atomic<bool>& interruptFlag();
bool interruptRequested();
// The signal that was caught (SIGINT, SIGTERM or SIGHUP), 0 before any.
int interruptSignal();

}  // namespace tesmo
