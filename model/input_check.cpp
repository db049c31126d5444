#include "model/input_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "model/moist_air.h"
#include "model/physical_constants.h"
#include "model/setup.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

// Every message reads: „caption“: value ist nicht möglich – reason; bitte advice.

// Bounds of the fields that must be positive, in the units typed. Far outside any dryer, they
// keep the products and quotients of the model (space step squared, thickness times density, …)
// inside the range of double precision.
constexpr double kPositivMin = 1e-6;
constexpr double kPositivMax = 1e6;
constexpr const char* kPositivBereich = "einen Wert zwischen 0,000001 und 1000000";
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

std::string zahl(double v, int stellen = 10) {
    if (v == 0) v = 0;  // no "-0"
    char puffer[64];
    const auto r =
        std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::general, stellen);
    std::string text;
    for (const char* c = puffer; c != r.ptr; ++c) {
        if (*c == '.') {
            text += ',';
        } else if (*c == 'e') {
            // 1e+39 and 1e-07 read as 1E39 and 1E-7
            text += 'E';
            if (c[1] == '+') ++c;
            if (c[1] == '-') text += *++c;
            while (c[1] == '0' && c + 2 != r.ptr)
                ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

// The step of the third significant digit of a positive value.
double dritteStelle(double v) {
    return std::pow(10.0, std::floor(std::log10(v)) - 2);
}

std::string beschriftung(Control feld) {
    std::string_view text = inputCaption(feld);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return "„" + std::string(text) + "“";
}

std::vector<std::string> pruefe(const InputTexts& texts, bool mitVorschlaegen);

class Pruefung {
  public:
    Pruefung(const InputTexts& texts, bool mitVorschlaegen)
        : texts_(texts), w_(berechneEinrichtung(texts)), mitVorschlaegen_(mitVorschlaegen) {}

    const Einrichtungswerte& w() const { return w_; }
    // Each message with the field it names (Control::Count for the general safety net).
    struct Meldung {
        Control feld;
        std::string text;
    };
    std::vector<Meldung>& meldungen() { return meldungen_; }

    double wert(Control feld) const { return w_.gelesen[static_cast<std::size_t>(index(feld))]; }

    // Whether the field has passed its own checks so far (checks of combinations ask this).
    bool gut(Control feld) const { return !schlecht_[static_cast<std::size_t>(index(feld))]; }
    bool gut(std::initializer_list<Control> felder) const {
        for (Control f : felder)
            if (!gut(f)) return false;
        return true;
    }

    void melde(Control feld, const std::string& grund, const std::string& rat) {
        const std::size_t i = static_cast<std::size_t>(index(feld));
        std::string m = beschriftung(feld) + ": ";
        if (!std::isfinite(w_.gelesen[i])) {
            m += "die Zahl ist zu groß zum Rechnen";
        } else if (!w_.zahlGefunden[i]) {
            m += "ein Text ohne Zahl (gilt als 0) ist nicht möglich";
        } else {
            m += zahl(w_.gelesen[i]) + " ist nicht möglich";
        }
        if (!grund.empty())
            m += " – " + grund + "; bitte " + rat + ".";
        else
            m += " – bitte " + rat + ".";
        meldungen_.push_back({feld, std::move(m)});
        schlecht_[i] = true;
    }

    // "höchstens X" for the largest X with three significant digits, below the open limit
    // `grenze`, that clears the field when typed in its place; the other texts stay as they are.
    // Without such a value: "einen kleineren Wert".
    std::string hoechstens(Control feld, double grenze) const {
        const std::string ohne = "einen kleineren Wert";
        if (!mitVorschlaegen_ || !(grenze > 0) || !std::isfinite(grenze)) return ohne;
        const double stufe = dritteStelle(grenze);
        double kandidat = std::floor(grenze / stufe) * stufe;
        if (kandidat >= grenze) kandidat -= stufe;
        for (int versuch = 0; versuch < 20 && kandidat > 0; ++versuch, kandidat -= stufe) {
            InputTexts t = texts_;
            t[feld] = zahl(kandidat);
            bool frei = true;
            for (const std::string& m : pruefe(t, false))
                frei = frei && m.rfind(beschriftung(feld) + ":", 0) != 0;
            if (frei) return "höchstens " + zahl(kandidat);
        }
        return ohne;
    }

  private:
    const InputTexts& texts_;
    Einrichtungswerte w_;
    bool mitVorschlaegen_;
    std::vector<Meldung> meldungen_;
    std::array<bool, kInputCount> schlecht_{};
};

// Fields whose value must be above 0; a text without a number is refused with that advice.
bool mussPositivSein(Control feld) {
    switch (feld) {
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

// A text without a number would be read as 0. Where 0 is a legal value (a target water load,
// a temperature, a humidity, no shrinkage) a typo such as "l5" would silently run with it, so
// every field must hold a number.
void pruefeZahlVorhanden(Pruefung& p) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control feld = controlAt(i);
        if (p.w().zahlGefunden[static_cast<std::size_t>(i)]) continue;
        if (mussPositivSein(feld))
            p.melde(feld, "", "einen Wert größer als 0 eingeben");
        else if (feld == Control::txt_rund)
            p.melde(feld, "", "eine ganze Zahl ab 50 eingeben");
        else
            p.melde(feld, "", std::string("eine Zahl eingeben, z. B. ") + defaultText(feld));
    }
}

void pruefeEndlich(Pruefung& p) {
    for (int i = 0; i < kInputCount; ++i) {
        const Control feld = controlAt(i);
        if (!p.gut(feld)) continue;
        const bool endlich = feld == Control::txt_XZiel
                                 ? std::isfinite(p.wert(feld)) && std::isfinite(p.w().XZiel)
                                 : std::isfinite(p.wert(feld));
        if (!endlich)
            p.melde(
                feld, std::isfinite(p.wert(feld)) ? "die Zahl ist zu groß zum Rechnen" : "",
                std::string("einen Wert im üblichen Bereich eingeben, z. B. ") + defaultText(feld));
    }
}

void pruefePositiv(Pruefung& p, Control feld) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    if (v <= 0) {
        p.melde(feld, "", "einen Wert größer als 0 eingeben");
    } else if (v < kPositivMin || v > kPositivMax) {
        p.melde(feld, "der Wert liegt außerhalb des rechenbaren Bereichs",
                std::string(kPositivBereich) + " eingeben");
    }
}

void pruefeTemperatur(Pruefung& p, Control feld) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    if (v <= kPolTemperatur) {
        p.melde(feld, "die Dampfdruckformel gilt nur oberhalb von -234,175 °C",
                "eine höhere Temperatur eingeben");
    } else if (v > kMaxTemperatur) {
        p.melde(feld, "der Wert liegt außerhalb des rechenbaren Bereichs",
                "höchstens 10000 eingeben");
    }
}

