// Which output box shows what, in which format and in which order.
#pragma once

#include "model/window_port.h"

namespace tesmo {

class WindowBase;

// The relative water-balance error in % above which the window shows it in red, and above which
// it warns that the run may be very inaccurate and advises other step widths.
inline constexpr double kWasserfehlerRot = 3.0;
inline constexpr double kWasserfehlerUngenau = 6.0;

// Writes one display group from the run state into the window, each box set and then painted
// (except where a group says otherwise), performing the group's own state changes.
void writeDisplayGroup(DisplayGroup group, WindowBase& window);

}  // namespace tesmo
