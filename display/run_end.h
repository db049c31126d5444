// How a run ended, in German words for the user (the runner's messages and the report).
#pragma once

#include "model/run_state.h"

namespace tesmo {

// One sentence for every end: the regular ends, "abgebrochen" for Stop, and for an end that
// cut the run short the message that says why and what to do.
const char* runEndText(RunEnd end);
// The same in a few words, for a table cell: "Ziel erreicht", "instabil", …
const char* runEndWord(RunEnd end);

}  // namespace tesmo
