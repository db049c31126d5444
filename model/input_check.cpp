// The rules of the input check. What each refusal means in words is in refusal_text.cpp.
#include "model/input_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "model/moist_air.h"
#include "model/physical_constants.h"
#include "model/setup.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

using R = RefusalReason;

// Bounds of the fields that must be positive, in the units typed. Far outside any dryer, they
// keep the products and quotients of the model (space step squared, thickness times density, …)
// inside the range of double precision.
constexpr double kPositivMin = 1e-6;
constexpr double kPositivMax = 1e6;
// The vapour-pressure law has its pole here; no air temperature may reach it.
constexpr double kPolTemperatur = -kMagnusB;
// Hotter air has no meaning for a clay dryer and drives the wet-bulb search to its edge.
constexpr double kMaxTemperatur = 10000;
// The live display is refreshed every Int(rund/50) steps and the curve counter is an int.
constexpr double kRundMin = 50;
constexpr double kRundMax = 1e9;
// Below the limit moisture the conductivity changes by KappaSteig·offPoren decades down to the
// dry mass; beyond 100 decades it leaves any physical meaning and, combined with the other
// factors, the range of double precision.
constexpr double kMaxDekaden = 100;
// A proposed value has this many significant digits.
constexpr int kVorschlagStellen = 3;

// The step of the third significant digit of a positive value.
double dritteStelle(double v) {
    return std::pow(10.0, std::floor(std::log10(v)) - (kVorschlagStellen - 1));
}

std::vector<Refusal> pruefe(const InputTexts& texts, bool mitVorschlaegen);

class Pruefung {
  public:
    Pruefung(const InputTexts& texts, bool mitVorschlaegen)
        : texts_(texts), w_(berechneEinrichtung(texts)), mitVorschlaegen_(mitVorschlaegen) {}

    // Whether the run uses the field at all: in a constant climate the outside air is no part
    // of the run, so its fields are neither read nor checked.
    bool genutzt(Control feld) const {
        const bool aussenluft =
            feld == Control::txt_AussenluftTemp || feld == Control::txt_AussenluftFeuchte;
        return !aussenluft || texts_.optionen.klima == Klima::Gegenstrom;
    }

    const Einrichtungswerte& w() const { return w_; }
    std::vector<Refusal>& refusals() { return refusals_; }

    double wert(Control feld) const { return w_.gelesen[static_cast<std::size_t>(index(feld))]; }

    // Whether the field has passed its own checks so far (checks of combinations ask this).
    bool gut(Control feld) const { return !schlecht_[static_cast<std::size_t>(index(feld))]; }
    bool gut(std::initializer_list<Control> felder) const {
        return std::all_of(felder.begin(), felder.end(), [this](Control f) { return gut(f); });
    }

    Refusal& melde(Control feld, R grund, double a = Refusal::kNone, double b = Refusal::kNone) {
        const std::size_t i = static_cast<std::size_t>(index(feld));
        Refusal r;
        r.field = feld;
        r.reason = grund;
        r.value = w_.gelesen[i];
        r.numberFound = w_.zahlGefunden[i];
        r.a = a;
        r.b = b;
        refusals_.push_back(r);
        schlecht_[i] = true;
        return refusals_.back();
    }

    // The largest value with three significant digits below the open limit `grenze` that
    // clears the field when typed in its place, the other texts staying as they are; kNone
    // when there is none (or when suggestions are not wanted).
    double hoechstens(Control feld, double grenze) const {
        if (!mitVorschlaegen_ || !(grenze > 0) || !std::isfinite(grenze)) return Refusal::kNone;
        const double stufe = dritteStelle(grenze);
        double kandidat = std::floor(grenze / stufe) * stufe;
        if (kandidat >= grenze) kandidat -= stufe;
        for (int versuch = 0; versuch < 20 && kandidat > 0; ++versuch, kandidat -= stufe) {
            InputTexts t = texts_;
            t[feld] = ZahlZuText(kandidat);
            const auto rest = pruefe(t, false);
            if (std::none_of(rest.begin(), rest.end(),
                             [feld](const Refusal& r) { return r.field == feld; }))
                return TextZuZahl(t[feld]);
        }
        return Refusal::kNone;
    }

