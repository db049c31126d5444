// A fit on threads of its own, as the window runs it: it ends with its result and the curves at
// the fitted values, handed over once; a result kept in a fit file gives the same curves again;
// cancelling stops it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "fit/background_fit.h"
#include "tests/fit/synthetic.h"

namespace tesmo {

using namespace test;

namespace {

// One series of the model's own curve, noise added; `mue` fitted from a start off the truth.
FitSetup quickSetup(int starts) {
    Noise noise(7);
    std::array<double, kMessgroessenCount> sigma{};
    sigma[slot(Messgroesse::X)] = 0.002;
    MeasuredSeries exact =
        exactSeries(std::string("kammer-") + kMittel.lufttemp + ".csv", labCase(kMittel), 30, 0.9);
    FitSetup setup;
    setup.series.push_back(noisy(std::move(exact), sigma, noise));
    setup.parameters.push_back(parameter(Control::txt_mue, 12, 2, 200));
    setup.starts = starts;
    return setup;
}

// Takes what arrives until the end (at most a minute); counts the takes that found something.
BackgroundFit::Arrived waitForEnd(BackgroundFit& fit, const std::atomic<int>& wakes) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    int seen = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (wakes.load() != seen) {
            seen = wakes.load();
            BackgroundFit::Arrived a = fit.take();
            if (a.ended) return a;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ADD_FAILURE() << "the fit did not end within a minute";
    return {};
}

}  // namespace

TEST(BackgroundFit, EndsWithItsResultAndCurvesAndAStoredResultGivesTheSameCurves) {
    const FitSetup setup = quickSetup(1);
    std::atomic<int> wakes{0};
    BackgroundFit fit(setup, 2, [&wakes] { ++wakes; });
    const BackgroundFit::Arrived end = waitForEnd(fit, wakes);
    ASSERT_TRUE(end.ended);
    EXPECT_TRUE(end.failure.empty()) << end.failure;
    ASSERT_NE(end.result.end, FitEnd::Failed) << end.result.message;
    ASSERT_EQ(end.result.parameters.size(), 1U);
    ASSERT_TRUE(end.runs.ok) << end.runs.message;
    ASSERT_EQ(end.runs.curves.size(), 1U);
    // The curve the window draws is the model at the fitted value: at the measured times it
    // gives the values the fit compared.
    ASSERT_EQ(end.runs.simulated.size(), end.result.comparison.size());
    for (std::size_t i = 0; i < end.runs.simulated.size(); ++i)
        EXPECT_EQ(end.runs.simulated[i], end.result.comparison[i].simuliert) << i;
    // The end is handed over once.
    EXPECT_FALSE(fit.take().ended);

    // The same result as a fit file keeps it: its runs reproduce the comparison bit for bit.
    FitResult stored;
    std::string problem;
    ASSERT_TRUE(resultOfOutcome(setup, end.result.outcome(), stored, problem)) << problem;
    EXPECT_TRUE(stored.comparison.empty());
    std::atomic<int> wakes2{0};
    BackgroundFit runs(setup, stored, 2, [&wakes2] { ++wakes2; });
    EXPECT_FALSE(runs.fits());
    const BackgroundFit::Arrived again = waitForEnd(runs, wakes2);
    ASSERT_TRUE(again.runs.ok) << again.runs.message;
    ASSERT_EQ(again.result.comparison.size(), end.result.comparison.size());
    for (std::size_t i = 0; i < again.result.comparison.size(); ++i)
        EXPECT_EQ(again.result.comparison[i].residual, end.result.comparison[i].residual) << i;
    EXPECT_EQ(again.result.parameters[0].value, end.result.parameters[0].value);
}

TEST(BackgroundFit, CancelledItEndsWithoutValuesAndWithoutCurves) {
    std::atomic<int> wakes{0};
    BackgroundFit fit(quickSetup(8), 2, [&wakes] { ++wakes; });
    fit.cancel();
    const BackgroundFit::Arrived end = waitForEnd(fit, wakes);
    ASSERT_TRUE(end.ended);
    EXPECT_TRUE(fit.cancelled());
    EXPECT_EQ(end.result.end, FitEnd::Cancelled);
    EXPECT_FALSE(end.runs.ok);
    EXPECT_TRUE(end.runs.curves.empty());
}

TEST(BackgroundFit, DestroyedWhileItRunsItStopsAndWaits) {
    std::atomic<int> wakes{0};
    {
        BackgroundFit fit(quickSetup(8), 2, [&wakes] { ++wakes; });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }  // must return, with nothing left running that could call the wake
    const int after = wakes.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(wakes.load(), after);
}

}  // namespace tesmo
