#include "model/moist_air.h"

#include <cmath>

#include "model/physical_constants.h"

namespace tesmo {

namespace {

// Water load of air at theta that adiabatic saturation brings to saturation at thetaKG:
// h(theta, X) + (X_s − X)·c_w·thetaKG = h_s.
double kuehlgrenzBilanz(double theta, double thetaKG, double cw) {
    const double ps = Saettigungsdruck(thetaKG);
    const double Xs = wasserbeladungAusDampfdruck(ps);
    const double hs = kCpLuft * thetaKG + Xs * (kVerdampfungswaerme0 + kCpDampf * thetaKG);
    return (hs - kCpLuft * theta - cw * Xs * thetaKG) /
           (kVerdampfungswaerme0 + kCpDampf * theta - cw * thetaKG);
}

}  // namespace

double wasserbeladungAusDampfdruck(double p) {
    return kMolmassenverhaeltnis * p / (1 - p);
}

double Saettigungsdruck(double theta) {
    return kMagnusP0 * std::exp(kMagnusA * theta / (kMagnusB + theta)) / kPascalProBar;
}

double Verdampfungswaerme(double theta) {
    return kVerdampfungswaerme0 - kVerdampfungswaermeAbfall * theta;
}

double relFeuchte(double X, double theta) {
    return X / (Saettigungsdruck(theta) * (kMolmassenverhaeltnis + X));
}

double XausKuehlgrenze(double theta, double thetaKG) {
    return kuehlgrenzBilanz(theta, thetaKG, kCwWasser);
}

double pDampfAusKuehlgrenze(double theta, double thetaKG) {
    const double X = kuehlgrenzBilanz(theta, thetaKG, kCwWasserGerundet);
    return X / (X + kMolmassenverhaeltnis);
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