  private:
    const InputTexts& texts_;
    Einrichtungswerte w_;
    bool mitVorschlaegen_;
    std::vector<Refusal> refusals_;
    std::array<bool, kInputCount> schlecht_{};
};

// A text without a number would be read as 0. Where 0 is a legal value (a target water load,
// a temperature, a humidity, no shrinkage) a typo such as "l5" would silently run with it, so
// every field must hold a number.
void pruefeZahlVorhanden(Pruefung& p) {
    for (int i = 0; i < kInputCount; ++i)
        if (!p.w().zahlGefunden[static_cast<std::size_t>(i)] && p.genutzt(controlAt(i)))
            p.melde(controlAt(i), R::NoNumber);
}

void pruefeEndlich(Pruefung& p) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control feld = controlAt(i);
        if (!p.gut(feld) || !p.genutzt(feld)) continue;
        // XZiel is stored in single precision: 1E39 is finite as read, but not as stored.
        const bool endlich = feld == Control::txt_XZiel
                                 ? std::isfinite(p.wert(feld)) && std::isfinite(p.w().XZiel)
                                 : std::isfinite(p.wert(feld));
        if (!endlich) p.melde(feld, R::TooLarge);
    }
}

void pruefePositiv(Pruefung& p, Control feld) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    if (v <= 0) {
        p.melde(feld, R::NotPositive);
    } else if (v < kPositivMin || v > kPositivMax) {
        p.melde(feld, R::OutsideComputable, kPositivMin, kPositivMax);
    }
}

void pruefeTemperatur(Pruefung& p, Control feld) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    if (v <= kPolTemperatur) {
        p.melde(feld, R::BelowVapourPole, kPolTemperatur);
    } else if (v > kMaxTemperatur) {
        p.melde(feld, R::AboveMaxTemperature, kMaxTemperatur);
    }
}

void pruefeFeuchte(Pruefung& p, Control feld, bool abluft) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    if (v < 0) {
        p.melde(feld, R::HumidityNegative);
    } else if (v > 100) {
        p.melde(feld, R::HumidityAbove100);
    } else if (abluft && v == 100) {
        p.melde(feld, R::ExhaustSaturated);
    }
}

void pruefeFelder(Pruefung& p) {
    for (int i = 0; i < kInputCount; ++i)
        if (requiresPositive(controlAt(i)) && controlAt(i) != Control::txt_XAnf)
            pruefePositiv(p, controlAt(i));

    if (p.gut(Control::txt_XAnf) && p.wert(Control::txt_XAnf) <= 0)
        p.melde(Control::txt_XAnf, R::NotPositive);

    if (p.gut(Control::txt_XZiel)) {
        const double ziel = p.w().XZiel;  // as stored, in single precision
        if (ziel < 0) {
            p.melde(Control::txt_XZiel, R::TargetNegative);
        } else if (p.gut(Control::txt_XAnf) && ziel >= p.w().XAnf) {
            p.melde(Control::txt_XZiel, R::TargetNotBelowStart, p.w().XAnf);
        }
    }

    if (p.gut(Control::txt_linTrSchwind)) {
        const double v = p.wert(Control::txt_linTrSchwind);
        if (v < 0)
            p.melde(Control::txt_linTrSchwind, R::ShrinkageNegative);
        else if (v >= 100)
            p.melde(Control::txt_linTrSchwind, R::ShrinkageComplete);
    }

    pruefeTemperatur(p, Control::txt_Lufttemp);
    pruefeFeuchte(p, Control::txt_AbluftFeuchte, true);
    if (p.genutzt(Control::txt_AussenluftTemp)) pruefeTemperatur(p, Control::txt_AussenluftTemp);
    if (p.genutzt(Control::txt_AussenluftFeuchte))
        pruefeFeuchte(p, Control::txt_AussenluftFeuchte, false);

    if (p.gut(Control::txt_rund)) {
        const double v = p.wert(Control::txt_rund);
        if (v < kRundMin) {
            p.melde(Control::txt_rund, R::CurveStepsTooFew, kRundMin);
        } else if (v > kRundMax) {
            p.melde(Control::txt_rund, R::CurveStepsTooMany, kRundMin, kRundMax);
        } else if (v != std::floor(v)) {
            p.melde(Control::txt_rund, R::CurveStepsNotWhole, kRundMin);
        }
    }
}

