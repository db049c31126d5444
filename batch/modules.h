// The runner's modules. What needs a large library lives in a shared object of its own that the
// runner loads only when it is asked for: the exports of a run (Qt), the uncertainty studies
// (OpenTURNS) and the fit (Ceres). A run, a study, a saved case, --help and --version load none
// of them: those libraries alone take several times the memory of a default run, and loading
// them costs more time than the run itself.
//
// A module is linked with its own copies of the program's code that it uses. Where that code
// keeps state for the whole process (the temporary files that a signal handler removes, the
// signal that was caught), a module works on the runner's: the runner hands it to each entry
// point, and the module shares it before anything else.
//
// The runner looks for a module beside itself (a build folder), else in the folder it is
// installed to relative to the runner's own (lib/tesmo-gegen/), so that an unpacked or moved
// installation finds its modules too. A module is loaded once and stays for the process's life.
#pragma once

#include <ostream>

#include "batch/arguments.h"
#include "batch/interrupt.h"
#include "batch/study_command.h"
#include "display/headless_window.h"
#include "display/run_control.h"
#include "files/atomic_file.h"

namespace tesmo {

// What the runner lends every module it loads.
using StudyCasesFunction = decltype(&runStudyCases);
struct RunnerShares {
    TemporaryFileTable* temporaries = nullptr;
    InterruptState* interrupt = nullptr;
    // The runner's study of a list of cases (shard, jobs, table, progress, signals), for the
    // cases an uncertainty study draws.
    StudyCasesFunction studyCases = nullptr;
};

// A module's first step: the process's state is the runner's, not its own copy's.
inline void adoptRunnerShares(const RunnerShares& shares) {
    shareTemporaryFileTable(*shares.temporaries);
    shareInterruptState(*shares.interrupt);
}

// The entry points, by name and type.
inline constexpr const char* kExportsEntry = "tesmo_write_exports";
using ExportsEntry = bool (*)(const RunnerShares&, const BatchOptions&, const HeadlessWindow&,
                              const RunControl&, std::ostream& err);
inline constexpr const char* kUncertaintyEntry = "tesmo_run_uncertainty";
inline constexpr const char* kFitEntry = "tesmo_run_fit";
using CommandEntry = int (*)(const RunnerShares&, const BatchOptions&, std::ostream& out,
                             std::ostream& err);

// --- the runner's side -----------------------------------------------------------------------
// Each loads its module and runs what it holds. A module that cannot be loaded is reported on
// `err`: the exports then count as not written (false), a command ends with kExitWriteFailed.
bool writeExportsInModule(const BatchOptions& options, const HeadlessWindow& window,
                          const RunControl& control, std::ostream& err);
int runUncertaintyInModule(const BatchOptions& options, std::ostream& out, std::ostream& err);
int runFitInModule(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmo
