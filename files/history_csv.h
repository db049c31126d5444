// The ten time histories of a run as a table: what the runner's --csv and the window's
// "Verläufe als CSV…" write, and what the diagram window opens as a run.
//
//   # txt_Dicke = 20,0             the seventeen input texts the run started from, as the
//   # txt_rhos = 1850              lines of a case file behind '#' (tables readers skip them)
//   …
//   VerlaufXmom,VerlaufXOb,…       the header: the histories' names in their fixed order
//   0.25,0,0,0,35,30.037307739257812,…
//                                  one row per record 0..HistIndex
//
// Numbers take the shortest form that reads back to the same double, in either table format
// (files/table_format.h). The shrinkage columns hold the plate's physical shrinkage: the
// records grow on linearly below XSchwEnde, the file stops them at the linear drying shrinkage
// (model/shrinkage.h). Files of earlier versions, without the input lines, with 17 significant
// digits and uncapped shrinkage, are read as well.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "files/atomic_file.h"
#include "files/file_problem.h"
#include "files/table_format.h"
#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo {

// Returns false when the table cannot be written completely. Written to a path, the file
// appears whole or not at all: a failed write leaves an earlier file as it was.
bool writeHistoriesCsv(std::FILE* out, const RunState& st, const InputTexts& texts,
                       TableFormat format = TableFormat::Csv);
bool writeHistoriesCsv(const std::string& path, const RunState& st, const InputTexts& texts,
                       TableFormat format = TableFormat::Csv, WriteFailure* failure = nullptr);

// The value of history `column` (index into kHistoryColumns) at `record` as the table holds it.
double exportedHistoryValue(const RunState& st, std::size_t column, std::size_t record);

// A history table as read from a file.
struct HistoryTable {
    bool hasInputs = false;  // the file named at least one input text
    InputTexts inputs;       // its texts; an input it does not name keeps its default text
    TableFormat format = TableFormat::Csv;
    std::array<std::vector<double>, kHistoryColumns.size()> columns;  // records 0, 1, …
    std::size_t records() const { return columns[0].size(); }
};

// A history table is at most this large: every record a run can store, each number in its
// longest form.
inline constexpr std::size_t kMaxHistoryTableBytes = 256 * 1024 * 1024;

// Reads a history table's content (in either format). Leading '#' lines that name an input as
// NAME = TEXT give its text; other comment lines are skipped. Refused, with the line and the
// reason in `problem`: a header that is not the ten histories' names, a row without ten cells,
// a cell that is not a number, a blank line between rows, more rows than a run can store.
bool parseHistoryTable(std::string_view content, const std::string& displayName, HistoryTable& out,
                       FileProblem& problem);
bool readHistoryTable(const std::string& path, HistoryTable& out, FileProblem& problem);

}  // namespace tesmo
