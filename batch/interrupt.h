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

// What the handler has caught. The runner has one such state for all of its modules (each has
// its own copy of this code): a module shares the runner's before it runs anything, so that a
// signal caught by either side's handler stops the work of both.
struct InterruptState;
InterruptState& interruptState();
void shareInterruptState(InterruptState& state);

}  // namespace tesmo
