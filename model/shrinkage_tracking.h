// What the run records about the shrinkage of the plate: when the surface node and the core
// node stop shrinking, the steepest shrinkage gradient at the surface, and the linear
// shrinkage of both nodes in the history records.
#pragma once

#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

// End of shrinkage, tested once per step after the transport step: the surface when X(0)
// falls below XSchwEnde, the core when X(nOrt) reaches it (first period) or falls below it
// (second period). Each end time is set once and shown at once.
void schwindEndeErsterAbschnitt(const RunParameters& p, RunVariables& v, WindowPort& window);
void schwindEndeZweiterAbschnitt(const RunParameters& p, RunVariables& v, WindowPort& window);

// Surface shrinkage gradient of this step; a new maximum is kept and shown together with the
// surface–core shrinkage difference of that moment (SchwindDiffMax, in %). Nothing for a plate
// without shrinkage (linTrSchwind <= 0.001 %).
void schwindGradient(const RunParameters& p, RunVariables& v, WindowPort& window);

// Linear shrinkage in % reached at water load X, linear in X and not limited to linTrSchwind;
// 0 for a plate without shrinkage.
double linSchwindung(const RunParameters& p, double X);

// Shrinkage values of history record n: both nodes in the first period; in the second period
// the surface keeps the value of the record before.
void schwindVerlaufErsterAbschnitt(const RunParameters& p, const RunVariables& v, Histories& h,
                                   int n);
void schwindVerlaufZweiterAbschnitt(const RunParameters& p, const RunVariables& v, Histories& h,
                                    int n);

}  // namespace tesmo
