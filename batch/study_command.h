// tesmo-gegen-batch running a study: the cases from --vary, --cases or --study, on every core,
// one table row per case.
#pragma once

#include <functional>
#include <ostream>

#include "batch/arguments.h"
#include "study/case_list.h"
#include "study/results.h"

namespace tesmo {

int runStudyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err);

// Runs `cases` (the shard of them that --shard asks for) as a study with the options' jobs,
// table and progress, and returns the study's exit status. `keep` (may be empty) sees every
// outcome the table gets, in case order.
int runStudyCases(const CaseList& cases, const BatchOptions& options, std::ostream& out,
                  std::ostream& err, const std::function<void(const CaseOutcome&)>& keep);

}  // namespace tesmo
