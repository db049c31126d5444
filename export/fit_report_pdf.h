// The report of a fit to measurements as a PDF document.
#pragma once

#include <string>
#include <vector>

#include <QDateTime>
#include <QIODevice>

#include "fit/fit.h"
#include "fit/fitted_runs.h"

namespace tesmo::qt {

// What the report tells of a fit.
struct FitReportContent {
    FitSetup setup;
    FitResult result;
    std::vector<SeriesCurve> curves;     // per series, or empty: the charts without curves
    std::vector<std::string> caseNames;  // per series: the case file's name, or where it came from
    std::string fitFile;                 // the fit file's name; empty: not saved
    bool fromFile = false;               // the result was read from the fit file, not computed
};

// Writes the report in German onto `device`, A4 pages: the series, the fitted inputs with
// their standard errors, 95 % intervals and the sentences on those the measurements do not
// determine, the correlations, the residuals and the measurement noise, then for each measured
// quantity the measured points against the computed curves and the residuals over time, as
// vector drawings. `made` is the time the report names as its own. False if the document could
// not be made.
bool writeFitReportPdf(QIODevice& device, const FitReportContent& content, const QDateTime& made);

}  // namespace tesmo::qt
