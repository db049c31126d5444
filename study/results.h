// What a study keeps of each case, and the columns of its result table.
//
// One table lists the results: the run-state name that heads the column, how the value is
// taken from the finished run, when a case has reached it, and how the window shows it (the
// output field whose caption and format a table in the window uses). Times are in seconds and
// every value in the units of the run state; the window's display converts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "display/number_format.h"
#include "files/table_format.h"
#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo {

class HeadlessWindow;

// When a result is there to be shown.
enum class Reached : std::uint8_t {
    Started,       // once the run has started (set-up values, time, last air state, …)
    FieldWritten,  // once the run has written the output field that shows it
    Evaluated,     // after the evaluation of a finished run
};

// How the window shows a result: through an output field's pattern (times as h:mm:ss), scaled
// from the run state's unit to the field's; or as a plain whole number.
enum class Shown : std::uint8_t { Number, Time, Count, Flag };

struct ResultColumn {
    const char* name;  // column header: the run-state name
    double (*value)(const RunState&);
    Reached reached;
    Control field;  // the output field that shows it (Control::Count: none)
    Shown shown;
    Pattern pattern;      // Shown::Number
    double scale;         // run-state unit to the field's unit
    const char* caption;  // for a column without a field: a German caption with unit
};

inline constexpr std::size_t kResultCount = 21;
const std::array<ResultColumn, kResultCount>& resultColumns();

// Everything the table says about one case.
struct CaseOutcome {
    std::size_t number = 0;     // 1-based in the whole study
    bool refused = true;        // the input check refused the texts; no run started
    RunEnd end = RunEnd::None;  // how the run ended, when it started
    std::string message;        // refusal or early-end message, German; empty for finished cases
    std::array<double, kInputCount> inputs{};  // the numbers read from the texts
    std::array<bool, kInputCount> inputRead{};
    std::array<double, kResultCount> results{};
    std::array<bool, kResultCount> reached{};
};

// The word in the table's `end` column: "refused" or how the run ended (target, midplane, …).
const char* caseEndName(const CaseOutcome& outcome);
// Whether the case ended as a run is meant to (target water load or front at the mid-plane).
bool finished(const CaseOutcome& outcome);

// The outcome of a case from the window and run state its run left behind.
CaseOutcome outcomeOf(std::size_t number, const InputTexts& texts, const HeadlessWindow& window,
                      bool refused);

// The table: RFC 4180 in the format chosen (files/table_format.h: ',' and '.' by default, or
// ';' and the decimal comma for a German spreadsheet, the header then after a byte-order mark),
// numbers in the shortest form that reads back to the same double, whole numbers without
// decimals, empty cells for what a case did not reach.
std::string tableHeader(TableFormat format = TableFormat::Csv);
// The table's column names, left to right.
std::vector<std::string> tableColumnNames();
// The columns of the table that are not inputs (case, end, message and the results): a result
// table read as a case table passes them over, so that it gives the study's cases again.
std::vector<std::string_view> nonInputColumns();
std::string tableRow(const CaseOutcome& outcome, TableFormat format = TableFormat::Csv);

}  // namespace tesmo
