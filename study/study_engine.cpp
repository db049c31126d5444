#include "study/study_engine.h"

#include <algorithm>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "display/number_format.h"
#include "display/run_capture.h"
#include "display/vector_state.h"
#include "study/case_runner.h"

namespace tesmo {

namespace {

// The outcomes that have finished but wait for an earlier case, and the next one to hand on.
class InOrder {
  public:
    InOrder(const StudyCallbacks& callbacks, std::size_t total, std::atomic<bool>& cancel)
        : callbacks_(callbacks),
          total_(total),
          cancel_(cancel),
          start_(std::chrono::steady_clock::now()) {}

    void finished(std::size_t j, CaseOutcome outcome) {
        std::lock_guard lock(mutex_);
        waiting_.emplace(j, std::move(outcome));
        for (auto it = waiting_.find(next_); it != waiting_.end(); it = waiting_.find(next_)) {
            bool handedOn = false;
            if (!cancel_.load()) {
                handedOn = callbacks_.sink(it->second);
                if (!handedOn) cancel_.store(true);
            }
            waiting_.erase(it);
            ++next_;
            if (handedOn) {
                ++handed_;
                report();
            }
            if (cancel_.load()) return;
        }
    }

    std::size_t handed() const {
        std::lock_guard lock(mutex_);
        return handed_;
    }

  private:
    void report() {
        if (!callbacks_.progress) return;
        StudyProgress p;
        p.done = handed_;
        p.total = total_;
        p.elapsed = std::chrono::steady_clock::now() - start_;
        p.remaining = p.elapsed / static_cast<long>(handed_) * static_cast<long>(total_ - handed_);
        callbacks_.progress(p);
    }

    const StudyCallbacks& callbacks_;
    std::size_t total_;
    std::atomic<bool>& cancel_;
    std::chrono::steady_clock::time_point start_;
    mutable std::mutex mutex_;
    std::map<std::size_t, CaseOutcome> waiting_;
    std::size_t next_ = 0;
    std::size_t handed_ = 0;
};

const char* failureText(StudyFailure::Cause cause) {
    switch (cause) {
        case StudyFailure::Cause::Thread:
            return "Die Studie wurde abgebrochen: Das System hat keinen weiteren Thread für sie "
                   "gestartet. Bitte weniger Fälle gleichzeitig rechnen lassen.";
        case StudyFailure::Cause::Memory:
            break;
    }
    return "Die Studie wurde abgebrochen: Der Arbeitsspeicher reicht nicht. Bitte weniger Fälle "
           "gleichzeitig rechnen lassen oder andere Programme beenden.";
}

std::mutex hookMutex;
StudyResourceHook hook;  // guarded by hookMutex

// The first failure of any thread of a study; raising it stops the study like a cancel.
class FirstFailure {
  public:
    explicit FirstFailure(std::atomic<bool>& cancel) : cancel_(cancel) {}

    void record(std::exception_ptr e) {
        {
            std::lock_guard lock(mutex_);
            if (!first_) first_ = std::move(e);
        }
        cancel_.store(true);
    }

    // Throws what was recorded, the system's refusals as a StudyFailure.
    void rethrow() const {
        if (!first_) return;
        try {
            std::rethrow_exception(first_);
        } catch (const std::bad_alloc&) {
            throw StudyFailure(StudyFailure::Cause::Memory);
        }
    }

