#include "model/drying_run.h"

#include "model/evaluation.h"
#include "model/first_period.h"
#include "model/second_period.h"
#include "model/setup.h"

namespace tesmo {

RunEnd Trocknungslauf(RunState& st, const InputTexts& texts, WindowPort& window) {
    st.Laufende = RunEnd::None;
    Einrichtung(st, texts, window);
    window.draw(ChartDrawing::ProfileAxes);
    ersterAbschnittVorbereiten(st, window);
    if (ersterTrocknungsabschnitt(st, window)) {
        uebergang(st, window);
        zweiterTrocknungsabschnitt(st, window);
    }
    // Only a run that reached the target or the mid-plane is evaluated; a stopped or cut-off run
    // keeps what it showed.
    if (st.Laufende == RunEnd::Target || st.Laufende == RunEnd::Midplane) Auswertung(st, window);
    return st.Laufende;
}

const char* laufendeName(RunEnd end) {
    switch (end) {
        case RunEnd::Target:
            return "target";
        case RunEnd::Midplane:
            return "midplane";
        case RunEnd::Stopped:
            return "stopped";
        case RunEnd::HistoryFull:
            return "history-full";
        case RunEnd::NonFinite:
            return "non-finite";
        case RunEnd::Unstable:
            return "unstable";
        case RunEnd::None:
            break;
    }
    return "none";
}

const char* laufendeMeldung(RunEnd end) {
    switch (end) {
        case RunEnd::HistoryFull:
            return "Die Rechnung wurde abgebrochen: Sie bräuchte mehr als 500 000 gespeicherte "
                   "Zeitschritte. Bitte eine größere Zeitschrittweite wählen. Die Auswertung "
                   "entfällt.";
        case RunEnd::NonFinite:
            return "Die Rechnung wurde abgebrochen: Ein Zwischenergebnis ist keine endliche Zahl "
                   "mehr, die Eingaben lassen sich so nicht rechnen. Bitte die Eingaben prüfen, "
                   "z. B. eine kleinere Zeitschrittweite wählen. Die Auswertung entfällt.";
        case RunEnd::Unstable:
            return "Die Rechnung wurde abgebrochen: Sie ist instabil geworden – die Luft wäre "
                   "kälter als der absolute Nullpunkt oder hätte eine Wasserbeladung unter null, "
                   "oder die Platte nähme Wasser auf, statt zu trocknen. Bitte eine kleinere "
                   "Zeitschrittweite oder eine kleinere Ortsschrittweite wählen. Die Auswertung "
                   "entfällt.";
        case RunEnd::None:
        case RunEnd::Target:
        case RunEnd::Midplane:
        case RunEnd::Stopped:
            return nullptr;
    }
    return nullptr;
}

}  // namespace tesmo
