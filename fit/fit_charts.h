// The charts of a fit: for each measured quantity the measured points of every series against
// the curve the model computes with the fitted values, and below it the residuals over time.
//
// Each series keeps one colour and one marker in every chart (its measured points as markers,
// its computed curve as a line of the same colour), so a series reads the same in all of them.
// The water load shows every series that measures it or its mass: a mass m over the dry mass
// m_tr is the water load m/m_tr − 1, and its residual in kg/kg that in g divided by m_tr.
#pragma once

#include <string>
#include <vector>

#include "fit/fit.h"
#include "fit/fitted_runs.h"
#include "plot/plot_spec.h"

namespace tesmo {

// The quantities the charts show, in kMessgroessen's order: the water load when any series
// measures it or a mass, and each other quantity some series measures.
std::vector<Messgroesse> chartQuantities(const FitSetup& setup);

// What the chart of a quantity is called (its title word) and its files' stem:
// "Wasserbeladung", "wasserbeladung".
std::string chartName(Messgroesse g);
std::string chartStem(Messgroesse g);

// Measured against computed over time in h. `curves` (one per series) may be empty: the
// measured points alone, before the model has been run with the fitted values.
PlotSpec comparisonChart(const FitSetup& setup, const std::vector<SeriesCurve>& curves,
                         Messgroesse g);

// The residuals (computed − measured) of the result's comparison over time in h, with a line at
// zero.
PlotSpec residualChart(const FitSetup& setup, const FitResult& result, Messgroesse g);

}  // namespace tesmo
