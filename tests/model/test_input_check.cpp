#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/input_check.h"
#include "model/run_state.h"
#include "model/setup.h"
#include "model/text_to_number.h"
#include "recording_port.h"

namespace tesmo {

namespace {

using Aenderung = std::pair<Control, const char*>;

InputTexts mit(std::initializer_list<Aenderung> aenderungen) {
    InputTexts t = defaultInputTexts();
    for (const auto& [feld, text] : aenderungen)
        t[feld] = text;
    return t;
}

std::string beschriftung(Control feld) {
    std::string c = inputCaption(feld);
    while (!c.empty() && c.back() == ' ')
        c.pop_back();
    return "„" + c + "“";
}

// The number a message proposes after "höchstens ".
std::string vorschlag(const std::string& meldung) {
    const std::string marke = "höchstens ";
    const std::size_t a = meldung.find(marke);
    if (a == std::string::npos) return "";
    const std::size_t b = meldung.find_first_of(" .", a + marke.size());
    std::string zahl = meldung.substr(a + marke.size(), b - a - marke.size());
    // The message ends in a full stop; a decimal comma is part of the number.
    return zahl;
}

}  // namespace

TEST(EingabePruefung, AcceptsTheDefaultsAndOrdinaryVariations) {
    EXPECT_TRUE(pruefeEingaben(defaultInputTexts()).empty());
    for (auto t : {mit({{Control::txt_XAnf, "0,30"}}), mit({{Control::txt_linTrSchwind, "0"}}),
                   mit({{Control::txt_Dicke, "0,6"}}),  // 0.6/0.1/2 is 3 only within rounding
                   mit({{Control::txt_AussenluftFeuchte, "100"}}),
                   mit({{Control::txt_Dicke, "20 mm"}}),  // the leading number counts
                   mit({{Control::txt_AussenluftTemp, " 15 °C"}}),
                   mit({{Control::txt_Lufttemp, "150"}, {Control::txt_AbluftFeuchte, "20"}}),
                   mit({{Control::txt_AussenluftTemp, "-40"}})}) {
        EXPECT_TRUE(pruefeEingaben(t).empty()) << pruefeEingaben(t).front();
    }
}

TEST(EingabePruefung, RefusalMatrix) {
    struct Fall {
        std::vector<Aenderung> aenderungen;
        Control benannt;       // the field the message names
        const char* enthaelt;  // and a part of what it says
    };
    using C = Control;
    const Fall faelle[] = {
        {{{C::txt_Dicke, "0"}},
         C::txt_Dicke,
         "0 ist nicht möglich – bitte einen Wert größer als 0"},
        {{{C::txt_Dicke, "-5"}}, C::txt_Dicke, "-5 ist nicht möglich"},
        {{{C::txt_Dicke, "abc"}}, C::txt_Dicke, "ohne Zahl"},
        {{{C::txt_Ortsschrittweite, "0"}}, C::txt_Ortsschrittweite, "größer als 0"},
        {{{C::txt_rhos, "0"}}, C::txt_rhos, "größer als 0"},
        {{{C::txt_deltaT, "0"}}, C::txt_deltaT, "größer als 0"},
        {{{C::txt_Waermeuebergang, "-50"}}, C::txt_Waermeuebergang, "größer als 0"},
        {{{C::txt_lambda, "0"}}, C::txt_lambda, "größer als 0"},
        {{{C::txt_Feuchteleit, "0"}}, C::txt_Feuchteleit, "größer als 0"},
        {{{C::txt_mue, "0"}}, C::txt_mue, "größer als 0"},
        {{{C::txt_mue, "1E7"}}, C::txt_mue, "rechenbaren Bereichs"},
        {{{C::txt_Ortsschrittweite, "1E-7"}}, C::txt_Ortsschrittweite, "rechenbaren Bereichs"},
        {{{C::txt_Ortsschrittweite, "15"}}, C::txt_Ortsschrittweite, "höchstens 10 eingeben"},
        // Thinner than two of the smallest space steps: the thickness itself is refused (the
        // half thickness would be no space step that may be typed).
        {{{C::txt_Dicke, "0,0000015"}}, C::txt_Dicke, "zwischen 0,000002 und 1000000"},
        {{{C::txt_Ortsschrittweite, "0,01"}}, C::txt_Ortsschrittweite, "z. B. 0,02"},
        {{{C::txt_Ortsschrittweite, "0,3"}}, C::txt_Ortsschrittweite, "z. B. 0,3125 oder 0,25"},
        {{{C::txt_rund, "49"}}, C::txt_rund, "ganze Zahl ab 50"},
        {{{C::txt_rund, "1200,5"}}, C::txt_rund, "ganze Zahl ab 50"},
        {{{C::txt_rund, "1E10"}}, C::txt_rund, "1000000000"},
        {{{C::txt_XAnf, "0"}}, C::txt_XAnf, "größer als 0"},
        {{{C::txt_XZiel, "0,25"}}, C::txt_XZiel, "kleiner als die Anfangswasserbeladung (0,25)"},
        {{{C::txt_XZiel, "0,3"}}, C::txt_XZiel, "kleiner als die Anfangswasserbeladung"},
        {{{C::txt_XZiel, "-0,01"}}, C::txt_XZiel, "negative"},
        {{{C::txt_XZiel, "1E39"}}, C::txt_XZiel, "zu groß"},  // finite, but not in single precision
        {{{C::txt_rhos, "1E999"}}, C::txt_rhos, "zu groß zum Rechnen"},
        {{{C::txt_linTrSchwind, "100"}}, C::txt_linTrSchwind, "ganz verschwinden"},
        {{{C::txt_linTrSchwind, "-1"}}, C::txt_linTrSchwind, "von 0 bis unter 100"},
        {{{C::txt_linTrSchwind, "30"}}, C::txt_linTrSchwind, "mehr Volumen"},
        {{{C::txt_XAnf, "0,7"}}, C::txt_XAnf, "nur aus Wasser"},
        {{{C::txt_Lufttemp, "-300"}}, C::txt_Lufttemp, "-234,175"},
        {{{C::txt_AussenluftTemp, "-234,175"}}, C::txt_AussenluftTemp, "-234,175"},
        {{{C::txt_Lufttemp, "20000"}}, C::txt_Lufttemp, "höchstens 10000"},
        {{{C::txt_AbluftFeuchte, "101"}}, C::txt_AbluftFeuchte, "gesättigt"},
        {{{C::txt_AbluftFeuchte, "100"}}, C::txt_AbluftFeuchte, "nie trocknen"},
        {{{C::txt_AbluftFeuchte, "-1"}}, C::txt_AbluftFeuchte, "negative Feuchte"},
        {{{C::txt_AussenluftFeuchte, "100,5"}}, C::txt_AussenluftFeuchte, "von 0 bis 100"},
        {{{C::txt_Lufttemp, "120"}, {C::txt_AbluftFeuchte, "60"}}, C::txt_AbluftFeuchte, "1 bar"},
        {{{C::txt_AussenluftTemp, "110"}, {C::txt_AussenluftFeuchte, "100"}},
         C::txt_AussenluftFeuchte,
         "1 bar"},
        {{{C::txt_Lufttemp, "0"}}, C::txt_Lufttemp, "nie trocknen"},
        {{{C::txt_Lufttemp, "150"}, {C::txt_AbluftFeuchte, "20,77"}},
         C::txt_AbluftFeuchte,
         "Siedepunkt"},
        {{{C::txt_Lufttemp, "-20"}, {C::txt_AbluftFeuchte, "0"}}, C::txt_Lufttemp, "nie trocknen"},
        {{{C::txt_AbluftFeuchte, "10"}}, C::txt_AbluftFeuchte, "nicht mehr als die Außenluft"},
        {{{C::txt_AbluftFeuchte, "0"}, {C::txt_AussenluftFeuchte, "0"}},
         C::txt_AbluftFeuchte,
         "nicht mehr als die Außenluft"},
        {{{C::txt_KappaSteig, "500"}}, C::txt_KappaSteig, "100 Zehnerpotenzen"},
        {{{C::txt_KappaSteig, "-500"}}, C::txt_KappaSteig, "100 Zehnerpotenzen"},
    };
    for (const Fall& f : faelle) {
        InputTexts t = defaultInputTexts();
        for (const auto& [feld, text] : f.aenderungen)
            t[feld] = text;
        const auto m = pruefeEingaben(t);
        const std::string fall =
            std::string(controlName(f.aenderungen[0].first)) + " = " + f.aenderungen[0].second;
        ASSERT_EQ(m.size(), 1u) << fall << (m.empty() ? "" : ": " + m[0] + " / " + m.back());
        EXPECT_EQ(m[0].rfind(beschriftung(f.benannt) + ": ", 0), 0u) << fall << ": " << m[0];
        EXPECT_NE(m[0].find(f.enthaelt), std::string::npos) << fall << ": " << m[0];
        EXPECT_EQ(m[0].back(), '.') << m[0];

        // Where a message proposes a limit, that value clears the field.
        const std::string v = vorschlag(m[0]);
        if (!v.empty()) {
            InputTexts korrigiert = t;
            korrigiert[f.benannt] = v;
            for (const auto& rest : pruefeEingaben(korrigiert))
                EXPECT_NE(rest.rfind(beschriftung(f.benannt), 0), 0u) << fall << " -> " << rest;
        }
    }
}

TEST(EingabePruefung, EveryFieldRefusesATextWithoutANumber) {
    // A typo such as a lower-case L for a 1 would otherwise run with 0, which is a legal value
    // of several fields (target water load, temperatures, humidities, shrinkage, slope).
    for (int i = 0; i < kInputCount; ++i) {
        const Control feld = controlAt(i);
        for (const char* text : {"", "   ", "l5", "abc", "-", ",", "E5", "°C 15"}) {
            InputTexts t = defaultInputTexts();
            t[feld] = text;
            const auto m = pruefeEingaben(t);
            const std::string fall = std::string(controlName(feld)) + " = \"" + text + "\"";
            ASSERT_EQ(m.size(), 1u) << fall << (m.empty() ? "" : ": " + m.back());
            EXPECT_EQ(m[0].rfind(beschriftung(feld) + ": ein Text ohne Zahl (gilt als 0) ist "
                                                      "nicht möglich – bitte ",
                                 0),
                      0u)
                << fall << ": " << m[0];
        }
    }
    // Where 0 is legal the advice is an example, not "greater than 0".
    EXPECT_EQ(pruefeEingaben(mit({{Control::txt_AussenluftTemp, "l5"}})).at(0),
              "„Außenlufttemperatur in °C“: ein Text ohne Zahl (gilt als 0) ist nicht möglich – "
              "bitte eine Zahl eingeben, z. B. 15.");
    EXPECT_NE(pruefeEingaben(mit({{Control::txt_Dicke, ""}})).at(0).find("größer als 0"),
              std::string::npos);
}

TEST(EingabePruefung, OutsideAirAtOrAboveTheExhaustTemperatureDescribesNoDryer) {
    for (auto t :
         {mit({{Control::txt_AussenluftTemp, "89,095"}, {Control::txt_Lufttemp, "78,219"}}),
          mit({{Control::txt_AussenluftTemp, "35"}})}) {
        const auto m = pruefeEingaben(t);
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(m[0].rfind(beschriftung(Control::txt_AussenluftTemp) + ": ", 0), 0u) << m[0];
        EXPECT_NE(m[0].find(beschriftung(Control::txt_Lufttemp)), std::string::npos) << m[0];
    }
    EXPECT_TRUE(pruefeEingaben(mit({{Control::txt_AussenluftTemp, "34,9"}})).empty());
}

TEST(EingabePruefung, ProposedSpaceStepsAreAccepted) {
    for (const char* schritt : {"0,3", "0,07", "0,013", "3,7"}) {
        const auto m = pruefeEingaben(mit({{Control::txt_Ortsschrittweite, schritt}}));
        ASSERT_EQ(m.size(), 1u) << schritt;
        const std::size_t a = m[0].find("z. B. ");
        ASSERT_NE(a, std::string::npos) << m[0];
        std::string rest = m[0].substr(a + 6);
        for (std::size_t e; !rest.empty(); rest = rest.substr(e)) {
            e = rest.find(' ');
            const std::string zahl = rest.substr(0, std::min(e, rest.size() - 1));
            EXPECT_TRUE(
                pruefeEingaben(mit({{Control::txt_Ortsschrittweite, zahl.c_str()}})).empty())
                << schritt << " -> " << zahl;
            if (e == std::string::npos) break;
            e = rest.find(' ', e + 1);  // skip "oder"
            if (e == std::string::npos) break;
            ++e;
        }
    }
}

TEST(EingabePruefung, SeveralProblemsGiveSeveralMessages) {
    const auto m = pruefeEingaben(mit({{Control::txt_Dicke, "0"},
                                       {Control::txt_rhos, ""},
                                       {Control::txt_rund, "10"},
                                       {Control::txt_AbluftFeuchte, "120"}}));
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].rfind(beschriftung(Control::txt_Dicke), 0), 0u);
    EXPECT_EQ(m[1].rfind(beschriftung(Control::txt_rhos), 0), 0u);
}

