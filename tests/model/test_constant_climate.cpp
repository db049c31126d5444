// The climate-chamber run: the plate dries in air that stays at the exhaust-air state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/drying_run.h"
#include "model/input_check.h"
#include "model/setup.h"
#include "model/text_to_number.h"
#include "tests/model/run_fixture.h"

namespace tesmo {
namespace {

using namespace test;

// A coarse, thin plate: the same physics as the default case in a fraction of its time.
InputTexts coarseTexts(Klima klima) {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = "10,0";
    t[Control::txt_Ortsschrittweite] = "0,25";
    t[Control::txt_deltaT] = "2,0";
    t[Control::txt_XZiel] = "0,02";
    t.optionen.klima = klima;
    return t;
}

struct Finished {
    std::unique_ptr<RunState> st = std::make_unique<RunState>();
    RecordingPort port;
    RunEnd end = RunEnd::None;
};

std::unique_ptr<Finished> runOf(const InputTexts& texts) {
    auto r = std::make_unique<Finished>();
    r->end = Trocknungslauf(*r->st, texts, r->port);
    return r;
}

TEST(KonstantesKlima, AirStaysAtTheExhaustStateAndTheDryerBalanceDoesNotApply) {
    const auto run = runOf(coarseTexts(Klima::Konstant));
    const RunState& st = *run->st;
    ASSERT_EQ(run->end, RunEnd::Target);
    const Einrichtungswerte w = berechneEinrichtung(coarseTexts(Klima::Konstant));
    EXPECT_EQ(st.thetaLuftMom, w.thetaLuft);
    EXPECT_EQ(st.XAbluft, w.XAbluft);
    // Every record of the air temperature is the exhaust air's (the evaluation's smoothing of a
    // constant stays that constant).
    for (int j = 0; j <= st.HistIndex; ++j)
        ASSERT_NEAR(st.VerlaufThetaLuft[static_cast<std::size_t>(j)], w.thetaLuft, 1e-12) << j;
    // The plate itself went through both periods and was evaluated.
    EXPECT_GT(st.t1TA, 0);
    EXPECT_LT(st.t1TA, st.Laufzeit);
    EXPECT_EQ(run->port.count(PortCall::Group, int(DisplayGroup::EndWaterError)), 1);
    EXPECT_TRUE(std::isfinite(st.Wasserfehler));
    EXPECT_LT(st.Wasserfehler, 3);
    // Neither air demand nor energy demand: nothing shown, not a number in the state.
    EXPECT_EQ(run->port.count(PortCall::Group, int(DisplayGroup::SetupAir)), 0);
    EXPECT_EQ(run->port.count(PortCall::Group, int(DisplayGroup::EndEnergy)), 0);
    EXPECT_TRUE(std::isnan(st.LuftRohlingVerh));
    EXPECT_TRUE(std::isnan(st.spezEnergie));
    EXPECT_TRUE(std::isnan(st.relEnergie));
}

TEST(KonstantesKlima, OutsideAirIsNeitherReadNorChecked) {
    // What a counter-current dryer refuses about its outside air: no number, a humidity above
    // 100 %, air warmer than the exhaust air, air wetter than it.
    const char* faelle[][2] = {{"abc", "60"}, {"15", "200"}, {"50", "60"}, {"34", "100"}};
    for (const auto& fall : faelle) {
        InputTexts t = coarseTexts(Klima::Gegenstrom);
        t[Control::txt_AussenluftTemp] = fall[0];
        t[Control::txt_AussenluftFeuchte] = fall[1];
        EXPECT_FALSE(checkInputs(t).empty()) << fall[0] << " " << fall[1];
        t.optionen.klima = Klima::Konstant;
        EXPECT_TRUE(checkInputs(t).empty()) << fall[0] << " " << fall[1];
        // And the run does not depend on them.
        const auto a = runOf(t);
        const auto b = runOf(coarseTexts(Klima::Konstant));
        EXPECT_EQ(a->st->Laufzeit, b->st->Laufzeit);
        EXPECT_EQ(a->st->Wasserfehler, b->st->Wasserfehler);
    }
    // The plate and the exhaust air are checked as always.
    InputTexts t = coarseTexts(Klima::Konstant);
    t[Control::txt_AbluftFeuchte] = "100";
    EXPECT_FALSE(checkInputs(t).empty());
}

// The relative humidity of outside air at thetaAussen whose water load lies `delta` below the
// exhaust air's, as a text the set-up reads back.
std::string feuchteFuerAbstand(InputTexts t, double delta) {
    const double ziel = berechneEinrichtung(t).XAbluftAbluft - delta;
    double lo = 0, hi = 100;
    for (int i = 0; i < 200; ++i) {
        const double mitte = (lo + hi) / 2;
        t[Control::txt_AussenluftFeuchte] = ZahlZuText(mitte, 17);
        (static_cast<double>(berechneEinrichtung(t).XAussen) < ziel ? lo : hi) = mitte;
    }
    return ZahlZuText(lo, 17);
}

// The largest difference of the mean water load between two runs over their common records.
double groessteAbweichung(const RunState& a, const RunState& b) {
    double d = 0;
    for (int j = 0; j <= std::min(a.HistIndex, b.HistIndex); ++j) {
        const auto i = static_cast<std::size_t>(j);
        d = std::max(d, std::fabs(a.VerlaufXmom[i] - b.VerlaufXmom[i]));
    }
    return d;
}

// Counter-current air whose outside state lies a water load `delta` below the exhaust air
// changes along the whole dryer by delta in water load and, through the heat that evaporated
// that water, by about r0/cp·delta = 2500·delta K in temperature. The plate feels that as a
// relative change of its driving temperature difference (air minus wet bulb) of at most
// 2500·delta/(thetaLuft − thetaKG), and only at the dryer's far end; so the drying time may differ
// from the climate chamber's by at most that share, and every difference vanishes to first order
// in delta. What is left at delta = 1e-6 (a shift of the first period's end by two time steps of
// 2 s, about 7e-5 kg/kg at the kink) is the time grid, not the air.
TEST(KonstantesKlima, CounterCurrentWithHardlyChangingAirApproachesIt) {
    const auto konstant = runOf(coarseTexts(Klima::Konstant));
    const RunState& k = *konstant->st;
    InputTexts t = coarseTexts(Klima::Gegenstrom);
    t[Control::txt_AussenluftTemp] = "34";  // just below the exhaust air's 35 °C
    const double treibend = k.thetaLuft - k.thetaKG;
    double vorher = 1;
    for (double delta : {1e-3, 1e-4, 1e-5, 1e-6}) {
        t[Control::txt_AussenluftFeuchte] = feuchteFuerAbstand(t, delta);
        ASSERT_TRUE(checkInputs(t).empty()) << delta;
        const auto gegen = runOf(t);
        ASSERT_EQ(gegen->end, RunEnd::Target);
        const RunState& g = *gegen->st;
        EXPECT_LE(std::fabs(g.Laufzeit - k.Laufzeit) / k.Laufzeit, 2500 * delta / treibend)
            << delta;
        const double dX = groessteAbweichung(g, k);
        EXPECT_LT(dX, vorher / 5) << delta;  // first order: a tenth of delta, a tenth of dX
        vorher = dX;
        if (delta == 1e-6) {
            EXPECT_LE(std::fabs(g.Laufzeit - k.Laufzeit), 3 * k.deltaT);
            EXPECT_LE(std::fabs(g.t1TA - k.t1TA), 3 * k.deltaT);
            EXPECT_LT(dX, 1e-4);
        }
    }
}

}  // namespace
}  // namespace tesmo
