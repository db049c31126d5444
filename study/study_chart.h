// The study window's chart: one result against the first varied input, one curve per value of
// the second (legend "Dicke = 20,0 mm"), from the cases computed so far. Cases that did not
// finish, or finished without the value, are left out and counted in the note below the chart.
#pragma once

#include <cstddef>
#include <vector>

#include "plot/plot_spec.h"
#include "study/results.h"
#include "study/variation.h"

namespace tesmo {

// `outcomes`: cases of the study made of `variations` (one or two), any subset in any order.
// `column`: index into resultColumns().
PlotSpec studyChart(const std::vector<Variation>& variations,
                    const std::vector<CaseOutcome>& outcomes, std::size_t column);

// The legend text of a curve: the field's short name (its control name without "txt_"), the
// text and the unit of its caption: "Dicke = 20,0 mm".
std::string curveLabel(Control field, const std::string& text);

}  // namespace tesmo
