// tesmo-gegen-batch running a study: the cases from --vary, --cases or --study, on every core,
// one table row per case.
#pragma once

#include <ostream>

#include "batch/arguments.h"

namespace tesmo {

// A study of more cases than this needs --yes: a typing error in a range should not start a
// study that runs for a day.
inline constexpr std::size_t kCasesWithoutYes = 100000;

int runStudyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmo
