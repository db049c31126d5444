// What a fit's result looks like beside the measurements: each series computed once with the
// fitted values, as a curve over the whole run and at the measured times; and the result of a
// fit read back from its file, where only the values and their covariance were kept.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "fit/fit.h"

namespace tesmo {

// The model's values of one series over its run, at the times of its history records (at most
// kMaxCurvePoints of them, spread evenly), its end, and on to its last measured time when the
// measurements go on after the end (the plate stays in its end state). Between the points the
// values are interpolated exactly as the fit compares them (fit/sampling.h).
struct SeriesCurve {
    std::vector<double> zeit;  // s
    // Per quantity, one value per time; empty for the mass of a series without a dry mass.
    std::array<std::vector<double>, kMessgroessenCount> werte;
    double laufzeit = 0;  // s: where the run ended
};
inline constexpr std::size_t kMaxCurvePoints = 1500;

struct FittedRuns {
    bool ok = false;
    std::string message;                // German, naming the series, when not ok
    std::vector<SeriesCurve> curves;    // per series
    std::vector<double> simulated;      // at the measured points (measuredPoints' order)
    std::vector<std::size_t> afterEnd;  // per series: points after the run's end
};

// Runs every series once with the fitted inputs at `values` (units typed), `jobs` at a time;
// `cancel` stops them at their next time step (the result is then not ok).
FittedRuns runAtValues(const FitSetup& setup, const std::vector<double>& values, unsigned jobs,
                       std::atomic<bool>& cancel);

// The values a result holds for the setup's parameters, in their order.
std::vector<double> fittedValues(const FitResult& result);

// The result a fit file keeps (its ergebnis and kovarianz lines) for the setup it was read
// with: the values, standard errors, 95 % intervals, correlations and marks of parameters the
// measurements do not determine, as the fit computed them. The intervals use the t distribution
// when a measured quantity's noise is not given in the file, as the fit does. What the file does
// not keep (cost, iterations, model runs, time, the starts) stays empty or 0; without covariance
// lines the standard errors, intervals and correlations are NaN and every parameter counts as
// determined (nothing says otherwise). False, with a German `problem`, when the outcome's inputs
// are not exactly the setup's fitted ones or a scale differs from the one the bounds give.
bool resultOfOutcome(const FitSetup& setup, const FitOutcome& outcome, FitResult& result,
                     std::string& problem);

}  // namespace tesmo
