#include "verify/reference_air.h"

#include <cmath>

namespace tesmo {

namespace {

// IAPWS-IF97, region 4: the coefficients n1 … n10 of the saturation equations.
constexpr double n[11] = {0,
                          0.11670521452767e4,
                          -0.72421316703206e6,
                          -0.17073846940092e2,
                          0.12020824702470e5,
                          -0.32325550322333e7,
                          0.14915108613530e2,
                          -0.48232657361591e4,
                          0.40511340542057e6,
                          -0.23855557567849,
                          0.65017534844798e3};
constexpr double kMegapascal = 1e6;

// Ratio of the molar masses of water and dry air.
constexpr double kMolarRatio = 0.621945;
constexpr int kHalvings = 200;

double saturationHumidityRatio(double theta, double totalPressure) {
    return humidityRatio(if97SaturationPressure(theta + kCelsiusZero), totalPressure);
}

double wetBulbBalance(double theta, double thetaStar, double totalPressure) {
    const double Ws = saturationHumidityRatio(thetaStar, totalPressure);
    return ((2501 - 2.326 * thetaStar) * Ws - 1.006 * (theta - thetaStar)) /
           (2501 + 1.86 * theta - 4.186 * thetaStar);
}

}  // namespace

double if97SaturationPressure(double kelvin) {
    const double v = kelvin + n[9] / (kelvin - n[10]);
    const double A = v * v + n[1] * v + n[2];
    const double B = n[3] * v * v + n[4] * v + n[5];
    const double C = n[6] * v * v + n[7] * v + n[8];
    const double root = 2 * C / (-B + std::sqrt(B * B - 4 * A * C));
    return root * root * root * root * kMegapascal;
}

double humidityRatio(double vapourPressure, double totalPressure) {
    return kMolarRatio * vapourPressure / (totalPressure - vapourPressure);
}

double wetBulbTemperature(double theta, double W, double totalPressure) {
    // The balance's water load rises with t*; it reaches W_s(t) ≥ W at t* = t.
    double lo = 0, hi = theta;
    if (wetBulbBalance(theta, lo, totalPressure) >= W) return 0;
    for (int i = 0; i < kHalvings && hi - lo > 0; ++i) {
        const double mid = (lo + hi) / 2;
        if (wetBulbBalance(theta, mid, totalPressure) > W) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return (lo + hi) / 2;
}

}  // namespace tesmo
