#include "study/case_runner.h"

#include "display/run_control.h"

namespace tesmo {

CaseRunner::CaseRunner() : state_(newRunState()) {}

CaseRunner::~CaseRunner() = default;

CaseOutcome CaseRunner::run(std::size_t number, const InputTexts& texts,
                            const std::atomic<bool>* stop, RunCapture* capture) {
    // Nothing of an earlier case may carry over: a new program starts with a zeroed state
    // (nIterKern, for one, is never reset by Start) and a window as it opens.
    resetToFreshProgram(*state_);
    if (window_)
        window_->reopen();
    else
        window_ = std::make_unique<HeadlessWindow>(*state_);
    window_->setInputTexts(texts);
    window_->setStopRequest(stop);
    window_->setCapture(capture);
    RunControl control(*window_);
    control.setRunOptions(texts.optionen);
    control.cmd_Start_Click();
    return outcomeOf(number, texts, *window_, control.inputRefused());
}

}  // namespace tesmo
