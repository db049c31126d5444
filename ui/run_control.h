// The five run buttons' handlers, independent of any toolkit.
#pragma once

#include "ui/window_base.h"

namespace tesmo {

class RunControl {
public:
    explicit RunControl(WindowBase& window) : window_(window) {}

    // A whole run executes inside cmd_Start_Click: window preparation, check of the input
    // texts (refused input shows its messages and changes nothing), set-up, both drying
    // periods, evaluation; then "Nochmal !" is shown.
    void cmd_Start_Click();
    void cmd_Pause_Click();
    void cmd_Weiter_Click();
    void cmd_Stop_Click();
    void cmd_Neustart_Click();

    // True while cmd_Start_Click is executing a run.
    bool running() const { return running_; }
    // The window is closing: end any run at its next poll and release any waiting pause.
    void requestQuit();
    bool quitRequested() const { return quit_; }

private:
    WindowBase& window_;
    bool running_ = false;
    bool quit_ = false;
};

}  // namespace tesmo
