// Where the window's run stands, in the one word a status line shows for it.
#pragma once

#include <cstdint>

namespace tesmo {

class RunControl;

enum class RunPhase : std::uint8_t {
    Bereit,      // no run since the window opened or since "Nochmal !" (or Start was refused)
    Laeuft,      // a run is computing
    Angehalten,  // a run waits in its pause for Weiter
    Beendet,     // a run has ended (finished, stopped or cut short); its results are shown
};

RunPhase runPhase(const RunControl& control);

// "bereit", "läuft", "angehalten", "beendet".
const char* runPhaseWord(RunPhase phase);

}  // namespace tesmo
