#include "model/inputs.h"

#include <cstddef>

namespace tesmo {

namespace {

struct Eingabefeld {
    const char* vorgabe;       // default text, decimal comma
    const char* beschriftung;  // caption of the label beside the field
    const char* labelName;     // object name of that label
};

// In the order of the Control enumerators txt_Dicke … txt_KappaSteig. Some captions end in a
// blank: they are the window's texts and are kept exactly.
constexpr Eingabefeld kFelder[kInputCount] = {
    {"20,0", "Anfangsdicke der Platte in mm", "lbl_Dicke"},
    {"1850", "Dichte der getrockneten Masse in kg/m³", "lbl_rhos"},
    {"0,25", "Anfangswasserbeladung in kg/kg atro", "lbl_Wassergehalt"},
    {"0,00", "Endwasserbeladung in kg/kg atro", "lbl_Zielwasserbeladung"},
    {"6,2", "lineare Trockenschwindung in %", "lbl_linTrSchwind"},
    {"40", "Feuchteleitk. (25% atro, 25°C) in 10^(-9) m²/s", "lbl_Feuchteleit"},
    {"1,0", "Wärmeleitkoeff. der trock. Platte in W/(m K)", "lbl_Lambda"},
    {"20", "Diff.-Widerstandszahl der trockenen Masse", "lbl_mue"},
    {"50", "effekt. Wärmeübergangskoeff. in W/(m² K)", "lbl_Waermeuebergang"},
    {"15", "Außenlufttemperatur in °C ", "lbl_AussenluftTemp"},
    {"60", "relative Außenluftfeuchtigkeit in % ", "lbl_AussenluftFeuchte"},
    {"35", "Ablufttemperatur in °C ", "lbl_Lufttemp"},
    {"70", "relative Abluftfeuchtigkeit in % ", "lbl_AbluftFeuchte"},
    {"0,1", "Ortsschrittweite in mm", "lbl_Ortsschrittweite"},
    {"0,5", "Zeitschrittweite in s", "lbl_Zeitschrittweite"},
    {"1200", "Anzahl der Berechnungen pro Kurve", "lbl_Rundlaeufe"},
    {"6,7", "Kappa-Steigung unter Grenzfeuchte", "lbl_kappasteig"},
};

const Eingabefeld* feld(Control c) {
    return isInput(c) ? &kFelder[static_cast<std::size_t>(index(c))] : nullptr;
}

}  // namespace

Control inputByName(std::string_view name) {
    for (int i = 0; i < kInputCount; ++i)
        if (name == controlName(controlAt(i))) return controlAt(i);
    return Control::Count;
}

InputTexts defaultInputTexts() {
    InputTexts t;
    for (int i = 0; i < kInputCount; ++i)
        t.text[static_cast<std::size_t>(i)] = kFelder[i].vorgabe;
    return t;
}

const char* defaultText(Control inputField) {
    const Eingabefeld* f = feld(inputField);
    return f ? f->vorgabe : "";
}

const char* inputCaption(Control inputField) {
    const Eingabefeld* f = feld(inputField);
    return f ? f->beschriftung : "";
}

const char* inputLabelName(Control inputField) {
    const Eingabefeld* f = feld(inputField);
    return f ? f->labelName : "";
}

}  // namespace tesmo
