// The model's values at measured times, from the state a finished run left behind.
//
// Between two history records the values are interpolated linearly in time; the first record
// is the start state at t = 0 (measured times cannot lie before it). After the last record the
// run still took one step to its end (the target water load or the front at the mid-plane):
// up to the run's Laufzeit the values go linearly towards the end state, and a measurement
// after the end is compared with the end state itself, as the plate that reached its end
// stays there. The records are taken as the run computed them, before the evaluation
// re-mapped the water loads onto the target and smoothed the temperatures for the chart
// (model/evaluation.h says why).
#pragma once

#include <cstddef>

#include "fit/fit_setup.h"
#include "model/run_state.h"

namespace tesmo {

// Fills out[i] with the model's value for points[i] of one series (in the quantity's unit) and
// returns how many of the points lie after the run's end. The points must be in time order.
std::size_t simulatedValues(const MeasuredSeries& series, const MeasuredPoint* points,
                            std::size_t count, const RunState& st, const HistoryArray& times,
                            double* out);

// The linear shrinkage in % of a sample whose mean water load is X: the plate shrinks with the
// water it loses until its water load reaches XSchwEnde, then keeps its size.
double probenSchwindung(const RunParameters& p, double X);

}  // namespace tesmo
