// A fit that runs on threads of its own while a window stays responsive: the fit itself, then
// every series once with the fitted values for the curves the window draws. Or, for a result
// read from a fit file, only those runs.
//
// The fit reports its progress from its threads; what has arrived waits here until the window
// takes it. `wake` runs on a fit thread, once for everything that arrives until the next take():
// it must only post a message to the window (a queued signal), never touch it. The threads run
// at the study workers' lower priority, so the window and a run of the main window keep their
// speed. Destroying the object raises the cancel flag and waits: the fit stops within about one
// model run.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "fit/fit.h"
#include "fit/fitted_runs.h"
#include "study/background_study.h"

namespace tesmo {

class BackgroundFit {
  public:
    // Starts the fit of `setup` with `jobs` model runs at a time (0: every core). Throws
    // StudyFailure when its thread cannot be started.
    BackgroundFit(FitSetup setup, unsigned jobs, std::function<void()> wake);
    // Starts only the runs at the values of `known` (a result read from a fit file), which then
    // arrives completed by its comparison with the measurements.
    BackgroundFit(FitSetup setup, FitResult known, unsigned jobs, std::function<void()> wake);
    ~BackgroundFit();
    BackgroundFit(const BackgroundFit&) = delete;
    BackgroundFit& operator=(const BackgroundFit&) = delete;

    // The fit (or the runs) stops within about one model run and ends Cancelled.
    void cancel();
    bool cancelled() const { return cancel_.load(); }
    const FitSetup& setup() const { return setup_; }
    // Whether this computes a fit (false: only the runs at known values).
    bool fits() const { return fits_; }

    // What has arrived since the last take.
    struct Arrived {
        std::optional<FitProgress> progress;  // the latest report of the fit, if any came
        bool fitDone = false;                 // the fit has ended; the curves are being run
        bool ended = false;                   // nothing more will arrive
        FitResult result;                     // once ended (the fit's, or `known` completed)
        FittedRuns runs;                      // once ended: the curves (not ok: none)
        std::string failure;                  // why the system stopped it ("" if it did not)
    };
    Arrived take();

  private:
    void run(unsigned jobs);

    const FitSetup setup_;
    FitResult known_;
    const bool fits_;
    std::atomic<bool> cancel_{false};
    WindowMailbox<Arrived> mailbox_;
    std::thread thread_;  // last: starts once everything above is there
};

}  // namespace tesmo
