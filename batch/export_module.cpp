// The entry point of the exports module (see batch/CMakeLists.txt): the one symbol the runner
// looks up in it. It runs the module's own writeExports.
#include "batch/export_module.h"

#include "batch/exports.h"

extern "C" __attribute__((visibility("default"))) bool tesmo_write_exports(
    const tesmo::BatchOptions& options, const tesmo::HeadlessWindow& window,
    const tesmo::RunControl& control, std::ostream& err) {
    return tesmo::writeExports(options, window, control, err);
}