  private:
    std::atomic<bool>& cancel_;
    std::mutex mutex_;
    std::exception_ptr first_;  // guarded by mutex_
};

}  // namespace

StudyFailure::StudyFailure(Cause cause) : std::runtime_error(failureText(cause)), cause_(cause) {}

void setStudyResourceHook(StudyResourceHook h) {
    std::lock_guard lock(hookMutex);
    hook = std::move(h);
}

StudyResourceHook studyResourceHook() {
    std::lock_guard lock(hookMutex);
    return hook;
}

// One worker's run state and, once a study inspects its cases, the times of its records; both
// are made on the worker's own thread when it first needs them, in memory that the runs touch
// only as far as they write it.
struct StudyWorkers::Worker {
    std::unique_ptr<CaseRunner> runner;
    std::unique_ptr<RunCapture> capture;  // the record times, for inspect
};

StudyWorkers::StudyWorkers() = default;
StudyWorkers::~StudyWorkers() = default;

StudyWorkers::Worker& StudyWorkers::worker(std::size_t i) {
    if (workers_.size() <= i) workers_.resize(i + 1);
    if (!workers_[i]) workers_[i] = std::make_unique<Worker>();
    return *workers_[i];
}

std::string progressText(const StudyProgress& p) {
    const auto seconds = [](std::chrono::steady_clock::duration d) {
        return std::chrono::duration<double>(d).count();
    };
    return std::to_string(p.done) + " von " + std::to_string(p.total) + " Fällen, Zeit" +
           Zeitformat(seconds(p.elapsed)) + ", noch etwa" + Zeitformat(seconds(p.remaining));
}

unsigned defaultJobs() {
    return std::max(1u, std::thread::hardware_concurrency());
}

std::size_t runStudy(const CaseList& cases, const CaseSelection& selection, unsigned jobs,
                     const StudyCallbacks& callbacks, std::atomic<bool>& cancel,
                     StudyWorkers* workers) {
    const StudyResourceHook resources = studyResourceHook();
    InOrder order(callbacks, selection.count, cancel);
    FirstFailure failure(cancel);
    std::atomic<std::size_t> next{0};
    const std::size_t threads = std::min<std::size_t>(
        {std::max(1u, jobs), defaultJobs(), std::max<std::size_t>(1, selection.count)});
    // The workers' places are taken before any thread starts: the pool's vector does not change
    // while they run.
    StudyWorkers own;
    StudyWorkers& pool = workers ? *workers : own;
    std::vector<StudyWorkers::Worker*> mine;
    for (std::size_t t = 0; t < threads; ++t)
        mine.push_back(&pool.worker(t));
    const auto work = [&](std::size_t t) {
        try {
            if (cancel.load()) return;
            StudyWorkers::Worker& w = *mine[t];
            if (!w.runner) {
                if (resources.beforeRunState) resources.beforeRunState();
                w.runner = std::make_unique<CaseRunner>();
            }
            if (callbacks.inspect && !w.capture) w.capture = std::make_unique<RunCapture>();
            CaseRunner& runner = *w.runner;
            RunCapture* capture = callbacks.inspect ? w.capture.get() : nullptr;
            for (;;) {
                // The thread that started the study (a window's, after its painting) left its
                // vector state to this one, and a sink may run toolkit code.
                clearUpperVectorState();
                if (cancel.load()) return;
                const std::size_t j = next.fetch_add(1);
                if (j >= selection.count) return;
                const std::size_t i = selection.caseIndex(j);
                CaseOutcome outcome = runner.run(i + 1, cases.texts(i), &cancel, capture);
                // A case stopped by the cancel request gets no row.
                if (!outcome.refused && outcome.end == RunEnd::Stopped && cancel.load()) return;
                if (callbacks.inspect)
                    callbacks.inspect(i, outcome, runner.state(), capture->recordTimes());
                order.finished(j, std::move(outcome));
            }
        } catch (...) {
            failure.record(std::current_exception());
        }
    };
    std::vector<std::thread> helpers;
    try {
        helpers.reserve(threads - 1);
        for (std::size_t t = 1; t < threads; ++t) {
            if (resources.beforeThread) resources.beforeThread(static_cast<unsigned>(t));
            helpers.emplace_back(work, t);
        }
    } catch (const std::system_error&) {
        failure.record(std::make_exception_ptr(StudyFailure(StudyFailure::Cause::Thread)));
    } catch (...) {
        failure.record(std::current_exception());
    }
    // The calling thread is one of the workers; when starting the others failed it only sees
    // the cancel and returns.
    work(0);
    for (std::thread& h : helpers)
        h.join();
    failure.rethrow();
    return order.handed();
}

}  // namespace tesmo
