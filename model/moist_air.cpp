#include "model/moist_air.h"

#include <cmath>

namespace tesmo {

namespace {

// Specific heat of liquid water in kJ/(kg K): the value of the water-load balance and the
// rounded value that the vapour-pressure form of the same balance has always used.
constexpr double kCwWasserbeladung = 4.1868;
constexpr double kCwDampfdruck = 4.19;

// Water load of air at theta that adiabatic saturation brings to saturation at thetaKG:
// h(theta, X) + (X_s − X)·c_w·thetaKG = h_s.
double kuehlgrenzBilanz(double theta, double thetaKG, double cw) {
    const double ps = Saettigungsdruck(thetaKG);
    const double Xs = 0.622 * ps / (1 - ps);
    const double hs = 1.005 * thetaKG + Xs * (2500 + 1.86 * thetaKG);
    return (hs - 1.005 * theta - cw * Xs * thetaKG) / (2500 + 1.86 * theta - cw * thetaKG);
}

}  // namespace

double Saettigungsdruck(double theta) {
    return 610.78 * std::exp(17.08085 * theta / (234.175 + theta)) / 100000;
}

double Verdampfungswaerme(double theta) {
    return 2500 - 2.32 * theta;
}

double relFeuchte(double X, double theta) {
    return X / (Saettigungsdruck(theta) * (0.622 + X));
}

double XausKuehlgrenze(double theta, double thetaKG) {
    return kuehlgrenzBilanz(theta, thetaKG, kCwWasserbeladung);
}

double pDampfAusKuehlgrenze(double theta, double thetaKG) {
    const double X = kuehlgrenzBilanz(theta, thetaKG, kCwDampfdruck);
    return X / (X + 0.622);
}

double Kuehlgrenztemperatur(double theta, double X, int* halvings) {
    // Bisection between 0 and 100 °C; the water load of the balance rises with the wet-bulb
    // temperature below about 99.6 °C, where the saturation pressure reaches 1 bar. The last
    // midpoint is returned, whether the 1e-7 agreement was met or the 1001 evaluations ran out.
    double unten = 0;
    double oben = 100;
    int zaehler = 0;
    double mitte = 0;
    for (;;) {
        mitte = (oben + unten) / 2;
        ++zaehler;
        const double Xm = XausKuehlgrenze(theta, mitte);
        if (zaehler > 1000 || std::abs(Xm - X) < 1e-7) break;
        if (Xm > X) {
            oben = mitte;
        } else {
            unten = mitte;
        }
    }
    if (halvings != nullptr) *halvings = zaehler;
    return mitte;
}

}  // namespace tesmo