TEST(EingabePruefung, RefusalTouchesNoRunState) {
    // The check takes the texts alone: whatever it refuses, the run state stays as it was.
    auto st = std::make_unique<RunState>();
    test::RecordingPort port;
    Einrichtung(*st, defaultInputTexts(), port);
    const auto vorher = std::make_unique<RunState>(*st);
    EXPECT_FALSE(pruefeEingaben(mit({{Control::txt_Dicke, "0"}})).empty());
    EXPECT_EQ(std::memcmp(static_cast<const void*>(st.get()),
                          static_cast<const void*>(vorher.get()), sizeof(RunState)),
              0);
}

namespace {

std::string text(double v, std::mt19937_64& zufall) {
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, v);
    std::string t(puffer, r.ptr);
    if (zufall() % 2)
        for (char& c : t)
            if (c == '.') c = ',';
    return t;
}

// Texts for every field: mostly from wide plausible ranges, some absurd.
InputTexts zufallsTexte(std::mt19937_64& zufall) {
    std::uniform_real_distribution<double> eins(0, 1);
    auto bereich = [&](double a, double b) { return a + (b - a) * eins(zufall); };
    auto logBereich = [&](double a, double b) {
        return std::exp(bereich(std::log(a), std::log(b)));
    };
    static const char* const kAbsurd[] = {"",      "abc",    "0",      "-0",   "1E999", "-1E999",
                                          "1E300", "-1E300", "1E-300", "1E39", "-1",    "100"};

    InputTexts t = defaultInputTexts();
    // A grid that divides most of the time.
    const int n = 1 + static_cast<int>(zufall() % 510);
    const double schritt = static_cast<double>(1 + zufall() % 200) / 100;
    t[Control::txt_Ortsschrittweite] = text(schritt, zufall);
    t[Control::txt_Dicke] = text(zufall() % 10 ? 2 * n * schritt : bereich(0.1, 100), zufall);
    const double rhos = logBereich(100, 5000);
    const double XAnf = bereich(0.01, 1000 / rhos);
    t[Control::txt_rhos] = text(rhos, zufall);
    t[Control::txt_XAnf] = text(XAnf, zufall);
    t[Control::txt_XZiel] = text(zufall() % 2 ? 0 : bereich(0, 0.3), zufall);
    // Up to a little more than the shrinkage that leaves no open pores.
    const double sMax = 100 * (1 - std::pow(1 + XAnf * rhos / 1000, -1.0 / 3.0));
    t[Control::txt_linTrSchwind] = text(bereich(0, 1.05) * sMax, zufall);
    t[Control::txt_Feuchteleit] = text(logBereich(0.01, 1000), zufall);
    t[Control::txt_lambda] = text(logBereich(0.01, 100), zufall);
    t[Control::txt_mue] = text(logBereich(1, 1000), zufall);
    t[Control::txt_Waermeuebergang] = text(logBereich(1, 1000), zufall);
    t[Control::txt_AussenluftTemp] =
        text(zufall() % 4 ? bereich(-30, 40) : bereich(-60, 110), zufall);
    t[Control::txt_AussenluftFeuchte] = text(bereich(0, 100), zufall);
    t[Control::txt_Lufttemp] = text(zufall() % 4 ? bereich(20, 200) : bereich(-250, 5000), zufall);
    t[Control::txt_AbluftFeuchte] = text(zufall() % 8 ? bereich(30, 100) : 99.9999999, zufall);
    t[Control::txt_deltaT] = text(logBereich(1e-3, 1e4), zufall);
    t[Control::txt_rund] = text(std::floor(bereich(40, 5000)), zufall);
    t[Control::txt_KappaSteig] = text(bereich(-50, 300), zufall);
    // Up to three fields get something absurd.
    for (int k = static_cast<int>(zufall() % 5) - 1; k > 0; --k) {
        const Control feld = controlAt(static_cast<int>(zufall() % kInputCount));
        t[feld] = zufall() % 2
                      ? kAbsurd[zufall() % std::size(kAbsurd)]
                      : text(std::pow(10.0, bereich(-320, 320)) * (zufall() % 2 ? 1 : -1), zufall);
    }
    return t;
}

