#include "fit/background_fit.h"

#include <exception>
#include <system_error>

#include "study/background_study.h"
#include "study/study_engine.h"

namespace tesmo {

BackgroundFit::BackgroundFit(FitSetup setup, unsigned jobs, std::function<void()> wake)
    : setup_(std::move(setup)), fits_(true), wake_(std::move(wake)) {
    start(jobs);
}

BackgroundFit::BackgroundFit(FitSetup setup, FitResult known, unsigned jobs,
                             std::function<void()> wake)
    : setup_(std::move(setup)), known_(std::move(known)), fits_(false), wake_(std::move(wake)) {
    start(jobs);
}

void BackgroundFit::start(unsigned jobs) {
    try {
        if (const StudyResourceHook hook = studyResourceHook(); hook.beforeThread)
            hook.beforeThread(0);
        thread_ = std::thread([this, jobs] { run(jobs); });
    } catch (const std::system_error&) {
        throw StudyFailure(StudyFailure::Cause::Thread);
    }
}

BackgroundFit::~BackgroundFit() {
    cancel();
    if (thread_.joinable()) thread_.join();
}

void BackgroundFit::cancel() {
    cancel_.store(true);
}

void BackgroundFit::run(unsigned jobs) {
    yieldToTheWindow();
    FitResult result = std::move(known_);
    FittedRuns runs;
    std::string failure;
    try {
        if (fits_) {
            FitControl control;
            control.jobs = jobs;
            control.cancel = &cancel_;
            control.progress = [this](const FitProgress& p) {
                arrive([&] { arrived_.progress = p; });
            };
            result = runFit(setup_, control);
            arrive([&] { arrived_.fitDone = true; });
        }
        const bool hasValues = result.end != FitEnd::Failed && result.end != FitEnd::Cancelled;
        if (hasValues && !cancel_.load()) {
            runs = runAtValues(setup_, fittedValues(result), jobs, cancel_);
            // A result read from a file learns here how it compares with the measurements.
            if (!fits_ && runs.ok)
                compareWithMeasurements(setup_, measuredPoints(setup_.series), runs.simulated,
                                        runs.afterEnd, result);
        }
    } catch (const StudyFailure& e) {
        failure = e.what();
    } catch (const std::exception& e) {  // nothing else is thrown; but never terminate here
        failure = e.what();
    }
    arrive([&] {
        arrived_.result = std::move(result);
        arrived_.runs = std::move(runs);
        arrived_.failure = std::move(failure);
        arrived_.fitDone = true;
        arrived_.ended = true;
    });
}

void BackgroundFit::arrive(const std::function<void()>& change) {
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

BackgroundFit::Arrived BackgroundFit::take() {
    std::lock_guard lock(mutex_);
    Arrived taken;
    taken.progress = arrived_.progress;
    arrived_.progress.reset();
    taken.fitDone = arrived_.fitDone;
    taken.ended = arrived_.ended;
    if (taken.ended) {
        taken.result = std::move(arrived_.result);
        taken.runs = std::move(arrived_.runs);
        taken.failure = std::move(arrived_.failure);
        arrived_.ended = false;  // handed over once
    }
    woken_ = false;
    return taken;
}

}  // namespace tesmo
