// The ten time histories of a run as a CSV file.
#pragma once

#include <cstdio>
#include <string>

#include "files/atomic_file.h"
#include "model/run_state.h"

namespace tesmo {

// Header row with the array names, then records 0..HistIndex, one per row, comma-separated,
// each number with 17 significant digits and '.' as decimal point (independent of the locale).
// Returns false when the file cannot be written completely. Written to a path, the file
// appears whole or not at all: a failed write leaves an earlier file as it was.
bool writeHistoriesCsv(std::FILE* out, const RunState& st);
bool writeHistoriesCsv(const std::string& path, const RunState& st,
                       WriteFailure* failure = nullptr);

}  // namespace tesmo
