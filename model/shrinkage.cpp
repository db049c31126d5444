#include "model/shrinkage.h"

#include <cmath>

namespace tesmo {

// The green plate holds solids and water only; while it shrinks it loses the volume of the
// water that leaves. Relative to the green volume the plate at X has the volume
// (1 − psiRoh) + rhosRoh·X/1000 (water at 1000 kg/m³), and its linear shrinkage is one minus
// the cube root of that volume.
double sAusX(const RunState& st, double X) {
    return 1 - std::pow(1 - st.psiRoh + st.rhosRoh * X / 1000, 1.0 / 3.0);
}

// The dry mass stays, the volume goes with (1 − sigma)³; past the total shrinkage s the plate
// keeps the volume of the dried plate.
double rhosAusS(const RunState& st, double sigma) {
    if (sigma < st.s) return st.rhos * std::pow((1 - st.s) / (1 - sigma), 3);
    return st.rhos;
}

// Green water volume less the volume shrunk away, per current plate volume.
double psiAusS(const RunState& st, double sigma) {
    return rhosAusS(st, sigma) * (st.psiRoh - (1 - std::pow(1 - sigma, 3))) / st.rhosRoh;
}

}  // namespace tesmo
