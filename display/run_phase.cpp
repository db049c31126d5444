#include "display/run_phase.h"

#include "display/run_control.h"

namespace tesmo {

RunPhase runPhase(const RunControl& control) {
    if (control.running()) return control.paused() ? RunPhase::Angehalten : RunPhase::Laeuft;
    return control.resultsShown() ? RunPhase::Beendet : RunPhase::Bereit;
}

const char* runPhaseWord(RunPhase phase) {
    switch (phase) {
        case RunPhase::Bereit:
            return "bereit";
        case RunPhase::Laeuft:
            return "läuft";
        case RunPhase::Angehalten:
            return "angehalten";
        case RunPhase::Beendet:
            return "beendet";
    }
    return "";
}

}  // namespace tesmo
