// The evaluation at the end of a run that reached its end (target water load or front at the
// mid-plane): corrected and smoothed histories, energy demand, convergence warning, the
// time-history chart and the water-balance error.
#pragma once

#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

void Auswertung(RunState& st, WindowPort& window);

// The parts, in their order.
// XEnde; X1TA and the mean and core water-load histories re-mapped so that the run ends at
// XZiel while XAnf stays.
void wasserbeladungenAbbilden(const RunParameters& p, RunVariables& v, Histories& h);
// Records 10 to HistIndex: temperatures and rate smoothed with the weight mGlaett, the −100
// markers of long searches replaced by their predecessor, RateMax from the smoothed rates.
void verlaeufeGlaetten(RunVariables& v, Histories& h);
// spezEnergie (kJ per kg of water) and relEnergie (relative to the enthalpy of evaporation at
// 0 °C).
void energiebedarf(const RunParameters& p, RunVariables& v);
// Water-balance error in % of the water to be removed.
void wasserfehler(const RunParameters& p, RunVariables& v);

// A history record as the run computed it, before the evaluation re-mapped or smoothed it for
// the chart (equal up to rounding). Comparisons with measurements use these: the re-mapping
// shifts the curve by the last step's overshoot, which jumps from one parameter set to the next,
// and the smoothing delays the surface temperature by about 5 % of the first period.
// The mean water load of record j (any j; XEnde must have been set by the evaluation).
double beladungVorAbbildung(const RunParameters& p, const RunVariables& v, double abgebildet);
// Record j of a history that verlaeufeGlaetten smoothed (temperatures, rate).
double vorGlaettung(const RunVariables& v, const HistoryArray& geglaettet, int j);

}  // namespace tesmo