void pruefeFeuchte(Pruefung& p, Control feld, bool abluft) {
    if (!p.gut(feld)) return;
    const double v = p.wert(feld);
    const char* bereich =
        abluft ? "einen Wert von 0 bis unter 100 eingeben" : "einen Wert von 0 bis 100 eingeben";
    if (v < 0) {
        p.melde(feld, "eine negative Feuchte gibt es nicht", bereich);
    } else if (v > 100) {
        p.melde(feld, "Luft kann nicht mehr als gesättigt sein (100 %)", bereich);
    } else if (abluft && v == 100) {
        p.melde(feld, "gesättigte Abluft kann kein Wasser aufnehmen, die Platte würde nie trocknen",
                bereich);
    }
}

void pruefeFelder(Pruefung& p) {
    for (Control feld : {Control::txt_Dicke, Control::txt_rhos, Control::txt_Feuchteleit,
                         Control::txt_lambda, Control::txt_mue, Control::txt_Waermeuebergang,
                         Control::txt_Ortsschrittweite, Control::txt_deltaT})
        pruefePositiv(p, feld);

    if (p.gut(Control::txt_XAnf) && p.wert(Control::txt_XAnf) <= 0)
        p.melde(Control::txt_XAnf, "", "einen Wert größer als 0 eingeben");

    if (p.gut(Control::txt_XZiel)) {
        const double ziel = p.w().XZiel;  // as stored, in single precision
        if (ziel < 0) {
            p.melde(Control::txt_XZiel, "eine negative Wasserbeladung gibt es nicht",
                    "0 oder einen größeren Wert eingeben");
        } else if (p.gut(Control::txt_XAnf) && ziel >= p.w().XAnf) {
            p.melde(Control::txt_XZiel, "die Platte muss beim Trocknen Wasser abgeben",
                    "einen Wert kleiner als die Anfangswasserbeladung (" + zahl(p.w().XAnf) +
                        ") eingeben");
        }
    }

    if (p.gut(Control::txt_linTrSchwind)) {
        const double v = p.wert(Control::txt_linTrSchwind);
        if (v < 0)
            p.melde(Control::txt_linTrSchwind, "die Platte kann beim Trocknen nicht wachsen",
                    "einen Wert von 0 bis unter 100 eingeben");
        else if (v >= 100)
            p.melde(Control::txt_linTrSchwind, "die Platte würde ganz verschwinden",
                    "einen Wert von 0 bis unter 100 eingeben");
    }

    pruefeTemperatur(p, Control::txt_Lufttemp);
    pruefeTemperatur(p, Control::txt_AussenluftTemp);
    pruefeFeuchte(p, Control::txt_AbluftFeuchte, true);
    pruefeFeuchte(p, Control::txt_AussenluftFeuchte, false);

    if (p.gut(Control::txt_rund)) {
        const double v = p.wert(Control::txt_rund);
        if (v < kRundMin) {
            p.melde(Control::txt_rund, "die Werte werden fünfzigmal pro Kurve angezeigt",
                    "eine ganze Zahl ab 50 eingeben");
        } else if (v > kRundMax) {
            p.melde(Control::txt_rund, "so viele Berechnungen kann der Kurvenzähler nicht zählen",
                    "eine ganze Zahl von 50 bis 1000000000 eingeben");
        } else if (v != std::floor(v)) {
            p.melde(Control::txt_rund, "eine Kurve folgt nach einer ganzen Zahl von Berechnungen",
                    "eine ganze Zahl ab 50 eingeben");
        }
    }
}