bool endlich(const RunState& st) {
    const double werte[] = {st.nOrt,         st.Dicke,
                            st.rhos,         st.XAnf,
                            st.XZiel,        st.thetaLuft,
                            st.phiAbluft,    st.alpha,
                            st.lambda,       st.thetaAussen,
                            st.phiAussen,    st.mue,
                            st.deltaT,       st.rund,
                            st.linTrSchwind, st.Feuchteleit,
                            st.KappaSteig,   st.s,
                            st.spezOberfl,   st.pvAbluft,
                            st.XAbluft,      st.thetaKG,
                            st.thetaKG0,     st.pvAussen,
                            st.XAussen,      st.LuftRohlingVerh,
                            st.rhosRoh,      st.psiRoh,
                            st.offPoren,     st.XSchwEnde,
                            st.s25,          st.rhos25,
                            st.psi25,        st.FeuchteleitGrenz,
                            st.thetaLuftMom, st.thetaOb,
                            st.pvLuft};
    for (double v : werte)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

TEST(EingabePruefung, RandomSweepAcceptedSetsComputeAndRefusedOnesAreNamed) {
    std::mt19937_64 zufall(20070813);
    auto st = std::make_unique<RunState>();
    test::RecordingPort port;
    int angenommen = 0;
    int abgelehnt = 0;
    std::set<std::string> benannt;  // the fields that refusals named
    for (int lauf = 0; lauf < 10000; ++lauf) {
        const InputTexts t = zufallsTexte(zufall);
        const auto meldungen = pruefeEingaben(t);
        if (!meldungen.empty()) {
            ++abgelehnt;
            for (const auto& m : meldungen) {
                // Every refusal names a field; the general safety net never has to speak.
                ASSERT_EQ(m.rfind("„", 0), 0u) << m;
                ASSERT_EQ(m.back(), '.') << m;
                benannt.insert(m.substr(0, m.find(':')));
            }
            continue;
        }
        ++angenommen;
        port.calls.clear();
        Einrichtung(*st, t, port);
        SCOPED_TRACE(lauf);
        ASSERT_TRUE(endlich(*st));
        ASSERT_EQ(port.calls.size(), 4u);
        // What the later steps of the run rely on.
        EXPECT_EQ(st->nOrt, std::floor(st->nOrt));
        EXPECT_GE(st->nOrt, 1);
        EXPECT_LE(st->nOrt, kMaxNodes);
        EXPECT_GE(st->rund, 50);
        EXPECT_EQ(st->rund, std::floor(st->rund));
        EXPECT_GT(st->XAnf, st->XZiel);
        EXPECT_GE(st->XZiel, 0);
        EXPECT_GT(st->Dicke, 0);
        EXPECT_GT(st->LuftRohlingVerh, 0);
        EXPECT_GT(st->offPoren, 0);
        EXPECT_GT(st->psi25, 0);
        EXPECT_GT(st->FeuchteleitGrenz, 0);
        EXPECT_LT(st->thetaKG, st->thetaLuft);
        EXPECT_LT(st->pvAbluft, 1);
        EXPECT_LT(st->pvAussen, 1);
    }
    std::printf("%d angenommen, %d abgelehnt\n", angenommen, abgelehnt);
    // Both branches are exercised substantially, and every field was refused somewhere.
    EXPECT_GT(angenommen, 800);
    EXPECT_GT(abgelehnt, 500);
    EXPECT_EQ(benannt.size(), static_cast<std::size_t>(kInputCount));
}

}  // namespace tesmo
