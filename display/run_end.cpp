#include "display/run_end.h"

#include "model/drying_run.h"

namespace tesmo {

namespace {

// Every end in a short word (tables) and, where no early-end message says more, a sentence.
struct EndWords {
    RunEnd end;
    const char* word;
    const char* sentence;  // nullptr: laufendeMeldung() says why the run was cut short
};

constexpr EndWords kEnds[] = {
    {RunEnd::Target, "Ziel erreicht", "Die Endwasserbeladung ist erreicht."},
    {RunEnd::Midplane, "Mittelebene erreicht",
     "Der Trocknungsspiegel hat die Plattenmitte erreicht."},
    {RunEnd::Stopped, "gestoppt", "Der Lauf wurde abgebrochen."},
    {RunEnd::HistoryFull, "Speicher voll", nullptr},
    {RunEnd::NonFinite, "keine endliche Zahl", nullptr},
    {RunEnd::Unstable, "instabil", nullptr},
};

const EndWords* find(RunEnd end) {
    for (const EndWords& e : kEnds)
        if (e.end == end) return &e;
    return nullptr;
}

}  // namespace

const char* runEndText(RunEnd end) {
    if (const char* early = laufendeMeldung(end)) return early;
    const EndWords* e = find(end);
    return e && e->sentence ? e->sentence : "Der Lauf ist nicht zu Ende gerechnet.";
}

const char* runEndWord(RunEnd end) {
    const EndWords* e = find(end);
    return e ? e->word : "–";
}

}  // namespace tesmo
