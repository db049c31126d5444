// Which output box shows what, in which format and in which order.
#pragma once

#include "model/window_port.h"

namespace tesmo {

class WindowBase;

// Writes one display group from the run state into the window, each box set and then painted
// (except where a group says otherwise), performing the group's own state changes.
void writeDisplayGroup(DisplayGroup group, WindowBase& window);

}  // namespace tesmo
