// A study that runs on threads of its own while a window stays responsive.
//
// The workers hand each case's outcome, in case order, into a queue; the window takes what has
// arrived whenever it is woken. `wake` runs on a worker thread, once for everything that
// arrives until the next take(): it must only post a message to the window (a queued signal),
// never touch it. The workers run at a lower priority than the window's thread. Destroying the
// object raises the cancel flag and waits for the workers: no case starts any more and running
// ones stop at their next time step, so that takes a few milliseconds. When the system refuses
// the study a thread or memory, the study ends with what has arrived and the reason.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "study/case_list.h"
#include "study/study_engine.h"

namespace tesmo {

// Lowers the calling thread's priority (and that of the threads it starts) below the window's
// thread: work in the background then never slows the window or a run of the main window.
void yieldToTheWindow();

class BackgroundStudy {
  public:
    // Starts running all cases of `cases` with `jobs` worker threads. Throws StudyFailure when
    // the study's own thread cannot be started.
    BackgroundStudy(CaseList cases, unsigned jobs, std::function<void()> wake);
    ~BackgroundStudy();
    BackgroundStudy(const BackgroundStudy&) = delete;
    BackgroundStudy& operator=(const BackgroundStudy&) = delete;

    // No new case starts; running ones stop at their next time step and get no outcome.
    void cancel();
    bool cancelled() const { return cancel_.load(); }

    // What has arrived since the last take.
    struct Arrived {
        std::vector<CaseOutcome> outcomes;  // in case order, continuing the last take's
        StudyProgress progress;             // as of the last outcome
        bool ended = false;                 // the workers are done: nothing more will arrive
        std::string failure;                // why the system stopped the study ("" if it did not)
    };
    Arrived take();

    const CaseList& cases() const { return cases_; }

  private:
    void run(unsigned jobs);
    // Applies `change` to what has arrived and wakes the window unless a wake is pending.
    void arrive(const std::function<void()>& change);

    const CaseList cases_;
    const std::function<void()> wake_;
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    Arrived arrived_;     // guarded by mutex_
    bool woken_ = false;  // guarded by mutex_: a wake is pending, not yet answered by take()
    std::thread thread_;  // last: starts once everything above is there
};

}  // namespace tesmo
