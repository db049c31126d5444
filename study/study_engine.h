// Runs the cases of a study on several threads and hands their outcomes on in case order.
//
// Every worker thread owns one CaseRunner (one run state, allocated once). The workers take the
// next case from a shared counter; an outcome that finishes before an earlier one waits until
// all earlier ones have been handed on, so the sink sees the cases in their order whatever order
// they finish in. A cancel request starts no new case and stops the running ones at their next
// time step; those stopped cases are not handed on.
//
// A study never uses more threads than the machine has cores: more would only wait for a core
// and hold a run state each. When the system refuses a study what it needs (a further thread,
// the memory of a run state) the study stops as a cancelled one does, every thread it started
// is joined, and runStudy throws a StudyFailure.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "study/case_list.h"
#include "study/results.h"

namespace tesmo {

struct StudyProgress {
    std::size_t done = 0, total = 0;
    std::chrono::steady_clock::duration elapsed{};
    // Estimated time left, from the mean time per case so far (0 until one case is done).
    std::chrono::steady_clock::duration remaining{};
};

// "12 von 40 Fällen, Zeit 0:01:10, noch etwa 0:03:54": the cases done of all, the time
// elapsed and the time left, as the runner and the Python package show them.
std::string progressText(const StudyProgress& progress);

struct StudyCallbacks {
    // Called for each finished case, in case order, one call at a time. Returning false
    // cancels the study (e.g. the table could not be written).
    std::function<bool(const CaseOutcome&)> sink;
    // Called after each case is handed on, one call at a time (may be empty).
    std::function<void(const StudyProgress&)> progress;
    // Called on the worker's thread right after a case has run, before its outcome waits for
    // its turn (may be empty): a look at the whole run state the case left and the Laufzeit of
    // each of its history records, for what the table does not keep. `caseIndex` is the
    // case's 0-based index in the case list. Calls for different cases run at the same time;
    // the state may only be read, and only during the call.
    std::function<void(std::size_t caseIndex, const CaseOutcome& outcome, const RunState& state,
                       const HistoryArray& recordTimes)>
        inspect;
};

// Worker run states that outlive one study. A study allocates one run state (about 40 MB) per
// worker and gives it back at its end; a caller that runs many small studies one after the
// other (a fit evaluates its model a few dozen cases at a time) keeps them here instead, so
// that nothing is allocated per study. Not to be shared by two studies running at once.
class StudyWorkers {
  public:
    StudyWorkers();
    ~StudyWorkers();
    StudyWorkers(const StudyWorkers&) = delete;
    StudyWorkers& operator=(const StudyWorkers&) = delete;

    struct Worker;
    // Worker `i`, made when first asked for.
    Worker& worker(std::size_t i);

  private:
    std::vector<std::unique_ptr<Worker>> workers_;
};

// Number of worker threads when none is asked for, and the most a study uses: every core the
// machine reports.
unsigned defaultJobs();

// What the system refused a study. what() is the German sentence that the runner, the Python
// package and the study window show.
class StudyFailure : public std::runtime_error {
  public:
    enum class Cause {
        Thread,  // a further worker thread could not be started
        Memory,  // the memory for a case (its run state, its outcome) ran out
    };
    explicit StudyFailure(Cause cause);
    Cause cause() const { return cause_; }

  private:
    Cause cause_;
};

// Runs the selected cases of `cases` with `jobs` threads (at most one per case and one per
// core), each on a run state of `workers` (null: run states of the study's own). Returns the number
// of cases handed to the sink; fewer than selection.count when cancelled. Throws StudyFailure when
// the system refused a thread or memory (the cases handed on before stay handed on); an exception
// from a callback is passed on once every thread has been joined. Either way `cancel` is raised.
std::size_t runStudy(const CaseList& cases, const CaseSelection& selection, unsigned jobs,
                     const StudyCallbacks& callbacks, std::atomic<bool>& cancel,
                     StudyWorkers* workers = nullptr);

// For tests: stands in for the system where a study asks it for resources. `beforeThread(k)` is
// called before the k-th further worker thread is started (k = 1, 2, …; k = 0: the own thread
// of a background study) and `beforeRunState()` before a worker allocates its run state; either
// may throw what the system would (std::system_error, std::bad_alloc). Empty members stand in
// for nothing.
struct StudyResourceHook {
    std::function<void(unsigned)> beforeThread;
    std::function<void()> beforeRunState;
};
void setStudyResourceHook(StudyResourceHook hook);
StudyResourceHook studyResourceHook();

}  // namespace tesmo
