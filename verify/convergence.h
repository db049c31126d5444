// Observed order of convergence and Richardson extrapolation for results at step sizes that
// shrink by a constant ratio.
#pragma once

namespace tesmo {

// The order p with error ~ h^p from the errors at step h·ratio (coarse) and h (fine). Not a
// number when either error is zero or not finite.
double observedOrder(double errorCoarse, double errorFine, double ratio);

// What three results at steps h·ratio², h·ratio and h say about the converged value, without
// knowing it: the order from the ratio of the two differences and the extrapolated value
// fine + (fine − medium)/(ratio^p − 1).
struct RichardsonEstimate {
    bool monotone = false;  // both differences have the same sign and the second is smaller
    double order = 0;       // observed order (not a number when not monotone)
    double value = 0;       // extrapolated value (not a number when not monotone)
};
RichardsonEstimate richardson(double coarse, double medium, double fine, double ratio);

}  // namespace tesmo
