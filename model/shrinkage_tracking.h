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
void schwindEndeErsterAbschnitt(RunState& st, WindowPort& window);
void schwindEndeZweiterAbschnitt(RunState& st, WindowPort& window);

// Surface shrinkage gradient of this step; a new maximum is shown together with the
// surface–core shrinkage difference of that moment.
void schwindGradient(RunState& st, WindowPort& window);

// Linear shrinkage in % reached at water load X, linear in X and not limited to linTrSchwind;
// 0 for a plate without shrinkage.
double linSchwindung(const RunState& st, double X);

// Shrinkage values of history record n: both nodes in the first period; in the second period
// the surface keeps the value of the record before.
void schwindVerlaufErsterAbschnitt(RunState& st, int n);
void schwindVerlaufZweiterAbschnitt(RunState& st, int n);

}  // namespace tesmo
