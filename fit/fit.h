// Fitting model inputs to measured drying curves: weighted nonlinear least squares with bounds,
// several starting points, and how sure the result is.
//
// The fit looks for the values of the chosen inputs (material values such as the moisture
// conductivity) with which the model reproduces every measured point of every series best:
// it minimises the sum over all points of ((simulated − measured) / sigma)², sigma being the
// measurement noise of the point's quantity. Levenberg–Marquardt (Ceres Solver) moves inside
// the bounds, positive inputs on a logarithmic scale (fit/fit_setup.h). The derivatives come
// from central differences whose runs execute side by side on every core (fit/least_squares.h
// says how the step is chosen). Several starting points (the given start and a seeded Latin
// hypercube inside the bounds) run in parallel and the best fit wins. Where no noise is given,
// it is estimated from the residuals of the fit and the fit repeated with it until the
// estimate settles. Standard errors, 95 % intervals and correlations come from the covariance
// at the optimum (Ceres' covariance estimation, which copes with directions the data do not
// determine). A parameter whose relative standard error exceeds 50 % or whose correlation with
// another exceeds 0.95 in magnitude is not determined by the measurements; a German sentence
// says which parameter it trades off against and which measurement would help.
//
// A trial parameter set whose run the input check refuses or that ends early (unstable, not a
// number) is a rejected step; only when the start itself cannot be computed does a fit fail.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "files/fit_file.h"
#include "fit/fit_setup.h"

namespace tesmo {

enum class FitEnd : std::uint8_t {
    Converged,      // the optimiser's tolerances were met
    MaxIterations,  // the best start stopped at its iteration limit
    Failed,         // no start gave a result (the model could not be computed at any start)
    Cancelled,      // the cancel flag was raised
};
// "converged", "max-iterations", "failed", "cancelled": the runner's words.
const char* fitEndName(FitEnd end);

// One fitted input.
struct ParameterEstimate {
    Control field = Control::txt_Feuchteleit;
    FitScale scale = FitScale::Linear;
    double value = 0;  // in the units typed
    // Standard error in the units typed (for the logarithmic scale the value times the
    // standard error of its logarithm); infinite when the measurements do not depend on it.
    double standardError = 0;
    double low = 0, high = 0;  // the 95 % confidence interval (asymmetric on the log scale)
    double relativeError = 0;  // standardError / |value| (on the log scale: that of the log)
    bool determined = false;
    std::string note;  // German, for a parameter that is not determined; else empty
};

// The residuals of one quantity in one series, in the quantity's unit.
struct ResidualSummary {
    std::size_t series = 0;
    Messgroesse groesse = Messgroesse::X;
    std::size_t count = 0;
    double rms = 0;  // root mean square of simulated − measured
};

// One measured point with the model's value at the fitted parameters.
struct ComparisonRow {
    std::size_t series = 0;
    double zeit = 0;  // s
    Messgroesse groesse = Messgroesse::X;
    double gemessen = 0, simuliert = 0;
    double residual = 0;  // simuliert − gemessen, in the quantity's unit
};

// How one starting point ended.
struct StartSummary {
    std::vector<double> start;   // units typed
    std::vector<double> values;  // where it ended
    double cost = 0;             // the weighted sum of squares there
    int iterations = 0;
    FitEnd end = FitEnd::Failed;
};

struct FitResult {
    FitEnd end = FitEnd::Failed;
    std::string message;  // German: why it failed, or notes (points after a run's end)
    std::vector<ParameterEstimate> parameters;
    // The covariance of the fitted coordinates (the logarithm on the log scale), row after row;
    // infinite variance (and 0 covariances) for a parameter the measurements do not determine.
    std::vector<double> covariance;
    std::vector<double> correlation;  // same layout; NaN beside a parameter of infinite variance
    std::vector<ResidualSummary> residuals;
    std::vector<ComparisonRow> comparison;
    // The noise each quantity was weighted with and whether it was estimated from residuals.
    std::array<double, kMessgroessenCount> sigma{};
    std::array<bool, kMessgroessenCount> sigmaEstimated{};
    double cost = 0;              // sum over all points of ((simulated − measured) / sigma)²
    std::size_t points = 0;       // measured values compared
    double degreesOfFreedom = 0;  // of the t distribution behind the intervals (inf: normal)
    std::vector<std::size_t> afterEnd;  // per series: points measured after the run's end
    std::vector<StartSummary> starts;
    std::size_t bestStart = 0;
    int iterations = 0;  // of the best start
    std::size_t modelRuns = 0;
    double seconds = 0;

    double correlationOf(std::size_t i, std::size_t j) const {
        return correlation[i * parameters.size() + j];
    }
    // The fitted values, their scales and the covariance, as a fit file keeps them.
    FitOutcome outcome() const;
};

// Reported during a fit, from its threads but one call at a time.
struct FitProgress {
    std::size_t start = 0, starts = 1;  // the start that reports (from 1) of all
    int iteration = 0;                  // of that start
    double cost = 0;                    // that start's weighted sum of squares
    double bestCost = 0;                // the lowest of all starts so far
    std::size_t runs = 0;               // model runs so far, all starts together
    double seconds = 0;                 // since the fit began
};

struct FitControl {
    unsigned jobs = 0;  // model runs at a time; 0: every core
    std::function<void(const FitProgress&)> progress;
    // Raised from another thread (a window's Abbrechen, Ctrl+C): the fit stops within about one
    // model run and ends Cancelled.
    std::atomic<bool>* cancel = nullptr;
};

// Runs the fit. The setup's series must have passed checkSeries; its parameters need bounds
// that enclose their starts.
FitResult runFit(const FitSetup& setup, const FitControl& control = {});

// Fills the result's comparison (one row per measured point), its residuals per series and
// quantity, its afterEnd and the message that names the points compared with a run's end state,
// from the model's values at the points (`simulated`, in the order of `points`).
void compareWithMeasurements(const FitSetup& setup, const MeasuredPoints& points,
                             const std::vector<double>& simulated,
                             const std::vector<std::size_t>& afterEnd, FitResult& result);

// The texts of the first series' case with the fitted values put in (each as the shortest text
// that reads back to every bit): the case to compute on with, as the runner's --fit-case saves it.
InputTexts fittedCase(const FitSetup& setup, const FitResult& result);

}  // namespace tesmo
