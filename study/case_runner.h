// Runs single cases on a run state of its own, each from the state of a freshly started
// program, exactly as one press of Start in the headless runner runs it.
#pragma once

#include <atomic>
#include <memory>

#include "display/headless_window.h"
#include "model/inputs.h"
#include "model/run_state.h"
#include "study/results.h"

namespace tesmo {

class CaseRunner {
  public:
    // Allocates the run state (about 40 MB) and its window once; a run allocates nothing more
    // than the outcome's texts.
    CaseRunner();
    ~CaseRunner();

    // Runs the texts as the window's Start button would, after returning the run state to that
    // of a new program. `stop` (may be null) ends the run at its next time step when raised.
    // Returns the outcome numbered `number`; a run ended by `stop` has end RunEnd::Stopped.
    // `recordTimes` (may be null) receives the time of every history record the run stores.
    CaseOutcome run(std::size_t number, const InputTexts& texts,
                    const std::atomic<bool>* stop = nullptr, HistoryArray* recordTimes = nullptr);

    // The run state and the window as the last run left them (histories, output texts).
    const RunState& state() const { return *state_; }
    const HeadlessWindow& window() const { return *window_; }

  private:
    std::unique_ptr<RunState> state_;
    std::unique_ptr<HeadlessWindow> window_;
};

}  // namespace tesmo
