// tesmo-gegen-batch from its arguments to its exit status.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace tesmo {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitRefused = 2;  // refused input, an unreadable file, a malformed study
inline constexpr int kExitEndedEarly = 3;
inline constexpr int kExitUsage = 64;        // EX_USAGE
inline constexpr int kExitWriteFailed = 74;  // EX_IOERR: a file or the standard output
inline constexpr int kExitSignalBase = 128;  // a study ended by signal N exits with 128 + N

// Runs what the arguments ask for as the usage text says: one press of Start (the window's
// state on `out`), a study (its table on `out` or in a file), or a case file saved; refusals,
// early-end reasons and usage errors on `err`.
int runBatch(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err);

}  // namespace tesmo
