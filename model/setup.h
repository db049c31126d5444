// The set-up of a run: the seventeen texts become the run's constants.
#pragma once

#include "model/inputs.h"
#include "model/run_state.h"
#include "model/window_port.h"

namespace tesmo {

// Steps 1 to 32 of the set-up, in their order: reads the texts through TextZuZahl, derives the
// air states, the air demand, the shrinkage geometry and the grid, shows the six set-up values
// and Image7. Expects texts that pruefeEingaben() accepted (it rounds nOrt to the whole number
// that the check found).
void Einrichtung(RunState& st, const InputTexts& texts, WindowPort& window);

}  // namespace tesmo
