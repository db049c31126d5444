#include "verify/air_comparison.h"

#include <algorithm>
#include <cmath>

#include "model/moist_air.h"
#include "verify/reference_air.h"

namespace tesmo {

namespace {

constexpr double kPascalPerBar = 1e5;

PressureRow pressureAt(double theta) {
    return {theta, Saettigungsdruck(theta) * kPascalPerBar,
            if97SaturationPressure(theta + kCelsiusZero)};
}

}  // namespace

AirComparison compareAir() {
    AirComparison c;
    for (double theta : kPressureTemperatures)
        c.pressures.push_back(pressureAt(theta));
    for (int theta = 0; theta <= 100; ++theta)
        c.curve.push_back(pressureAt(theta));
    for (const AirState& s : kWetBulbStates) {
        WetBulbRow r;
        r.state = s;
        const double pw = s.phi / 100 * if97SaturationPressure(s.theta + kCelsiusZero);
        r.X = humidityRatio(pw, kTotalPressure);
        r.model = Kuehlgrenztemperatur(s.theta, r.X);
        r.reference = wetBulbTemperature(s.theta, r.X, kTotalPressure);
        c.wetBulbs.push_back(r);
    }
    for (const If97CheckValue& v : kIf97CheckValues) {
        const double got = if97SaturationPressure(v.kelvin) / 1e6;
        c.checkDeviation = std::max(c.checkDeviation, std::abs(got / v.megapascal - 1));
    }
    return c;
}

}  // namespace tesmo
