// The exports module's entry point, by name and type, for the module and for the runner that
// loads it (batch/export_loader.cpp).
#pragma once

#include <ostream>

#include "batch/arguments.h"
#include "display/headless_window.h"
#include "display/run_control.h"

namespace tesmo {

inline constexpr const char* kExportsEntry = "tesmo_write_exports";
using ExportsEntry = bool (*)(const BatchOptions&, const HeadlessWindow&, const RunControl&,
                              std::ostream&);

}  // namespace tesmo
