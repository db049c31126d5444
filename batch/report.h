// What tesmo-gegen-batch prints: the window as it stands after the run.
#pragma once

#include <ostream>

#include "display/headless_window.h"

namespace tesmo {

// Every output field the run wrote (name or, with `human`, label caption, a TAB, the text) in
// the window's top-to-bottom order; the warning labels and Image7 as visible or hidden; the
// colour of the water-balance error; how the run ended.
void printReport(std::ostream& out, const HeadlessWindow& window, bool human);

}  // namespace tesmo
