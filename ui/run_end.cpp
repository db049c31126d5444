#include "ui/run_end.h"

#include "model/drying_run.h"

namespace tesmo {

namespace {

struct EndText {
    RunEnd end;
    const char* text;
};

// The ends that are not cut short; those that are say why in laufendeMeldung().
constexpr EndText kRegularEnds[] = {
    {RunEnd::Target, "Die Endwasserbeladung ist erreicht."},
    {RunEnd::Midplane, "Der Trocknungsspiegel hat die Plattenmitte erreicht."},
    {RunEnd::Stopped, "Der Lauf wurde abgebrochen."},
};

}  // namespace

const char* runEndText(RunEnd end) {
    if (const char* early = laufendeMeldung(end)) return early;
    for (const EndText& e : kRegularEnds)
        if (e.end == end) return e.text;
    return "Der Lauf ist nicht zu Ende gerechnet.";
}

}  // namespace tesmo
