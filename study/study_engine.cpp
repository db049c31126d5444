#include "study/study_engine.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "display/number_format.h"
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

}  // namespace

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
                     const StudyCallbacks& callbacks, std::atomic<bool>& cancel) {
    InOrder order(callbacks, selection.count, cancel);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        CaseRunner runner;
        for (;;) {
            // The thread that started the study (a window's, after its painting) left its
            // vector state to this one, and a sink may run toolkit code.
            clearUpperVectorState();
            if (cancel.load()) return;
            const std::size_t j = next.fetch_add(1);
            if (j >= selection.count) return;
            const std::size_t i = selection.caseIndex(j);
            CaseOutcome outcome = runner.run(i + 1, cases.texts(i), &cancel);
            // A case stopped by the cancel request gets no row.
            if (!outcome.refused && outcome.end == RunEnd::Stopped && cancel.load()) return;
            order.finished(j, std::move(outcome));
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, jobs), std::max<std::size_t>(1, selection.count));
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();  // the calling thread is one of the workers
    for (std::thread& w : workers)
        w.join();
    return order.handed();
}

}  // namespace tesmo
