// Ctrl-C (SIGINT) or SIGTERM during a run acts like the Stop button: the run ends at its next
// poll and the runner still prints what the window shows.
#pragma once

namespace tesmo {

void installInterruptHandler();
bool interruptRequested();

}  // namespace tesmo
