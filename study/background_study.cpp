#include "study/background_study.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <system_error>

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

}  // namespace

void yieldToTheWindow() {
#if defined(__linux__)
    // Linux keeps a nice value per thread; the threads this one starts inherit it.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kWorkerNice);
#endif
}

std::thread startBackgroundThread(std::function<void()> body) {
    try {
        if (const StudyResourceHook hook = studyResourceHook(); hook.beforeThread)
            hook.beforeThread(0);
        return std::thread(std::move(body));
    } catch (const std::system_error&) {
        throw StudyFailure(StudyFailure::Cause::Thread);
    }
}

BackgroundStudy::BackgroundStudy(CaseList cases, unsigned jobs, std::function<void()> wake)
    : cases_(std::move(cases)), mailbox_(std::move(wake)) {
    thread_ = startBackgroundThread([this, jobs] { run(jobs); });
}

BackgroundStudy::~BackgroundStudy() {
    cancel();
    if (thread_.joinable()) thread_.join();
}

void BackgroundStudy::cancel() {
    cancel_.store(true);
}

void BackgroundStudy::run(unsigned jobs) {
    yieldToTheWindow();
    StudyCallbacks callbacks;
    callbacks.sink = [this](const CaseOutcome& outcome) {
        mailbox_.keep([&](Arrived& a) { a.outcomes.push_back(outcome); });
        return true;
    };
    // The engine reports the progress right after handing on each outcome: the outcome and the
    // progress that counts it arrive together.
    callbacks.progress = [this](const StudyProgress& progress) {
        mailbox_.arrive([&](Arrived& a) { a.progress = progress; });
    };
    std::string failure;
    try {
        runStudy(cases_, {0, 1, cases_.size()}, jobs, callbacks, cancel_);
    } catch (const StudyFailure& e) {
        failure = e.what();
    } catch (const std::exception& e) {  // nothing else is thrown; but never terminate here
        failure = e.what();
    }
    mailbox_.arrive([&](Arrived& a) {
        a.failure = std::move(failure);
        a.ended = true;
    });
}

BackgroundStudy::Arrived BackgroundStudy::take() {
    return mailbox_.take([this](Arrived& arrived) {
        Arrived taken;
        taken.progress = arrived.progress;
        taken.ended = arrived.ended;
        taken.failure = arrived.failure;
        // An outcome arrives a moment before the progress that counts it: a take in between
        // would show a row more than the count says. Until the end, hand over only the rows
        // the progress counts; the next progress wakes the window for the rest.
        std::size_t count = arrived.outcomes.size();
        if (!arrived.ended && arrived.progress.done >= handedOver_)
            count = std::min(count, arrived.progress.done - handedOver_);
        const auto end = arrived.outcomes.begin() + static_cast<std::ptrdiff_t>(count);
        taken.outcomes.assign(std::make_move_iterator(arrived.outcomes.begin()),
                              std::make_move_iterator(end));
        arrived.outcomes.erase(arrived.outcomes.begin(), end);
        handedOver_ += count;
        return taken;
    });
}

}  // namespace tesmo