// A space step that the user can type and that divides the half thickness into exactly n
// intervals as the set-up reads it; n is searched from nStart in steps of `richtung`.
bool ortsschrittVorschlag(double dickeMm, int nStart, int richtung, double* schritt) {
    for (int n = nStart; n >= 1 && n <= kMaxNodes; n += richtung) {
        const std::string text = zahl(dickeMm / 2 / n, 6);
        const double v = TextZuZahl(text);
        double ganz = 0;
        if (v > 0 && fastGanzzahlig(ortsQuotient(dickeMm, v), &ganz) && ganz == n) {
            *schritt = v;
            return true;
        }
    }
    return false;
}

void pruefeGitter(Pruefung& p) {
    if (!p.gut({Control::txt_Dicke, Control::txt_Ortsschrittweite})) return;
    const Einrichtungswerte& w = p.w();
    const double dicke = p.wert(Control::txt_Dicke);
    const std::string halbeDicke = "die halbe Plattendicke (" + zahl(dicke / 2) + " mm)";
    const double q = w.nOrtGanz ? w.nOrt : w.nOrtQuotient;
    double vorschlag = 0;
    if (q < 1) {
        p.melde(Control::txt_Ortsschrittweite,
                halbeDicke + " muss mindestens einen Schritt umfassen",
                "höchstens " + zahl(dicke / 2) + " eingeben");
    } else if (q > kMaxNodes) {
        std::string rat = "eine größere Schrittweite eingeben";
        if (ortsschrittVorschlag(dicke, kMaxNodes, -1, &vorschlag))
            rat += ", z. B. " + zahl(vorschlag);
        p.melde(Control::txt_Ortsschrittweite,
                "mehr als 500 Schritte über " + halbeDicke + " fasst das Modell nicht", rat);
    } else if (!w.nOrtGanz) {
        std::string rat = "eine Schrittweite eingeben, die sie ohne Rest teilt";
        double groesser = 0;
        double kleiner = 0;
        const bool g = ortsschrittVorschlag(dicke, static_cast<int>(std::floor(q)), -1, &groesser);
        const bool k = ortsschrittVorschlag(dicke, static_cast<int>(std::ceil(q)), +1, &kleiner);
        if (g && k)
            rat += ", z. B. " + zahl(groesser) + " oder " + zahl(kleiner);
        else if (g || k)
            rat += ", z. B. " + zahl(g ? groesser : kleiner);
        p.melde(
            Control::txt_Ortsschrittweite,
            "damit ergibt " + halbeDicke + " keine ganze Zahl von Schritten (" + zahl(q, 6) + ")",
            rat);
    }
}

void pruefeLuftdruck(Pruefung& p, Control temperatur, Control feuchte, double pv) {
    if (!p.gut({temperatur, feuchte}) || pv < 1) return;
    const double theta = p.wert(temperatur);
    p.melde(feuchte,
            "bei " + zahl(theta) + " °C erreicht der Dampfdruck damit 1 bar, den Druck der Luft",
            p.hoechstens(feuchte, 100 / Saettigungsdruck(theta)) + " eingeben");
}

