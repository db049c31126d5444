// Reference values for water vapour and moist air, from published formulations, to check the
// model's moist-air functions against.
#pragma once

#include <array>

namespace tesmo {

// Saturation pressure of water in Pa at the temperature T in K (273.15 to 647.096 K), from the
// saturation-pressure equation of IAPWS-IF97, region 4:
//   ϑ = T + n9/(T − n10), A = ϑ² + n1·ϑ + n2, B = n3·ϑ² + n4·ϑ + n5, C = n6·ϑ² + n7·ϑ + n8,
//   p_s = (2C / (−B + (B² − 4AC)^½))⁴ · 1 MPa.
double if97SaturationPressure(double kelvin);

// The release's check values for this equation (T in K, p_s in MPa).
struct If97CheckValue {
    double kelvin, megapascal;
};
inline constexpr std::array<If97CheckValue, 3> kIf97CheckValues = {
    If97CheckValue{300, 0.353658941e-2}, If97CheckValue{500, 0.263889776e1},
    If97CheckValue{600, 0.123443146e2}};

inline constexpr double kCelsiusZero = 273.15;  // K
inline constexpr double kTotalPressure = 1e5;   // Pa: the model computes at 1 bar

// The psychrometric relations of the ASHRAE Handbook – Fundamentals (chapter Psychrometrics),
// with the saturation pressure of IAPWS-IF97 over liquid water:
// humidity ratio W = 0.621945·p_w/(p − p_w) in kg/kg,
double humidityRatio(double vapourPressure, double totalPressure);
// and the thermodynamic wet-bulb temperature t* in °C of air at t with humidity ratio W, the
// root of W = ((2501 − 2.326·t*)·W_s(t*) − 1.006·(t − t*)) / (2501 + 1.86·t − 4.186·t*),
// W_s(t*) the humidity ratio of saturated air at t*. Found by bisection between 0 °C and t;
// for air whose wet-bulb temperature lies below 0 °C it returns 0.
double wetBulbTemperature(double theta, double W, double totalPressure);

}  // namespace tesmo
