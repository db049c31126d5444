// Runs single cases on a run state of its own, each from the state of a freshly started
// program, exactly as one press of Start in the headless runner runs it.
#pragma once

#include <atomic>
#include <memory>

#include "display/headless_window.h"
#include "display/run_capture.h"
#include "model/inputs.h"
#include "model/run_state.h"
#include "study/results.h"

namespace tesmo {

class CaseRunner {
  public:
    // Allocates the run state (about 44 MB of address space) and its window once; its memory is
    // taken from the system only as the runs write it, and a run allocates nothing more than the
    // outcome's texts. Throws std::bad_alloc when the address space is not there.
    CaseRunner();
    ~CaseRunner();

    // Runs the texts as the window's Start button would, after returning the run state to that
    // of a new program. `stop` (may be null) ends the run at its next time step when raised.
    // Returns the outcome numbered `number`; a run ended by `stop` has end RunEnd::Stopped.
    // `capture` (may be null) keeps the record times and drawn profiles of the run.
    CaseOutcome run(std::size_t number, const InputTexts& texts,
                    const std::atomic<bool>* stop = nullptr, RunCapture* capture = nullptr);

    // The run state and the window as the last run left them (histories, output texts).
    const RunState& state() const { return *state_; }
    const HeadlessWindow& window() const { return *window_; }

  private:
    RunStateOwner state_;
    std::unique_ptr<HeadlessWindow> window_;
};

}  // namespace tesmo
