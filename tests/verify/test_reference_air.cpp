#include <gtest/gtest.h>

#include <cmath>

#include "verify/air_comparison.h"
#include "verify/reference_air.h"

namespace tesmo {
namespace {

TEST(ReferenceAir, TheIf97SaturationPressureMeetsTheReleasesCheckValues) {
    for (const If97CheckValue& v : kIf97CheckValues)
        EXPECT_NEAR(if97SaturationPressure(v.kelvin) / 1e6, v.megapascal, 2e-9 * v.megapascal)
            << v.kelvin;
    // Normal boiling point: 101 325 Pa at 373.124 K (ITS-90).
    EXPECT_NEAR(if97SaturationPressure(373.124), 101325, 2);
}

TEST(ReferenceAir, TheWetBulbTemperatureBalancesTheAdiabaticSaturation) {
    // Saturated air does not cool by evaporation.
    const double Ws = humidityRatio(if97SaturationPressure(40 + kCelsiusZero), kTotalPressure);
    EXPECT_NEAR(wetBulbTemperature(40, Ws, kTotalPressure), 40, 1e-9);
    // Drier air has a lower wet-bulb temperature, and the balance holds at the root.
    double last = 40;
    for (double W : {0.03, 0.02, 0.01, 0.005}) {
        const double t = wetBulbTemperature(40, W, kTotalPressure);
        EXPECT_LT(t, last);
        last = t;
        const double Wst = humidityRatio(if97SaturationPressure(t + kCelsiusZero), kTotalPressure);
        const double balance =
            ((2501 - 2.326 * t) * Wst - 1.006 * (40 - t)) / (2501 + 1.86 * 40 - 4.186 * t);
        EXPECT_NEAR(balance, W, 1e-12);
    }
    // Air too dry for a wet-bulb temperature above 0 °C.
    EXPECT_EQ(wetBulbTemperature(5, 0, kTotalPressure), 0);
}

TEST(ReferenceAir, TheComparisonCoversTheTablesAndTheModelStaysClose) {
    const AirComparison c = compareAir();
    ASSERT_EQ(c.pressures.size(), kPressureTemperatures.size());
    ASSERT_EQ(c.wetBulbs.size(), kWetBulbStates.size());
    EXPECT_EQ(c.curve.size(), 101u);
    EXPECT_LT(c.checkDeviation, 2e-9);
    for (const PressureRow& p : c.curve)
        EXPECT_LT(std::abs(p.deviation()), 0.5) << p.theta;
    for (const WetBulbRow& w : c.wetBulbs) {
        EXPECT_LT(w.reference, w.state.theta);
        EXPECT_NEAR(w.model, w.reference, 0.05) << w.state.theta;
    }
}

}  // namespace
}  // namespace tesmo
