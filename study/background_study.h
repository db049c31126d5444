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

// Starts `body` on a thread of its own; throws StudyFailure when the system refuses a thread.
std::thread startBackgroundThread(std::function<void()> body);

// What background work hands to the window's thread. The work changes what has arrived under a
// lock; `wake` (which runs on the work's thread and must only post a message to the window) is
// called once for everything that arrives until the window's next take, so that a fast worker
// never floods the window's event queue.
template <class Arrived>
class WindowMailbox {
  public:
    explicit WindowMailbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    // Applies `change(arrived)` without waking the window (something else will).
    template <class Change>
    void keep(Change&& change) {
        const std::lock_guard lock(mutex_);
        change(arrived_);
    }
    // Applies `change(arrived)` and wakes the window unless a wake is pending.
    template <class Change>
    void arrive(Change&& change) {
        bool wake = false;
        {
            const std::lock_guard lock(mutex_);
            change(arrived_);
            wake = !woken_;
            woken_ = true;
        }
        // Outside the lock: the window may be taking what arrived at this moment.
        if (wake && wake_) wake_();
    }
    // What `handOver(arrived)` returns of what has arrived; the next arrival wakes again.
    template <class HandOver>
    Arrived take(HandOver&& handOver) {
        const std::lock_guard lock(mutex_);
        woken_ = false;
        return handOver(arrived_);
    }

  private:
    const std::function<void()> wake_;
    std::mutex mutex_;
    Arrived arrived_;     // guarded by mutex_
    bool woken_ = false;  // guarded by mutex_: a wake is pending, not yet answered by take()
};

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

    const CaseList cases_;
    std::atomic<bool> cancel_{false};
    WindowMailbox<Arrived> mailbox_;
    std::size_t handedOver_ = 0;  // outcomes taken so far; only touched under the mailbox's lock
    std::thread thread_;          // last: starts once everything above is there
};

}  // namespace tesmo
