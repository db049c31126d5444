#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "verify/plane_sheet.h"

namespace tesmo {
namespace {

TEST(PlaneSheet, TheSeriesSolutionMatchesItsKnownLimits) {
    EXPECT_EQ(removedFraction(0), 0);
    EXPECT_NEAR(removedFraction(20), 1, 1e-15);
    // Half of the water is gone at τ = 0.19674 (Dt/l² = 0.0492 for the whole thickness 2l).
    EXPECT_NEAR(removedFraction(0.196735), 0.5, 1e-5);
    // Early on the sheet behaves like two half-spaces: F = 2·sqrt(τ/π).
    EXPECT_NEAR(removedFraction(1e-4), 2 * std::sqrt(1e-4 / std::numbers::pi), 1e-9);
    EXPECT_NEAR(relativeLoad(0, 0.1), 0, 1e-15);
    EXPECT_NEAR(relativeLoad(1, 1e-3), 1, 1e-12);
    // The profile's mean is the removed fraction: ∫₀¹ u dx = 1 − F.
    double mean = 0;
    const int n = 2000;
    for (int i = 0; i < n; ++i)
        mean += relativeLoad((i + 0.5) / n, 0.2) / n;
    EXPECT_NEAR(mean, 1 - removedFraction(0.2), 1e-6);
}

// The report's section 1 in a test: if a change of the step moved its orders, this fails
// before the published report could say something else.
TEST(PlaneSheet, ObservedOrdersStayInTheirBands) {
    const auto st = std::make_unique<RunState>();
    const SheetStudy s = runSheetStudy(*st);
    const double time = finestOrder(observedOrders(s.time, true, false));
    const double space = finestOrder(observedOrders(s.space, true, true));
    const double nominal = finestOrder(observedOrders(s.space, false, true));
    EXPECT_TRUE(kTimeOrderBand.holds(time)) << time;
    EXPECT_TRUE(kSpaceOrderBand.holds(space)) << space;
    EXPECT_TRUE(kNominalSpaceOrderBand.holds(nominal)) << nominal;

    // The time orders are measured well above the single-precision floor, and the lagging
    // mirror value keeps the model behind the series at every step.
    for (const SheetPoint& p : s.time) {
        EXPECT_LT(p.roundingFloor(), 0.01 * std::abs(p.error().effective)) << p.dtau;
        EXPECT_LT(p.error().effective, 0) << p.dtau;
    }
    // Half the nodes, half the time error: it goes with κ·Δt/Δx.
    EXPECT_NEAR(s.coarserGrid.error().effective / s.time[2].error().effective, 0.5, 0.05);
    // The figure's curve starts at zero and rises to the series' value.
    EXPECT_EQ(s.curveModel.front(), 0);
    EXPECT_NEAR(s.curveModel.back(), removedFraction(s.curveTau.back()), 0.01);
}

}  // namespace
}  // namespace tesmo
