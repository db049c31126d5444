// How sure a fit is: standard errors, 95 % intervals and correlations from the covariance at the
// optimum, and the parameters the measurements do not determine, with a German sentence for
// each that says what it trades off against and which measurement would help.
#pragma once

#include <vector>

#include "fit/fit.h"

namespace tesmo {

// A parameter counts as not determined by the measurements beyond these.
inline constexpr double kMaxRelativeError = 0.5;
inline constexpr double kMaxCorrelation = 0.95;

// The p-quantile of Student's t distribution with `dof` degrees of freedom (the normal
// distribution's for an infinite number).
double studentQuantile(double p, double dof);

// Fills the result's parameters (values, standard errors, intervals, marks and notes) and its
// correlation matrix from the fitted coordinates u and their covariance (fit/least_squares.h).
// `dof` is that of the noise estimate (infinite when every noise was given).
void describeUncertainty(const FitSetup& setup, const std::vector<double>& u,
                         const std::vector<double>& covariance, double dof, FitResult& result);

}  // namespace tesmo
