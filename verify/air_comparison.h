// The model's moist-air functions against the reference values of reference_air.h.
#pragma once

#include <array>
#include <vector>

namespace tesmo {

inline constexpr std::array<double, 6> kPressureTemperatures = {0, 20, 40, 60, 80, 100};  // °C

// Air states of a clay dryer: outside air, exhaust air, and the warmer, drier air towards the
// supply end (temperature in °C, relative humidity in %).
struct AirState {
    double theta, phi;
};
inline constexpr std::array<AirState, 7> kWetBulbStates = {
    AirState{15, 60}, AirState{25, 80}, AirState{35, 70}, AirState{50, 40},
    AirState{65, 20}, AirState{80, 10}, AirState{100, 5}};

struct PressureRow {
    double theta = 0;
    double model = 0, reference = 0;                                    // Pa
    double deviation() const { return 100 * (model / reference - 1); }  // %
};

struct WetBulbRow {
    AirState state{};
    double X = 0;      // kg/kg, from the reference saturation pressure at 1 bar
    double model = 0;  // Kuehlgrenztemperatur, °C
    double reference = 0;
};

struct AirComparison {
    std::vector<PressureRow> pressures;  // at kPressureTemperatures
    std::vector<PressureRow> curve;      // 0 to 100 °C every kelvin, for a figure
    std::vector<WetBulbRow> wetBulbs;    // at kWetBulbStates
    // Largest relative deviation of the IAPWS-IF97 implementation from the release's check
    // values.
    double checkDeviation = 0;
};

AirComparison compareAir();

}  // namespace tesmo
