// tesmo-gegen-batch running an uncertainty study (--uq): the drawn cases as a study with its
// table, and the statistics (--uq-report); or the statistics of tables already computed
// (--uq-summary), e.g. the joined tables of a study's shards.
#pragma once

#include <ostream>

#include "batch/arguments.h"

namespace tesmo {

int runUncertaintyCommand(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace tesmo
