// Runs the cases of a study on several threads and hands their outcomes on in case order.
//
// Every worker thread owns one CaseRunner (one run state, allocated once). The workers take the
// next case from a shared counter; an outcome that finishes before an earlier one waits until
// all earlier ones have been handed on, so the sink sees the cases in their order whatever order
// they finish in. A cancel request starts no new case and stops the running ones at their next
// time step; those stopped cases are not handed on.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>

#include "study/case_list.h"
#include "study/results.h"

namespace tesmo {

struct StudyProgress {
    std::size_t done = 0, total = 0;
    std::chrono::steady_clock::duration elapsed{};
    // Estimated time left, from the mean time per case so far (0 until one case is done).
    std::chrono::steady_clock::duration remaining{};
};

struct StudyCallbacks {
    // Called for each finished case, in case order, one call at a time. Returning false
    // cancels the study (e.g. the table could not be written).
    std::function<bool(const CaseOutcome&)> sink;
    // Called after each case is handed on, one call at a time (may be empty).
    std::function<void(const StudyProgress&)> progress;
};

// Number of worker threads when none is asked for: every core the machine reports.
unsigned defaultJobs();

// Runs the selected cases of `cases` with `jobs` threads (at most one per case). Returns the
// number of cases handed to the sink; fewer than selection.count when cancelled.
std::size_t runStudy(const CaseList& cases, const CaseSelection& selection, unsigned jobs,
                     const StudyCallbacks& callbacks, std::atomic<bool>& cancel);

}  // namespace tesmo
