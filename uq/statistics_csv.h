// The statistics of an uncertainty study as one table for programs and spreadsheets, one row
// per number, in the units of the study table (the tidy form: a spreadsheet's pivot table or
// pandas regroups it as wanted). Columns:
//
//   result     the result column's name, e.g. Laufzeit
//   unit       its unit in the study table, e.g. s (empty for a ratio or a count)
//   statistic  mean, sd, q05, q50, q95; probability (beyond a limit); first, total (Sobol'
//              indices)
//   input      of an index: the input, or a group of correlated ones ("txt_a + txt_b")
//   limit      of a probability: "> 5.5" or "< 20000"
//   value      the estimate; low, high its 95 % confidence interval (empty where none)
//   cases      the number of cases it rests on
//
// In either table format of the runner (files/table_format.h): every number the shortest text
// that reads back to it.
#pragma once

#include <string>

#include "files/table_format.h"
#include "uq/analysis.h"

namespace tesmo {

std::string statisticsCsv(const UncertaintyAnalysis& a, TableFormat format = TableFormat::Csv);

}  // namespace tesmo
