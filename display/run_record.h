// A run as the numeric diagrams draw it, kept apart from the run state so that later runs do
// not overwrite it: the time of every record, the ten histories as the files hold them, the
// air's path, the drawn profiles and the few set-up values the diagrams need. Made from a run
// that has ended (finished, stopped or cut short) or from a history table read from a file.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "display/run_capture.h"
#include "files/history_csv.h"
#include "model/inputs.h"
#include "model/run_state.h"

namespace tesmo {

// The histories by their place in kHistoryColumns.
enum HistoryIndex : std::size_t {
    kXmom,
    kXOb,
    kXK,
    kSpiegel,
    kThetaLuft,
    kThetaOb,
    kThetaK,
    kRate,
    kSchwindOb,
    kSchwindK,
};
static_assert(std::string_view(kHistoryColumns[kSchwindK].name) == "VerlaufSchwindK" &&
              std::string_view(kHistoryColumns[kRate].name) == "VerlaufRate" &&
              std::string_view(kHistoryColumns[kXmom].name) == "VerlaufXmom");

// A run keeps at most this many records; a longer one keeps every n-th (and its last), which is
// still far more than a diagram can show.
inline constexpr std::size_t kMaxKeptRecords = 50000;

inline constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

struct RunRecord {
    std::string source;         // the file it was read from; empty for a run of this session
    bool hasInputs = true;      // false: a file without its input texts ("ohne Eingaben")
    InputTexts inputs;          // the texts the run started from (defaults where not known)
    RunEnd end = RunEnd::None;  // None for a file

    // Per record, in the order stored: the time in s (empty when not known: a file without
    // its time step) and the ten histories as the files hold them, shrinkage capped at the
    // linear drying shrinkage. Record 0 of the surface and core water load, which the model
    // does not store, is the initial water load.
    std::vector<double> time;
    std::array<std::vector<double>, kHistoryColumns.size()> histories;
    // The air's water load in kg/kg at each record, smoothed as the temperature histories are
    // (so that the pair describes one state of the air); empty when not known (a file).
    std::vector<double> airX;

    // What the set-up derived; NaN where not known (a file without inputs).
    double XAnf = kUnknown;          // kg/kg
    double XSchwEnde = kUnknown;     // kg/kg
    double linTrSchwind = kUnknown;  // %
    double Ortsschritt = kUnknown;   // m, node spacing across the dry half thickness
    double t1TA = kUnknown;          // s, end of the first drying period (when it ended)
    // The air: outside air, exhaust air (where the plate enters), supply air (where it leaves,
    // only for a run that ended regularly), each as temperature (°C) and water load (kg/kg).
    double thetaAussen = kUnknown, XAussen = kUnknown;
    double thetaAbluft = kUnknown, XAbluft = kUnknown;
    double thetaZuluft = kUnknown, XZuluft = kUnknown;

    // The profiles the run drew, in time order (none for a file).
    std::vector<StoredProfile> profiles;

    std::size_t records() const { return histories[0].size(); }
    bool timeKnown() const { return !time.empty(); }
};

// The run the state holds after it has ended. `capture` (may be null) gives the record times
// and profiles; without it the times are worked out from the time step.
RunRecord recordOfRun(const RunState& st, const RunCapture* capture, const InputTexts& texts);

// A history table read from a file (`source`: its name as shown).
RunRecord recordOfTable(const HistoryTable& table, std::string source);

// The times of records 0..count-1 of a run with time step deltaT, from its surface water-load
// history: one record per step, except that the step in which the surface dries out stores
// none, so from the first record of the second period on (the first with a surface water load
// of exactly 0) each record is one step later.
std::vector<double> recordTimesFromSteps(double deltaT, const std::vector<double>& surfaceX);

}  // namespace tesmo
