#include "ui/run_end.h"

#include "model/drying_run.h"

namespace tesmo {

const char* runEndText(RunEnd end) {
    if (const char* early = laufendeMeldung(end)) return early;
    switch (end) {
        case RunEnd::Target:
            return "Die Endwasserbeladung ist erreicht.";
        case RunEnd::Midplane:
            return "Der Trocknungsspiegel hat die Plattenmitte erreicht.";
        case RunEnd::Stopped:
            return "Der Lauf wurde abgebrochen.";
        default:
            return "Der Lauf ist nicht zu Ende gerechnet.";
    }
}

}  // namespace tesmo
