// Runs of the model for a fit: every series at each of several parameter sets, on every core
// through the study engine. Each worker keeps one run state for the whole fit, so that nothing
// is allocated per run and the runs of one evaluation (a base point and its perturbations for
// the Jacobian, or one trial step) run side by side.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "fit/fit_setup.h"
#include "study/study_engine.h"

namespace tesmo {

// The model at one parameter set: the simulated value of every measured point (in the order of
// MeasuredPoints), or why it could not be computed.
struct Trial {
    std::vector<double> simulated;
    bool ok = false;
    std::string message;                // German, naming the series, when not ok
    std::vector<std::size_t> afterEnd;  // per series: points after the run's end
};

class ModelRuns {
  public:
    // `cancel` (may be null) stops the runs at their next time step when raised; `counter`
    // (may be null) counts the runs of several of these together.
    ModelRuns(const FitSetup& setup, const MeasuredPoints& points, unsigned jobs,
              std::atomic<bool>* cancel, std::atomic<std::size_t>* counter = nullptr);

    // Runs every series at each parameter set (values in the units typed, one per fitted
    // input). A set is not ok when a run of one of its series was refused by the input check,
    // ended early (unstable, not a number, too many steps) or was cancelled.
    void run(const std::vector<std::vector<double>>& sets, std::vector<Trial>& out);

    std::size_t runs() const { return runs_; }
    bool cancelled() const { return cancel_->load(); }
    unsigned jobs() const { return jobs_; }
    void setJobs(unsigned jobs) { jobs_ = jobs; }
    // Gives the workers' run states back (about 40 MB each); the next run makes new ones.
    void releaseRunStates() { workers_ = std::make_unique<StudyWorkers>(); }

  private:
    const FitSetup& setup_;
    const MeasuredPoints& points_;
    unsigned jobs_;
    std::atomic<bool> never_{false};
    std::atomic<bool>* cancel_;
    std::atomic<std::size_t>* counter_;
    std::unique_ptr<StudyWorkers> workers_ = std::make_unique<StudyWorkers>();
    std::size_t runs_ = 0;
    std::vector<int> steps_;  // per series: the time steps its last finished run stored
};

}  // namespace tesmo
