// The report of an uncertainty study in German, as Markdown: plain text that reads well in a
// terminal or an editor and shows its tables as tables wherever Markdown is rendered (the
// manual is Markdown too). Numbers carry the decimal comma and four significant digits, every
// interval its 95 % confidence level; values are in the units of the study table.
#pragma once

#include <string>

#include "uq/analysis.h"

namespace tesmo {

// The unit of a result column in the study table, e.g. "s" for Laufzeit, "1/m" for
// SchwindGradMax; empty for a ratio or a count.
const char* tableUnit(std::size_t column);

std::string uncertaintyReport(const UncertaintyPlan& plan, const UncertaintyAnalysis& analysis);

}  // namespace tesmo