// A space step that the user can type and that divides the half thickness into exactly n
// intervals as the set-up reads it; n is searched from nStart in steps of `richtung`.
double ortsschrittVorschlag(double dickeMm, int nStart, int richtung) {
    for (int n = nStart; n >= 1 && n <= kMaxNodes; n += richtung) {
        const double v = TextZuZahl(ZahlZuText(dickeMm / 2 / n, 6));
        double ganz = 0;
        if (v > 0 && fastGanzzahlig(ortsQuotient(dickeMm, v), &ganz) && ganz == n) return v;
    }
    return Refusal::kNone;
}

void pruefeGitter(Pruefung& p) {
    if (!p.gut({Control::txt_Dicke, Control::txt_Ortsschrittweite})) return;
    const Einrichtungswerte& w = p.w();
    const double halbeDicke = p.wert(Control::txt_Dicke) / 2;
    const double dicke = p.wert(Control::txt_Dicke);
    const double q = w.nOrtGanz ? w.nOrt : w.nOrtQuotient;
    if (q < 1 && halbeDicke < kPositivMin) {
        // No space step that may be typed is small enough: the plate itself is too thin.
        p.melde(Control::txt_Dicke, R::OutsideComputable, 2 * kPositivMin, kPositivMax);
    } else if (q < 1) {
        p.melde(Control::txt_Ortsschrittweite, R::GridCoarserThanPlate, halbeDicke).suggestions[0] =
            halbeDicke;
    } else if (q > kMaxNodes) {
        p.melde(Control::txt_Ortsschrittweite, R::GridTooFine, halbeDicke).suggestions[0] =
            ortsschrittVorschlag(dicke, kMaxNodes, -1);
    } else if (!w.nOrtGanz) {
        Refusal& r = p.melde(Control::txt_Ortsschrittweite, R::GridNotWhole, halbeDicke, q);
        r.suggestions = {ortsschrittVorschlag(dicke, static_cast<int>(std::floor(q)), -1),
                         ortsschrittVorschlag(dicke, static_cast<int>(std::ceil(q)), +1)};
        if (std::isnan(r.suggestions[0])) std::swap(r.suggestions[0], r.suggestions[1]);
    }
}

void pruefeLuftdruck(Pruefung& p, Control temperatur, Control feuchte, double pv) {
    if (!p.gut({temperatur, feuchte}) || !p.genutzt(feuchte) || pv < 1) return;
    const double theta = p.wert(temperatur);
    const double vorschlag = p.hoechstens(feuchte, 100 / Saettigungsdruck(theta));
    p.melde(feuchte, R::VapourPressureAt1Bar, theta).suggestions[0] = vorschlag;
}

