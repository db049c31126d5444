// tesmo-gegen-batch from its arguments to its exit status.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace tesmo {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitEndedEarly = 3;
inline constexpr int kExitUsage = 64;        // EX_USAGE
inline constexpr int kExitWriteFailed = 74;  // EX_IOERR: the CSV file or the standard output

// Presses Start once with the texts the arguments give and reports as the usage text says:
// the window's state on `out`, refusals, early-end reasons and usage errors on `err`.
int runBatch(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

}  // namespace tesmo
