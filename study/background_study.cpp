#include "study/background_study.h"

#include <exception>
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
    return mailbox_.take([](Arrived& arrived) {
        Arrived taken;
        taken.outcomes.swap(arrived.outcomes);
        taken.progress = arrived.progress;
        taken.ended = arrived.ended;
        taken.failure = arrived.failure;
        return taken;
    });
}

}  // namespace tesmo