void pruefeLuft(Pruefung& p) {
    const Einrichtungswerte& w = p.w();
    pruefeLuftdruck(p, Control::txt_Lufttemp, Control::txt_AbluftFeuchte, w.pvAbluft);
    pruefeLuftdruck(p, Control::txt_AussenluftTemp, Control::txt_AussenluftFeuchte, w.pvAussen);

    const bool abluftGut = p.gut({Control::txt_Lufttemp, Control::txt_AbluftFeuchte});
    // Air that is nearly pure vapour has its wet-bulb temperature at the boiling point, where
    // the saturation pressure reaches 1 bar: the search then runs past the point at which the
    // balance turns over and ends at 100 °C with a water load that is not a number of any use.
    if (abluftGut && !(Saettigungsdruck(w.thetaKG) < 1)) {
        p.melde(Control::txt_AbluftFeuchte,
                "bei " + zahl(w.thetaLuft) +
                    " °C ist die Abluft damit fast reiner Wasserdampf, ihre Kühlgrenztemperatur "
                    "läge am Siedepunkt",
                p.hoechstens(Control::txt_AbluftFeuchte, w.phiAbluft * 100) + " eingeben");
        return;
    }
    // The surface starts at the wet-bulb temperature; only air above it can give heat for
    // evaporation. Air at or below 0 °C finds no wet-bulb temperature in the search's range.
    if (abluftGut && !(w.thetaKG < w.thetaLuft)) {
        p.melde(Control::txt_Lufttemp,
                "Abluft mit " + zahl(p.wert(Control::txt_AbluftFeuchte)) +
                    " % Feuchte hat dabei keine Kühlgrenztemperatur unterhalb der Lufttemperatur "
                    "und kann kein Wasser aufnehmen, die Platte würde nie trocknen",
                "eine höhere Ablufttemperatur oder eine niedrigere Abluftfeuchte eingeben");
        return;
    }
    // Counter-current: the outside air is heated to the supply temperature and cools along the
    // plates until it leaves as exhaust air. Outside air at or above the exhaust temperature
    // describes no dryer (the energy demand would come out negative).
    if (abluftGut && p.gut({Control::txt_AussenluftTemp, Control::txt_AussenluftFeuchte}) &&
        !(w.thetaAussen < w.thetaLuft)) {
        p.melde(Control::txt_AussenluftTemp,
                "im Gegenstromtrockner wird die Außenluft auf die Zulufttemperatur erwärmt und "
                "kühlt sich an den Platten bis zur Ablufttemperatur ab; sie muss kälter sein als "
                "die Abluft (" +
                    beschriftung(Control::txt_Lufttemp) + ": " + zahl(w.thetaLuft) + " °C)",
                "eine niedrigere Außenlufttemperatur oder eine höhere Ablufttemperatur eingeben");
    }

    // Counter-current: the air enters as outside air and leaves as exhaust air; it can only
    // carry water out of the dryer if it leaves wetter than it came in.
    if (abluftGut && p.gut({Control::txt_AussenluftTemp, Control::txt_AussenluftFeuchte}) &&
        !(w.XAbluftAbluft > static_cast<double>(w.XAussen))) {
        p.melde(Control::txt_AbluftFeuchte,
                "die Abluft trägt damit " + zahl(w.XAbluftAbluft, 4) +
                    " kg/kg Wasser, nicht mehr als die Außenluft (" +
                    zahl(static_cast<double>(w.XAussen), 4) +
                    " kg/kg), und könnte kein Wasser aus dem Trockner tragen",
                "eine höhere Abluftfeuchte oder eine trockenere Außenluft eingeben");
    }
}

void pruefeSchwindung(Pruefung& p) {
    if (!p.gut({Control::txt_rhos, Control::txt_XAnf, Control::txt_linTrSchwind})) return;
    const Einrichtungswerte& w = p.w();
    const double volumenTrocken = std::pow(1 - w.s, 3);  // dried plate relative to the green
    if (!(w.psiRoh < 1)) {
        // The green plate is saturated: solids and water only.
        p.melde(Control::txt_XAnf,
                "mit " + zahl(w.rhos) + " kg/m³ Trockendichte und " + zahl(w.linTrSchwind) +
                    " % Schwindung bestünde der Rohling nur aus Wasser",
                p.hoechstens(Control::txt_XAnf, kDichteWasser / (w.rhos * volumenTrocken)) +
                    " eingeben");
        return;
    }
    if (!(w.offPoren > 0)) {
        // Shrinking may not take more volume than the green plate holds water.
        const double sMax = 1 - std::pow(1 + w.XAnf * w.rhos / kDichteWasser, -1.0 / 3.0);
        p.melde(Control::txt_linTrSchwind,
                "beim Schwinden ginge mehr Volumen verloren, als der Rohling Wasser enthält",
                p.hoechstens(Control::txt_linTrSchwind, 100 * sMax) +
                    " eingeben oder die Anfangswasserbeladung erhöhen");
        return;
    }
    if (p.gut(Control::txt_KappaSteig) && std::abs(w.KappaSteig) * w.offPoren > kMaxDekaden) {
        const double stufe = dritteStelle(kMaxDekaden / w.offPoren);
        const double grenze = std::floor(kMaxDekaden / w.offPoren / stufe) * stufe;
        p.melde(Control::txt_KappaSteig,
                "die Feuchteleitfähigkeit änderte sich damit bis zur trockenen Masse um mehr als "
                "100 Zehnerpotenzen",
                "einen Wert von -" + zahl(grenze) + " bis " + zahl(grenze) + " eingeben");
    }
}

// Safety net behind the checks above: every quantity the set-up stores must be a number.
void pruefeAbgeleitet(Pruefung& p) {
    const Einrichtungswerte& w = p.w();
    struct Groesse {
        double wert;
        bool positiv;  // must also be above 0
        const char* name;
        std::array<Control, 4> felder;
        std::size_t anzahl;
    };
    const Groesse groessen[] = {
        {w.Dicke,
         true,
         "die Dicke der getrockneten Platte",
         {Control::txt_Dicke, Control::txt_linTrSchwind},
         2},
        {w.spezOberfl,
         true,
         "die spezifische Oberfläche",
         {Control::txt_Dicke, Control::txt_rhos, Control::txt_linTrSchwind},
         3},
        {w.thetaKG,
         false,
         "die Kühlgrenztemperatur",
         {Control::txt_Lufttemp, Control::txt_AbluftFeuchte},
         2},
        {w.XAbluft,
         false,
         "die Wasserbeladung der Abluft",
         {Control::txt_Lufttemp, Control::txt_AbluftFeuchte},
         2},
        {w.pvLuft,
         false,
         "den Dampfdruck der Abluft",
         {Control::txt_Lufttemp, Control::txt_AbluftFeuchte},
         2},
        {w.LuftRohlingVerh,
         true,
         "den spezifischen Luftdurchsatz",
         {Control::txt_XAnf, Control::txt_XZiel, Control::txt_AbluftFeuchte,
          Control::txt_AussenluftFeuchte},
         4},
        {w.XSchwEnde,
         true,
         "die Wasserbeladung am Schwindungsende",
         {Control::txt_rhos, Control::txt_XAnf, Control::txt_linTrSchwind},
         3},
        {w.psi25,
         true,
         "den Wasseranteil bei 0,25 kg/kg",
         {Control::txt_rhos, Control::txt_XAnf, Control::txt_linTrSchwind},
         3},
        {w.rhos25,
         true,
         "die Trockendichte bei 0,25 kg/kg",
         {Control::txt_rhos, Control::txt_XAnf, Control::txt_linTrSchwind},
         3},
        {w.FeuchteleitGrenz,
         true,
         "die Feuchteleitfähigkeit an der Grenzfeuchte",
         {Control::txt_Feuchteleit, Control::txt_XAnf, Control::txt_linTrSchwind},
         3},
    };
    for (const Groesse& g : groessen) {
        const bool gut = std::isfinite(g.wert) && (!g.positiv || g.wert > 0);
        if (gut) continue;
        std::string felder;
        for (std::size_t i = 0; i < g.anzahl; ++i) {
            if (i > 0) felder += (i + 1 == g.anzahl) ? " und " : ", ";
            felder += beschriftung(g.felder[i]);
        }
        p.meldungen().push_back(
            {Control::Count, "Die Eingaben ergeben zusammen keinen berechenbaren Wert für " +
                                 std::string(g.name) + " – bitte " + felder + " prüfen."});
    }
}

std::vector<std::string> pruefe(const InputTexts& texts, bool mitVorschlaegen) {
    Pruefung p(texts, mitVorschlaegen);
    pruefeZahlVorhanden(p);
    pruefeEndlich(p);
    pruefeFelder(p);
    pruefeGitter(p);
    pruefeLuft(p);
    pruefeSchwindung(p);
    if (p.meldungen().empty()) pruefeAbgeleitet(p);
    // The messages in the order of the fields in the window, top to bottom.
    std::stable_sort(p.meldungen().begin(), p.meldungen().end(),
                     [](const auto& a, const auto& b) { return index(a.feld) < index(b.feld); });
    std::vector<std::string> texte;
    for (auto& m : p.meldungen())
        texte.push_back(std::move(m.text));
    return texte;
}

}  // namespace

std::vector<std::string> pruefeEingaben(const InputTexts& texts) {
    return pruefe(texts, true);
}

}  // namespace tesmo
