// tesmo-gegen-batch running an uncertainty study (--uq): the drawn cases as a study with its
// table, and the statistics (--uq-report); or the statistics of tables already computed
// (--uq-summary), e.g. the joined tables of a study's shards. It makes up the uncertainty
// module (batch/modules.h), which alone loads OpenTURNS; the drawn cases run as the runner's own
// study (`runCases`, the runner's runStudyCases), with its table, jobs, shards and signals.
#pragma once

#include <ostream>

#include "batch/arguments.h"
#include "batch/modules.h"

namespace tesmo {

int runUncertaintyCommand(const BatchOptions& options, StudyCasesFunction runCases,
                          std::ostream& out, std::ostream& err);

}  // namespace tesmo
