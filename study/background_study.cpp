#include "study/background_study.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace tesmo {

namespace {

// How much the workers yield to the window's thread: at nice 5 a thread of nice 0 gets about
// three times the share of a worker when both want a processor, so the window answers at once
// and a run of the main window beside the study keeps its speed. On an idle machine the study
// loses nothing.
constexpr int kWorkerNice = 5;

void yieldToTheWindow() {
#if defined(__linux__)
    // Linux keeps a nice value per thread; the threads this one starts inherit it.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kWorkerNice);
#endif
}

}  // namespace

BackgroundStudy::BackgroundStudy(CaseList cases, unsigned jobs, std::function<void()> wake)
    : cases_(std::move(cases)), wake_(std::move(wake)), thread_([this, jobs] { run(jobs); }) {}

BackgroundStudy::~BackgroundStudy() {
    cancel();
    thread_.join();
}

void BackgroundStudy::cancel() {
    cancel_.store(true);
}

void BackgroundStudy::run(unsigned jobs) {
    yieldToTheWindow();
    StudyCallbacks callbacks;
    callbacks.sink = [this](const CaseOutcome& outcome) {
        std::lock_guard lock(mutex_);
        arrived_.outcomes.push_back(outcome);
        return true;
    };
    // The engine reports the progress right after handing on each outcome: the outcome and the
    // progress that counts it arrive together.
    callbacks.progress = [this](const StudyProgress& progress) {
        arrive([&] { arrived_.progress = progress; });
    };
    runStudy(cases_, {0, 1, cases_.size()}, jobs, callbacks, cancel_);
    arrive([this] { arrived_.ended = true; });
}

void BackgroundStudy::arrive(const std::function<void()>& change) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        change();
        wake = !woken_;
        woken_ = true;
    }
    // Outside the lock: the window may be taking what arrived at this moment.
    if (wake && wake_) wake_();
}

BackgroundStudy::Arrived BackgroundStudy::take() {
    std::lock_guard lock(mutex_);
    Arrived taken;
    taken.outcomes.swap(arrived_.outcomes);
    taken.progress = arrived_.progress;
    taken.ended = arrived_.ended;
    woken_ = false;
    return taken;
}

}  // namespace tesmo
