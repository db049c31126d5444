// The words of the input check: every refusal as one German sentence. The rules that decide a
// refusal are in input_check.cpp.
//
// Every message reads „caption“: value ist nicht möglich – reason; bitte advice.
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "model/input_check.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

using R = RefusalReason;

std::string zahl(double v, int stellen = 10) {
    return ZahlZuText(v, stellen);
}

// A bound written out in full (0,000001 rather than 1E-6).
std::string zahlAusgeschrieben(double v) {
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::fixed);
    std::string text(puffer, r.ptr);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

std::string beschriftung(Control feld) {
    std::string_view text = inputCaption(feld);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return "„" + std::string(text) + "“";
}

// "höchstens X" when a value was found that clears the field, else "einen kleineren Wert".
std::string hoechstens(double vorschlag) {
    return std::isnan(vorschlag) ? "einen kleineren Wert" : "höchstens " + zahl(vorschlag);
}

std::string halbeDicke(double mm) {
    return "die halbe Plattendicke (" + zahl(mm) + " mm)";
}

// ", z. B. a oder b", ", z. B. a" or nothing, from the suggestions found.
std::string beispiele(const Refusal& r) {
    const bool a = !std::isnan(r.suggestions[0]), b = !std::isnan(r.suggestions[1]);
    if (a && b) return ", z. B. " + zahl(r.suggestions[0]) + " oder " + zahl(r.suggestions[1]);
    if (a) return ", z. B. " + zahl(r.suggestions[0]);
    return "";
}

std::string feuchteBereich(Control feld) {
    return feld == Control::txt_AbluftFeuchte ? "einen Wert von 0 bis unter 100 eingeben"
                                              : "einen Wert von 0 bis 100 eingeben";
}

struct Worte {
    std::string grund;  // empty: the advice follows the value directly
    std::string rat;
};

Worte worte(const Refusal& r) {
    const std::string beispielVorgabe = std::string(", z. B. ") + defaultText(r.field);
    switch (r.reason) {
        case R::NoNumber:
            if (requiresPositive(r.field)) return {"", "einen Wert größer als 0 eingeben"};
            if (r.field == Control::txt_rund) return {"", "eine ganze Zahl ab 50 eingeben"};
            return {"", "eine Zahl eingeben" + beispielVorgabe};
        case R::TooLarge:
            return {std::isfinite(r.value) ? "die Zahl ist zu groß zum Rechnen" : "",
                    "einen Wert im üblichen Bereich eingeben" + beispielVorgabe};
        case R::NotPositive:
            return {"", "einen Wert größer als 0 eingeben"};
        case R::OutsideComputable:
            return {"der Wert liegt außerhalb des rechenbaren Bereichs",
                    "einen Wert zwischen " + zahlAusgeschrieben(r.a) + " und " +
                        zahlAusgeschrieben(r.b) + " eingeben"};
        case R::BelowVapourPole:
            return {"die Dampfdruckformel gilt nur oberhalb von " + zahl(r.a) + " °C",
                    "eine höhere Temperatur eingeben"};
        case R::AboveMaxTemperature:
            return {"der Wert liegt außerhalb des rechenbaren Bereichs",
                    "höchstens " + zahl(r.a) + " eingeben"};
        case R::HumidityNegative:
            return {"eine negative Feuchte gibt es nicht", feuchteBereich(r.field)};
        case R::HumidityAbove100:
            return {"Luft kann nicht mehr als gesättigt sein (100 %)", feuchteBereich(r.field)};
        case R::ExhaustSaturated:
            return {"gesättigte Abluft kann kein Wasser aufnehmen, die Platte würde nie trocknen",
                    feuchteBereich(r.field)};
        case R::TargetNegative:
            return {"eine negative Wasserbeladung gibt es nicht",
                    "0 oder einen größeren Wert eingeben"};
        case R::TargetNotBelowStart:
            return {
                "die Platte muss beim Trocknen Wasser abgeben",
                "einen Wert kleiner als die Anfangswasserbeladung (" + zahl(r.a) + ") eingeben"};
        case R::ShrinkageNegative:
            return {"die Platte kann beim Trocknen nicht wachsen",
                    "einen Wert von 0 bis unter 100 eingeben"};
        case R::ShrinkageComplete:
            return {"die Platte würde ganz verschwinden",
                    "einen Wert von 0 bis unter 100 eingeben"};
        case R::CurveStepsTooFew:
            return {"die Werte werden fünfzigmal pro Kurve angezeigt",
                    "eine ganze Zahl ab " + zahl(r.a) + " eingeben"};
        case R::CurveStepsTooMany:
            return {"so viele Berechnungen kann der Kurvenzähler nicht zählen",
                    "eine ganze Zahl von " + zahl(r.a) + " bis " + zahl(r.b) + " eingeben"};
        case R::CurveStepsNotWhole:
            return {"eine Kurve folgt nach einer ganzen Zahl von Berechnungen",
                    "eine ganze Zahl ab " + zahl(r.a) + " eingeben"};
        case R::GridCoarserThanPlate:
            return {halbeDicke(r.a) + " muss mindestens einen Schritt umfassen",
                    "höchstens " + zahl(r.suggestions[0]) + " eingeben"};
        case R::GridTooFine:
            return {"mehr als 500 Schritte über " + halbeDicke(r.a) + " fasst das Modell nicht",
                    "eine größere Schrittweite eingeben" + beispiele(r)};
        case R::GridNotWhole:
            return {"damit ergibt " + halbeDicke(r.a) + " keine ganze Zahl von Schritten (" +
                        zahl(r.b, 6) + ")",
                    "eine Schrittweite eingeben, die sie ohne Rest teilt" + beispiele(r)};
        case R::VapourPressureAt1Bar:
            return {
                "bei " + zahl(r.a) + " °C erreicht der Dampfdruck damit 1 bar, den Druck der Luft",
                hoechstens(r.suggestions[0]) + " eingeben"};
        case R::ExhaustNearlySteam:
            return {"bei " + zahl(r.a) +
                        " °C ist die Abluft damit fast reiner Wasserdampf, ihre "
                        "Kühlgrenztemperatur läge am Siedepunkt",
                    hoechstens(r.suggestions[0]) + " eingeben"};
        case R::NoWetBulbBelowAir:
            return {"Abluft mit " + zahl(r.a) +
                        " % Feuchte hat dabei keine Kühlgrenztemperatur unterhalb der "
                        "Lufttemperatur und kann kein Wasser aufnehmen, die Platte würde nie "
                        "trocknen",
                    "eine höhere Ablufttemperatur oder eine niedrigere Abluftfeuchte eingeben"};
        case R::OutsideAirNotCooler:
            return {
                "im Gegenstromtrockner wird die Außenluft auf die Zulufttemperatur erwärmt "
                "und kühlt sich an den Platten bis zur Ablufttemperatur ab; sie muss kälter "
                "sein als die Abluft (" +
                    beschriftung(Control::txt_Lufttemp) + ": " + zahl(r.a) + " °C)",
                "eine niedrigere Außenlufttemperatur oder eine höhere Ablufttemperatur "
                "eingeben"};
        case R::ExhaustNotWetter:
            return {"die Abluft trägt damit " + zahl(r.a, 4) +
                        " kg/kg Wasser, nicht mehr als die Außenluft (" + zahl(r.b, 4) +
                        " kg/kg), und könnte kein Wasser aus dem Trockner tragen",
                    "eine höhere Abluftfeuchte oder eine trockenere Außenluft eingeben"};
        case R::GreenPlateOnlyWater:
            return {"mit " + zahl(r.a) + " kg/m³ Trockendichte und " + zahl(r.b) +
                        " % Schwindung bestünde der Rohling nur aus Wasser",
                    hoechstens(r.suggestions[0]) + " eingeben"};
        case R::ShrinkageExceedsWater:
            return {
                "beim Schwinden ginge mehr Volumen verloren, als der Rohling Wasser enthält",
                hoechstens(r.suggestions[0]) + " eingeben oder die Anfangswasserbeladung erhöhen"};
        case R::ConductivityTooSteep:
            return {
                "die Feuchteleitfähigkeit änderte sich damit bis zur trockenen Masse um mehr "
                "als 100 Zehnerpotenzen",
                "einen Wert von -" + zahl(r.a) + " bis " + zahl(r.a) + " eingeben"};
        case R::DerivedNotComputable:
            break;
    }
    return {};
}

