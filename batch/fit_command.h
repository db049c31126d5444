// tesmo-gegen-batch fitting inputs to measured series (--fit): the result lines on standard
// output, optionally the table of measured against simulated values, the fitted case and the
// fit file with its outcome. It makes up the fit module (batch/modules.h), which alone loads
// Ceres.
#pragma once

#include <ostream>

#include "batch/arguments.h"

namespace tesmo {

int runFitCommand(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmo
