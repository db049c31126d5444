#include "verify/dryer_balance.h"

#include "model/physical_constants.h"
#include "model/setup.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

struct Ends {
    double XAnf, XZiel, L;
    double thetaAbluft, XAbluft, thetaAussen, XAussen, thetaKG;
};

Ends endsOf(const InputTexts& texts) {
    const Einrichtungswerte w = berechneEinrichtung(texts);
    return {w.XAnf,
            static_cast<double>(w.XZiel),
            w.LuftRohlingVerh,
            w.thetaLuft,
            w.XAbluftAbluft,
            w.thetaAussen,
            static_cast<double>(w.XAussen),
            w.thetaKG};
}

// The plate's enthalpy gain per kg of dry product, from θKG with XAnf to θEnde with XZiel.
double plateGain(const Ends& e, double thetaEnde) {
    return (kCpTrockenmasse + kCwWasser * e.XZiel) * thetaEnde -
           (kCpTrockenmasse + kCwWasser * e.XAnf) * e.thetaKG;
}

// The supply temperature for air that starts as (thetaAbluft, XStart) at the exhaust end and
// ends with XEnd at the supply end, per kg of dry air.
double supply(const Ends& e, double XStart, double XEnd, double plate, double cLuft) {
    return ((cLuft + kCpDampf * XStart) * e.thetaAbluft + kVerdampfungswaerme0 * (XStart - XEnd) +
            plate / e.L) /
           (cLuft + kCpDampf * XEnd);
}

}  // namespace

HandBalance handBalance(const InputTexts& texts, double thetaEnde, double cLuft) {
    const Ends e = endsOf(texts);
    HandBalance h;
    h.thetaZuluft = supply(e, e.XAbluft, e.XAussen, plateGain(e, thetaEnde), cLuft);
    h.energie =
        e.L * (cLuft + kCpDampf * e.XAussen) * (h.thetaZuluft - e.thetaAussen) / (e.XAnf - e.XZiel);
    return h;
}

BalanceSplit splitBalance(const InputTexts& texts, const CaseResult& r) {
    const Ends e = endsOf(texts);
    const double plate = plateGain(e, r.thetaKernEnde);
    BalanceSplit s;
    s.hand = supply(e, e.XAbluft, e.XAussen, plate, kCpLuft);
    const double unitAir = supply(e, e.XAbluft, e.XAussen, plate, 1);
    const double modelWater = supply(e, r.XLuftStart, r.XLuftEnde, plate, 1);
    s.cLuft = unitAir - s.hand;
    s.wasserFehlt = modelWater - unitAir;
    s.wasserTemperatur = r.wasserTemperaturLuftK;
    s.model = r.thetaZuluft;
    s.rest = s.model - (modelWater + s.wasserTemperatur);
    s.heatRatio = (s.model - e.thetaAussen) / (s.hand - e.thetaAussen) - 1;
    return s;
}

BalanceStudy runBalanceStudy(int threads) {
    BalanceStudy study;
    std::vector<InputTexts> cases;
    for (Luftbilanz bilanz : {Luftbilanz::Standard, Luftbilanz::Korrigiert}) {
        auto& levels = bilanz == Luftbilanz::Standard ? study.standard : study.korrigiert;
        for (const char* dt : kBalanceSteps) {
            InputTexts t = defaultInputTexts();
            t[Control::txt_deltaT] = dt;
            t.optionen.luftbilanz = bilanz;
            levels.push_back({dt, TextZuZahl(dt), t, {}, {}});
            cases.push_back(t);
        }
    }
    const std::vector<CaseResult> results = runCases(cases, threads);
    std::size_t i = 0;
    for (auto* levels : {&study.standard, &study.korrigiert}) {
        for (BalanceLevel& l : *levels) {
            l.result = results[i++];
            l.split = splitBalance(l.texts, l.result);
        }
    }
    return study;
}

}  // namespace tesmo
