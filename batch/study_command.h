// tesmo-gegen-batch running a study: the cases from --vary, --cases or --study, on every core,
// one table row per case.
#pragma once

#include <ostream>

#include "batch/arguments.h"
#include "study/case_list.h"

namespace tesmo {

int runStudyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmo
