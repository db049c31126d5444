// Reading a study's result table (study/results.h, as the runner writes it) back into the
// outcomes of its cases, e.g. to analyse the joined tables of a study's shards afterwards.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_problem.h"
#include "study/results.h"

namespace tesmo {

// A result table holds about 600 bytes a case: this reads a study of a million cases.
inline constexpr std::size_t kMaxResultTableBytes = std::size_t{1} << 30;

// Appends the table's cases to `out` in the table's order. Refuses, naming the file, the line
// and the column, a table whose header is not the runner's, a row of another length, a cell
// that is not what its column holds, and an end word the runner does not write; on a refusal
// `out` is left as it was.
bool parseResultTable(std::string_view content, const std::string& displayName,
                      std::vector<CaseOutcome>& out, FileProblem& problem);
bool readResultTable(const std::string& path, std::vector<CaseOutcome>& out, FileProblem& problem);

}  // namespace tesmo
