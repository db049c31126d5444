#include "fit/background_fit.h"

#include <exception>

#include "study/study_engine.h"

namespace tesmo {

BackgroundFit::BackgroundFit(FitSetup setup, unsigned jobs, std::function<void()> wake)
    : setup_(std::move(setup)), fits_(true), mailbox_(std::move(wake)) {
    thread_ = startBackgroundThread([this, jobs] { run(jobs); });
}

BackgroundFit::BackgroundFit(FitSetup setup, FitResult known, unsigned jobs,
                             std::function<void()> wake)
    : setup_(std::move(setup)), known_(std::move(known)), fits_(false),
      mailbox_(std::move(wake)) {
    thread_ = startBackgroundThread([this, jobs] { run(jobs); });
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
                mailbox_.arrive([&](Arrived& a) { a.progress = p; });
            };
            result = runFit(setup_, control);
            mailbox_.arrive([](Arrived& a) { a.fitDone = true; });
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
    mailbox_.arrive([&](Arrived& a) {
        a.result = std::move(result);
        a.runs = std::move(runs);
        a.failure = std::move(failure);
        a.fitDone = true;
        a.ended = true;
    });
}

BackgroundFit::Arrived BackgroundFit::take() {
    return mailbox_.take([](Arrived& arrived) {
        Arrived taken;
        taken.progress = arrived.progress;
        arrived.progress.reset();
        taken.fitDone = arrived.fitDone;
        taken.ended = arrived.ended;
        if (taken.ended) {
            taken.result = std::move(arrived.result);
            taken.runs = std::move(arrived.runs);
            taken.failure = std::move(arrived.failure);
            arrived.ended = false;  // handed over once
        }
        return taken;
    });
}

}  // namespace tesmo
