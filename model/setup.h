// The set-up of a run: the seventeen texts become the run's constants.
#pragma once

#include <array>

#include "model/inputs.h"
#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

// Everything the set-up reads from the texts and derives from them, computed without touching
// the run state or the window. The check of the inputs and the set-up both use it, so the check
// judges exactly the numbers that the set-up will store. Nothing here is guarded: refused input
// may give values that are not finite.
struct Einrichtungswerte {
    // The seventeen texts through TextZuZahl, indexed like the input controls, in the units
    // typed (mm, %, W, 10^-9 m²/s, …), and whether each text held a number at all.
    std::array<double, kInputCount> gelesen{};
    std::array<bool, kInputCount> zahlGefunden{};

    // Grid: thickness / space step / 2 (both in mm), and the whole number it is taken as.
    double nOrtQuotient = 0;
    bool nOrtGanz = false;  // the quotient lies within 1e-9 relative of a whole number
    double nOrt = 0;        // that whole number if nOrtGanz, else the quotient itself

    // Inputs in the model's units.
    double DickeGruen = 0;  // m, thickness of the green plate as typed
    double rhos = 0;
    double XAnf = 0;
    float XZiel = 0;
    double thetaLuft = 0;
    double phiAbluft = 0;
    double alpha = 0;
    double lambda = 0;
    double thetaAussen = 0;
    double phiAussen = 0;
    double mue = 0;
    double deltaT = 0;
    double rund = 0;
    double linTrSchwind = 0;
    double Feuchteleit = 0;
    double KappaSteig = 0;

    // Derived, in the order of the set-up.
    double Dicke = 0;  // m, dry thickness
    double spezOberfl = 0;
    double pvAbluft = 0;
    double XAbluftAbluft = 0;  // water load of the exhaust air from its humidity
    double thetaKG = 0;
    int kgHalbierungen = 0;  // evaluations the wet-bulb search needed
    double pvAussen = 0;
    float XAussen = 0;
    double LuftRohlingVerh = 0;
    double s = 0;
    double rhosRoh = 0;
    double psiRoh = 0;
    double offPoren = 0;
    double XSchwEnde = 0;
    double s25 = 0;
    double rhos25 = 0;
    double psi25 = 0;
    double FeuchteleitGrenz = 0;
    double XAbluft = 0;  // water load that belongs to the found wet-bulb temperature
    double pvLuft = 0;
};

// Tolerance within which thickness / space step / 2 counts as a whole number of intervals:
// decimal texts such as 20,0 and 0,1 are not exact in binary.
inline constexpr double kOrtsschrittToleranz = 1e-9;

// Whether q lies within kOrtsschrittToleranz (relative) of a whole number of at least 1; if so
// that number goes to *ganz.
bool fastGanzzahlig(double q, double* ganz);

// Intervals over the half thickness for a thickness and a space step, both in mm (unrounded).
inline double ortsQuotient(double dickeMm, double ortsschrittMm) {
    return (dickeMm / ortsschrittMm) / 2;
}

Einrichtungswerte berechneEinrichtung(const InputTexts& texts);

// Steps 1 to 32 of the set-up, in their order: reads the texts through TextZuZahl, derives the
// air states, the air demand, the shrinkage geometry and the grid, shows the six set-up values
// and Image7. Expects texts that pruefeEingaben() accepted (it rounds nOrt to the whole number
// that the check found).
void Einrichtung(RunState& st, const InputTexts& texts, WindowPort& window);

}  // namespace tesmo
