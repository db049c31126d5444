// Ideal shrinkage of green clay: while the plate shrinks it loses exactly the volume of the
// water that leaves. Shrinkage fractions are linear, relative to the green plate.
#pragma once

#include "model/run_state.h"

namespace tesmo {

// Linear shrinkage reached at water load X (not limited: below XSchwEnde it exceeds s).
double sAusX(const RunParameters& p, double X);
// Dry-mass concentration in kg/m³ at linear shrinkage sigma.
double rhosAusS(const RunParameters& p, double sigma);
// Water volume fraction at linear shrinkage sigma.
double psiAusS(const RunParameters& p, double sigma);

// A recorded linear shrinkage (%, VerlaufSchwindOb and VerlaufSchwindK) as the plate really
// shrinks: the records grow linearly with the water removed, also below XSchwEnde, where the
// plate no longer shrinks; there the plate stays at the linear drying shrinkage linTrSchwind.
// The records keep the linear values (the time chart draws from them); files, tables and the
// numeric diagrams show these.
double physischeSchwindung(const RunParameters& p, double recorded);

}  // namespace tesmo
