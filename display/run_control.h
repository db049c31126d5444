// The five run buttons' handlers, independent of any toolkit.
#pragma once

#include <functional>

#include "display/window_base.h"
#include "model/inputs.h"

namespace tesmo {

class RunControl {
  public:
    explicit RunControl(WindowBase& window) : window_(window) {}

    // A whole run executes inside cmd_Start_Click: check of the input texts (refused input
    // shows its messages and changes nothing), window preparation, set-up, both drying
    // periods, evaluation; then "Nochmal !" is shown.
    void cmd_Start_Click();
    // Holds the handler in the window's event processing until Weiter (or the window closes).
    void cmd_Pause_Click();
    void cmd_Weiter_Click();
    void cmd_Stop_Click();
    void cmd_Neustart_Click();

    // True while cmd_Start_Click is executing a run (also while it is paused).
    bool running() const { return running_; }
    // True while the Pause handler holds a run until Weiter.
    bool paused() const { return paused_; }
    // The seventeen texts the last run that started was computed from. The fields stay
    // editable during a run, so only this copy says which inputs the shown results belong to.
    const InputTexts& startTexts() const { return startTexts_; }
    // Whether a run has started since the window opened (startTexts() is meaningful).
    bool hasStarted() const { return started_; }
    // True when the last press of Start was refused because of its input texts.
    bool inputRefused() const { return refused_; }
    // Whether the window shows what a run computed (it finished, was stopped or cut short)
    // and "Nochmal !" has not cleared it since: what an export can take.
    bool resultsShown() const { return resultsShown_; }
    // Called whenever running(), paused() or resultsShown() changes, so that a window can
    // disable what must not happen during a run, offer what needs a run's results and say
    // where the run stands.
    void setStateListener(std::function<void()> listener) { stateListener_ = std::move(listener); }

    // The run modes the next Start computes with (the window's menu sets them; the defaults
    // compute the counter-current dryer as always). A run that is going keeps its own.
    void setRunOptions(const RunOptions& options) { options_ = options; }
    const RunOptions& runOptions() const { return options_; }

    // The window is closing: end any run at its next poll and release any waiting pause.
    void requestQuit();
    bool quitRequested() const { return quit_; }

  private:
    void prepareWindowForRun();
    // A button that hides itself while it holds the keyboard focus passes the focus on to the
    // next control in the Tab order, an input field; during a run it goes to the parking field.
    void parkFocusDuringRun();
    void setState(bool running, bool resultsShown);

    WindowBase& window_;
    void setPaused(bool paused);

    bool running_ = false;
    bool paused_ = false;
    bool refused_ = false;
    bool quit_ = false;
    bool started_ = false;
    bool resultsShown_ = false;
    std::function<void()> stateListener_;
    InputTexts startTexts_;
    RunOptions options_{};
};

}  // namespace tesmo
