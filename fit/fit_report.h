// A fit's result as text: the runner's lines and the table of measured against simulated
// values.
#pragma once

#include <string>

#include "fit/fit.h"

namespace tesmo {

// One line per fitted input, NAME<TAB>value<TAB>standard error<TAB>low<TAB>high<TAB>determined
// or undetermined (the 95 % interval from low to high, numbers in the units typed); then
//   note<TAB>NAME<TAB>sentence        for each input that is not determined (German)
//   correlation<TAB>NAME<TAB>NAME<TAB>value    for each pair
//   rms<TAB>SERIES<TAB>QUANTITY<TAB>value<TAB>points    per series and measured quantity
//   sigma<TAB>QUANTITY<TAB>value<TAB>estimated|given    the noise each quantity was weighted with
//   cost<TAB>value, points<TAB>n, runs<TAB>n, seconds<TAB>s, starts<TAB>n, best-start<TAB>k
//   end<TAB>converged|max-iterations|failed|cancelled
// Numbers as in the study table: '.' and 17 significant digits, "inf" where a standard error
// is infinite.
std::string fitReportText(const FitSetup& setup, const FitResult& result);

// RFC 4180 CSV, ',' and '.': a header series,time,quantity,measured,simulated,residual and one
// row per measured value (time in s, values in the quantity's unit).
std::string fitTableText(const FitSetup& setup, const FitResult& result);

// "Start 2 von 4, Iteration 3, Kosten 205,68, 84 Modellläufe, Zeit 0:00:02": a fit's progress
// as the runner and the Python package show it.
std::string fitProgressText(const FitProgress& progress);

}  // namespace tesmo