void pruefeLuft(Pruefung& p) {
    const Einrichtungswerte& w = p.w();
    pruefeLuftdruck(p, Control::txt_Lufttemp, Control::txt_AbluftFeuchte, w.pvAbluft);
    pruefeLuftdruck(p, Control::txt_AussenluftTemp, Control::txt_AussenluftFeuchte, w.pvAussen);

    const bool abluftGut = p.gut({Control::txt_Lufttemp, Control::txt_AbluftFeuchte});
    const bool aussenGut = p.gut({Control::txt_AussenluftTemp, Control::txt_AussenluftFeuchte}) &&
                           p.genutzt(Control::txt_AussenluftTemp);
    // Air that is nearly pure vapour has its wet-bulb temperature at the boiling point, where
    // the saturation pressure reaches 1 bar: the search then runs past the point at which the
    // balance turns over and ends at 100 °C with a water load that is not a number of any use.
    if (abluftGut && !(Saettigungsdruck(w.thetaKG) < 1)) {
        const double vorschlag = p.hoechstens(Control::txt_AbluftFeuchte, w.phiAbluft * 100);
        p.melde(Control::txt_AbluftFeuchte, R::ExhaustNearlySteam, w.thetaLuft).suggestions[0] =
            vorschlag;
        return;
    }
    // The surface starts at the wet-bulb temperature; only air above it can give heat for
    // evaporation. Air at or below 0 °C finds no wet-bulb temperature in the search's range.
    if (abluftGut && !(w.thetaKG < w.thetaLuft)) {
        p.melde(Control::txt_Lufttemp, R::NoWetBulbBelowAir, p.wert(Control::txt_AbluftFeuchte));
        return;
    }
    // Counter-current: the outside air is heated to the supply temperature and cools along the
    // plates until it leaves as exhaust air. Outside air at or above the exhaust temperature
    // describes no dryer (the energy demand would come out negative).
    if (abluftGut && aussenGut && !(w.thetaAussen < w.thetaLuft)) {
        p.melde(Control::txt_AussenluftTemp, R::OutsideAirNotCooler, w.thetaLuft);
        return;
    }
    // The air enters as outside air and leaves as exhaust air; it can only carry water out of
    // the dryer if it leaves wetter than it came in.
    if (abluftGut && aussenGut && !(w.XAbluftAbluft > static_cast<double>(w.XAussen))) {
        p.melde(Control::txt_AbluftFeuchte, R::ExhaustNotWetter, w.XAbluftAbluft,
                static_cast<double>(w.XAussen));
    }
}

void pruefeSchwindung(Pruefung& p) {
    if (!p.gut({Control::txt_rhos, Control::txt_XAnf, Control::txt_linTrSchwind})) return;
    const Einrichtungswerte& w = p.w();
    const double volumenTrocken = std::pow(1 - w.s, 3);  // dried plate relative to the green
    if (!(w.psiRoh < 1)) {
        // The green plate is saturated: solids and water only.
        const double vorschlag =
            p.hoechstens(Control::txt_XAnf, kDichteWasser / (w.rhos * volumenTrocken));
        p.melde(Control::txt_XAnf, R::GreenPlateOnlyWater, w.rhos, w.linTrSchwind).suggestions[0] =
            vorschlag;
        return;
    }
    if (!(w.offPoren > 0)) {
        // Shrinking may not take more volume than the green plate holds water.
        const double sMax = 1 - std::pow(1 + w.XAnf * w.rhos / kDichteWasser, -1.0 / 3.0);
        const double vorschlag = p.hoechstens(Control::txt_linTrSchwind, 100 * sMax);
        p.melde(Control::txt_linTrSchwind, R::ShrinkageExceedsWater).suggestions[0] = vorschlag;
        return;
    }
    if (p.gut(Control::txt_KappaSteig) && std::abs(w.KappaSteig) * w.offPoren > kMaxDekaden) {
        const double stufe = dritteStelle(kMaxDekaden / w.offPoren);
        const double grenze = std::floor(kMaxDekaden / w.offPoren / stufe) * stufe;
        p.melde(Control::txt_KappaSteig, R::ConductivityTooSteep, grenze);
    }
}

