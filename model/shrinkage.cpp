#include "model/shrinkage.h"

#include <cmath>

#include "model/physical_constants.h"

namespace tesmo {

// The green plate holds solids and water only; while it shrinks it loses the volume of the
// water that leaves. Relative to the green volume the plate at X has the volume
// (1 − psiRoh) + rhosRoh·X/1000 (water at 1000 kg/m³), and its linear shrinkage is one minus
// the cube root of that volume.
double sAusX(const RunParameters& p, double X) {
    return 1 - std::pow(1 - p.psiRoh + p.rhosRoh * X / kDichteWasser, 1.0 / 3.0);
}

// The dry mass stays, the volume goes with (1 − sigma)³; past the total shrinkage s the plate
// keeps the volume of the dried plate.
double rhosAusS(const RunParameters& p, double sigma) {
    if (sigma < p.s) return p.rhos * std::pow((1 - p.s) / (1 - sigma), 3);
    return p.rhos;
}

// Green water volume less the volume shrunk away, per current plate volume.
double psiAusS(const RunParameters& p, double sigma) {
    return rhosAusS(p, sigma) * (p.psiRoh - (1 - std::pow(1 - sigma, 3))) / p.rhosRoh;
}

double physischeSchwindung(const RunParameters& p, double recorded) {
    return recorded > p.linTrSchwind ? p.linTrSchwind : recorded;
}

}  // namespace tesmo
