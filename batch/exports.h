// The runner's exports of its run: the PDF report, both charts as SVG and PNG and the numeric
// diagrams, drawn by the window's export code on an offscreen Qt platform, so that no display
// is needed. They make up the exports module (batch/modules.h), the only part of the runner that
// uses Qt.
#pragma once

#include <ostream>

#include "batch/arguments.h"
#include "display/headless_window.h"
#include "display/run_control.h"

namespace tesmo {

// Writes every export the options ask for (the run must have recorded its charts); a file that
// cannot be written is reported on `err` and the others are still written. Returns false if any
// failed.
bool writeExports(const BatchOptions& options, const HeadlessWindow& window,
                  const RunControl& control, std::ostream& err);

}  // namespace tesmo