const char* groesse(DerivedQuantity q) {
    switch (q) {
        case DerivedQuantity::DryThickness:
            return "die Dicke der getrockneten Platte";
        case DerivedQuantity::SpecificSurface:
            return "die spezifische Oberfläche";
        case DerivedQuantity::WetBulbTemperature:
            return "die Kühlgrenztemperatur";
        case DerivedQuantity::ExhaustWaterLoad:
            return "die Wasserbeladung der Abluft";
        case DerivedQuantity::ExhaustVapourPressure:
            return "den Dampfdruck der Abluft";
        case DerivedQuantity::AirPerProduct:
            return "den spezifischen Luftbedarf";
        case DerivedQuantity::ShrinkageEndWaterLoad:
            return "die Wasserbeladung am Schwindungsende";
        case DerivedQuantity::WaterFractionAtReference:
            return "den Wasseranteil bei 0,25 kg/kg";
        case DerivedQuantity::DryDensityAtReference:
            return "die Trockendichte bei 0,25 kg/kg";
        case DerivedQuantity::ConductivityAtLimit:
            return "die Feuchteleitfähigkeit an der Schwindungsgrenze";
    }
    return "";
}

std::string abgeleitet(const Refusal& r) {
    std::string felder;
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
        if (i > 0) felder += (i + 1 == r.fields.size()) ? " und " : ", ";
        felder += beschriftung(r.fields[i]);
    }
    return "Die Eingaben ergeben zusammen keinen berechenbaren Wert für " +
           std::string(groesse(r.quantity)) + " – bitte " + felder + " prüfen.";
}

}  // namespace

std::string refusalMessage(const Refusal& r) {
    if (r.reason == R::DerivedNotComputable) return abgeleitet(r);
    std::string m = beschriftung(r.field) + ": ";
    if (!std::isfinite(r.value)) {
        m += "die Zahl ist zu groß zum Rechnen";
    } else if (!r.numberFound) {
        m += "ein Text ohne Zahl (gilt als 0) ist nicht möglich";
    } else {
        m += zahl(r.value) + " ist nicht möglich";
    }
    const Worte w = worte(r);
    if (!w.grund.empty())
        m += " – " + w.grund + "; bitte " + w.rat + ".";
    else
        m += " – bitte " + w.rat + ".";
    return m;
}

}  // namespace tesmo
