// A study in the background of a window: what the workers hand over, how the window is woken,
// and how the study stops.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>

#include "study/background_study.h"
#include "tests/study/refusing_system.h"

namespace tesmo {
namespace {

using Clock = std::chrono::steady_clock;

// What a window's thread would do: wait for a wake, then take.
class Waker {
  public:
    std::function<void()> wake() {
        return [this] {
            std::lock_guard lock(mutex_);
            ++wakes_;
            changed_.notify_all();
        };
    }
    // Waits until there have been more than `seen` wakes (at most `limit`); returns their count.
    int waitBeyond(int seen, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, limit, [&] { return wakes_ > seen; });
        return wakes_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int wakes_ = 0;
};

InputTexts thinPlate() {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = std::string("4");  // a std::string: GCC 12 warns on the literal
    return t;
}

std::vector<std::string> values(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i)
        v.push_back(std::to_string(30 + i));
    return v;
}

TEST(BackgroundStudy, OutcomesArriveInCaseOrderAndEveryWakeIsAnsweredByOneTake) {
    const CaseList cases(thinPlate(), {{Control::txt_Lufttemp, values(8)}});
    std::vector<std::string> alone;
    StudyCallbacks callbacks;
    callbacks.sink = [&](const CaseOutcome& o) {
        alone.push_back(tableRow(o));
        return true;
    };
    std::atomic<bool> no{false};
    runStudy(cases, {0, 1, cases.size()}, 1, callbacks, no);

    Waker waker;
    BackgroundStudy study(cases, 2, waker.wake());
    std::vector<std::string> rows;
    int wakes = 0, takes = 0;
    BackgroundStudy::Arrived arrived;
    while (!arrived.ended) {
        const int now = waker.waitBeyond(wakes);
        ASSERT_GT(now, wakes) << "no wake";
        wakes = now;
        arrived = study.take();
        ++takes;
        for (const CaseOutcome& o : arrived.outcomes)
            rows.push_back(tableRow(o));
        EXPECT_EQ(arrived.progress.done, rows.size());
    }
    EXPECT_EQ(rows, alone);
    EXPECT_EQ(arrived.progress.total, 8u);
    EXPECT_FALSE(study.cancelled());
    EXPECT_LE(wakes, takes);  // a wake waits for its take before the next one
    EXPECT_TRUE(study.take().outcomes.empty());
}

TEST(BackgroundStudy, CancelOrDestructionStopsTheWorkersAtOnce) {
    // Default plates: tenths of a second per case, far longer than the study is given here.
    const CaseList cases(defaultInputTexts(), {{Control::txt_Lufttemp, values(40)}});
    Waker waker;
    {
        BackgroundStudy study(cases, 2, waker.wake());
        ASSERT_GT(waker.waitBeyond(0), 0);
        const auto t0 = Clock::now();
        study.cancel();
        std::size_t rows = 0;
        BackgroundStudy::Arrived arrived;
        for (int seen = 0; !arrived.ended;) {
            seen = waker.waitBeyond(seen, std::chrono::seconds(1));
            arrived = study.take();
            rows += arrived.outcomes.size();
        }
        EXPECT_LT(Clock::now() - t0, std::chrono::seconds(1));
        EXPECT_TRUE(study.cancelled());
        EXPECT_GE(rows, 1u);
        EXPECT_LT(rows, 40u);
    }
    // Destroyed while running: returns within the time step, and nothing wakes afterwards.
    Waker late;
    auto study = std::make_unique<BackgroundStudy>(cases, 2, late.wake());
    ASSERT_GT(late.waitBeyond(0), 0);
    const auto t0 = Clock::now();
    study.reset();
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(1));
    const int wakes = late.waitBeyond(1000, std::chrono::milliseconds(0));
    EXPECT_EQ(late.waitBeyond(1000, std::chrono::milliseconds(50)), wakes);
}

TEST(BackgroundStudy, WhenTheSystemRefusesMemoryTheStudyEndsWithWhatArrivedAndTheReason) {
    const CaseList cases(thinPlate(), {{Control::txt_Lufttemp, values(12)}});
    // The first worker's run state is there, the second's is not; on one core there is no
    // second worker and the study runs to its end.
    std::atomic<int> allocations{0};
    test::RefusingSystem refusing({{}, [&] {
                                       if (allocations.fetch_add(1) == 1) throw std::bad_alloc();
                                   }});
    Waker waker;
    BackgroundStudy study(cases, 2, waker.wake());
    std::vector<std::size_t> numbers;
    BackgroundStudy::Arrived arrived;
    for (int seen = 0; !arrived.ended;) {
        seen = waker.waitBeyond(seen);
        arrived = study.take();
        for (const CaseOutcome& o : arrived.outcomes)
            numbers.push_back(o.number);
    }
    if (defaultJobs() < 2) return;
    EXPECT_NE(arrived.failure.find("Arbeitsspeicher reicht nicht"), std::string::npos)
        << arrived.failure;
    EXPECT_TRUE(study.cancelled());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], i + 1);
}

}  // namespace
}  // namespace tesmo
