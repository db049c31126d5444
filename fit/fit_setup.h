// What a fit is given: measured series, the inputs to fit with their bounds, and its settings;
// and the measured points it compares, in the order of the residual vector.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "files/fit_file.h"
#include "files/fit_series.h"
#include "files/measurement_file.h"
#include "model/inputs.h"

namespace tesmo {

struct FitSetup {
    std::vector<MeasuredSeries> series;
    std::vector<FitParameterEntry> parameters;  // start and bounds in the units typed
    int starts = 1;
    std::uint32_t seed = 1;
    int iterations = kDefaultIterations;
    // Measurement noise per quantity in its unit; NaN where it is estimated from the residuals.
    std::array<double, kMessgroessenCount> sigma = unsetSigma();

    static std::array<double, kMessgroessenCount> unsetSigma() {
        std::array<double, kMessgroessenCount> s;
        s.fill(std::numeric_limits<double>::quiet_NaN());
        return s;
    }
};

// The setup of a fit file whose series have been loaded (files/fit_series.h).
FitSetup fitSetupOf(const FitFile& file, std::vector<MeasuredSeries> series);

// A parameter is fitted on the logarithmic scale when its lower bound is above 0: the model's
// material values act multiplicatively (a conductivity twice as large, not 10 units larger), a
// step or an interval in the logarithm is a relative one, and no trial value can leave the
// positive range. Others (a slope that may be 0 or negative) are fitted on their own scale.
FitScale scaleOf(const FitParameterEntry& p);
// The fitted coordinate of a value, and back.
double toFitted(FitScale scale, double value);
double fromFitted(FitScale scale, double u);

// One measured value that the fit compares with the model.
struct MeasuredPoint {
    std::uint32_t series = 0;
    std::uint32_t record = 0;  // in the series' measurement
    Messgroesse groesse = Messgroesse::X;
    double zeit = 0;      // s
    double gemessen = 0;  // in the quantity's unit
};

// Every measured value of every series, series after series, record after record, quantity
// after quantity in kMessgroessen's order; empty cells are left out. `first[s]` is the index of
// series s's first point (first.size() = series + 1).
struct MeasuredPoints {
    std::vector<MeasuredPoint> points;
    std::vector<std::size_t> first;
    std::size_t size() const { return points.size(); }
};
MeasuredPoints measuredPoints(const std::vector<MeasuredSeries>& series);

// The texts of series `s` with the fitted inputs set to `values` (units typed), each written
// as the shortest text that reads back to every bit.
InputTexts trialTexts(const FitSetup& setup, std::size_t s, const std::vector<double>& values);

}  // namespace tesmo
