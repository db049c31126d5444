// One whole drying run, from the set-up to the end of the evaluation.
#pragma once

#include "model/inputs.h"
#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

// Set-up, shrinkage scale of the profile chart, first drying period, transition, second drying
// period and evaluation with the time-history chart, calling the window at its fixed
// moments. Expects texts that pruefeEingaben() accepted. Returns why the run ended (also kept
// in st.Laufende); a Stop skips everything after the poll that saw it.
RunEnd Trocknungslauf(RunState& st, const InputTexts& texts, WindowPort& window);

// The word that names how a run ended, in files and tables: target, midplane, stopped,
// history-full, non-finite, unstable ("none" before any run has ended).
const char* laufendeName(RunEnd end);

// A German message for the user that says why a run ended early and what to do, for the ends
// that are not regular ones (HistoryFull, NonFinite, Unstable); nullptr for the others.
const char* laufendeMeldung(RunEnd end);

}  // namespace tesmo