// Safety net behind the checks above: every quantity the set-up stores must be a number.
void pruefeAbgeleitet(Pruefung& p) {
    using C = Control;
    using Q = DerivedQuantity;
    const Einrichtungswerte& w = p.w();
    struct Groesse {
        double wert;
        bool positiv;  // must also be above 0
        Q quantity;
        std::initializer_list<Control> felder;
        bool gegenstrom = false;  // a quantity of the counter-current dryer only
    };
    const Groesse groessen[] = {
        {w.Dicke, true, Q::DryThickness, {C::txt_Dicke, C::txt_linTrSchwind}},
        {w.spezOberfl, true, Q::SpecificSurface, {C::txt_Dicke, C::txt_rhos, C::txt_linTrSchwind}},
        {w.thetaKG, false, Q::WetBulbTemperature, {C::txt_Lufttemp, C::txt_AbluftFeuchte}},
        {w.XAbluft, false, Q::ExhaustWaterLoad, {C::txt_Lufttemp, C::txt_AbluftFeuchte}},
        {w.pvLuft, false, Q::ExhaustVapourPressure, {C::txt_Lufttemp, C::txt_AbluftFeuchte}},
        {w.LuftRohlingVerh,
         true,
         Q::AirPerProduct,
         {C::txt_XAnf, C::txt_XZiel, C::txt_AbluftFeuchte, C::txt_AussenluftFeuchte},
         true},
        {w.XSchwEnde,
         true,
         Q::ShrinkageEndWaterLoad,
         {C::txt_rhos, C::txt_XAnf, C::txt_linTrSchwind}},
        {w.psi25,
         true,
         Q::WaterFractionAtReference,
         {C::txt_rhos, C::txt_XAnf, C::txt_linTrSchwind}},
        {w.rhos25, true, Q::DryDensityAtReference, {C::txt_rhos, C::txt_XAnf, C::txt_linTrSchwind}},
        {w.FeuchteleitGrenz,
         true,
         Q::ConductivityAtLimit,
         {C::txt_Feuchteleit, C::txt_XAnf, C::txt_linTrSchwind}},
    };
    for (const Groesse& g : groessen) {
        if (g.gegenstrom && !p.genutzt(C::txt_AussenluftTemp)) continue;
        if (std::isfinite(g.wert) && (!g.positiv || g.wert > 0)) continue;
        Refusal r;
        r.reason = R::DerivedNotComputable;
        r.quantity = g.quantity;
        r.fields.assign(g.felder.begin(), g.felder.end());
        p.refusals().push_back(std::move(r));
    }
}

std::vector<Refusal> pruefe(const InputTexts& texts, bool mitVorschlaegen) {
    Pruefung p(texts, mitVorschlaegen);
    pruefeZahlVorhanden(p);
    pruefeEndlich(p);
    pruefeFelder(p);
    pruefeGitter(p);
    pruefeLuft(p);
    pruefeSchwindung(p);
    if (p.refusals().empty()) pruefeAbgeleitet(p);
    // In the order of the fields in the window, top to bottom.
    std::stable_sort(p.refusals().begin(), p.refusals().end(),
                     [](const Refusal& a, const Refusal& b) { return a.field < b.field; });
    return std::move(p.refusals());
}

}  // namespace

bool requiresPositive(Control field) {
    switch (field) {
        case Control::txt_Dicke:
        case Control::txt_rhos:
        case Control::txt_XAnf:
        case Control::txt_Feuchteleit:
        case Control::txt_lambda:
        case Control::txt_mue:
        case Control::txt_Waermeuebergang:
        case Control::txt_Ortsschrittweite:
        case Control::txt_deltaT:
            return true;
        default:
            return false;
    }
}

std::vector<Refusal> checkInputs(const InputTexts& texts) {
    return pruefe(texts, true);
}

std::vector<std::string> pruefeEingaben(const InputTexts& texts) {
    std::vector<std::string> messages;
    for (const Refusal& r : checkInputs(texts))
        messages.push_back(refusalMessage(r));
    return messages;
}

}  // namespace tesmo
