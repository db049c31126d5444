#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <vector>

#include "model/moist_air.h"
#include "model/second_period.h"
#include "tests/model/run_fixture.h"

namespace tesmo {
namespace {

using namespace test;

int frontIn(std::initializer_list<double> profile) {
    auto st = std::make_unique<RunState>();
    st->nOrt = static_cast<double>(profile.size()) - 1;
    int i = 0;
    for (double x : profile)
        st->XKnoten[i++] = x;
    st->XKnoten[i] = st->XKnoten[i - 1];
    return frontSuche(*st, *st);
}

TEST(Frontsuche, FindsTheLastDryNodeAndTreatsANearlyDryCentreAsDry) {
    EXPECT_EQ(frontIn({-1, 0.3, 0.3, 0.3}), 0);
    EXPECT_EQ(frontIn({0.1, 0.2, 0.3, 0.3}), 0);  // node 1 wet: front at the surface
    EXPECT_EQ(frontIn({-1, -1, -1, 0.2, 0.3, 0.4}), 2);
    EXPECT_EQ(frontIn({-1, -1, -1, -1, -1, 0.002}), 4);
    EXPECT_EQ(frontIn({-1, -1, -1, -1, -1, 0.0005}), -1);  // centre below 0.001: dry
    EXPECT_EQ(frontIn({-1, -1, -1, -1, -1, -0.1}), -1);
    EXPECT_EQ(frontIn({-1, -0.5}), -1);
    EXPECT_EQ(frontIn({-1, 0.0005}), 0);  // a single wet node 1 is tested first
}

TEST(Spiegeltiefe, ZeroCrossingPlusHalfANode) {
    auto st = std::make_unique<RunState>();
    st->Ortsschritt = 0.001;
    st->XKnoten[0] = -1;
    st->XKnoten[1] = 1;
    EXPECT_DOUBLE_EQ(spiegeltiefe(*st, *st, 0), 0.001);
    st->XKnoten[2] = -0.2;
    st->XKnoten[3] = 0.2;
    EXPECT_DOUBLE_EQ(spiegeltiefe(*st, *st, 2), 0.003);
    // Two equal wet nodes: wet up to the surface, no dry layer (and no division by zero).
    st->XKnoten[0] = st->XKnoten[1] = 0.1;
    EXPECT_EQ(spiegeltiefe(*st, *st, 0), 0);
}

class ZweiterAbschnitt : public ::testing::Test {
  protected:
    std::unique_ptr<RunState> st = copyOf(defaultSecondPeriodStart());
    ProbePort port;

    // Surface node as wet as node 1: the front stands at the surface and no search runs.
    void frontAnDerOberflaeche() { st->XKnoten[0] = st->XKnoten[1]; }
};

TEST_F(ZweiterAbschnitt, TransitionKeepsTheFirstPeriodAndFixesTheSmoothingWeight) {
    EXPECT_EQ(st->t1TA, 7700);
    EXPECT_EQ(st->mGlaett, 770);
    EXPECT_EQ(st->thetaKernAlt, st->thetaOb);
    auto kurz = copyOf(*st);
    kurz->Laufzeit = 9.5;  // 19 steps of 0.5 s: 5 % is less than one step
    uebergang(*kurz, port);
    EXPECT_EQ(kurz->mGlaett, 0);
    EXPECT_EQ(port.calls, (std::vector<PortCall>{group(DisplayGroup::Transition),
                                                 drawing(ChartDrawing::ProfileAxes),
                                                 repainted(Control::pic_Ausgabe)}));
    kurz->Laufzeit = 10;
    uebergang(*kurz, port);
    EXPECT_EQ(kurz->mGlaett, 1);
}

TEST_F(ZweiterAbschnitt, FirstStepTakesTheWholeCoreTemperatureAsItsWarmUp) {
    ASSERT_EQ(st->thetaKernVorher, 0);
    const double kern = st->thetaKern;
    auto ohne = copyOf(*st);
    ohne->thetaKernVorher = kern;
    zweiterAbschnittSchritt(*st, port);
    zweiterAbschnittSchritt(*ohne, port);
    EXPECT_EQ(st->dThetaKern, static_cast<float>(kern));
    EXPECT_EQ(st->thetaKernVorher, kern);
    EXPECT_EQ(ohne->dThetaKern, 0.0f);
    EXPECT_GT(st->thetaLuftMom, ohne->thetaLuftMom);
}

// The corrected air balance: the plate enters the second period at the wet-bulb temperature
// it had at the end of the first, so its first step charges the air with no warming at all
// (the standard balance charges the warming from 0 °C: about 1,6 K of air temperature), and
// later steps charge c·ΔθKern without the factor Δt.
TEST_F(ZweiterAbschnitt, CorrectedBalanceCountsTheWarmingFromTheFirstPeriodsEndWithoutDt) {
    auto korr = copyOf(defaultBeforeFirstPeriodEnd());
    korr->optionen.luftbilanz = Luftbilanz::Korrigiert;
    NullPort still;
    ersterTrocknungsabschnitt(*korr, still);
    uebergang(*korr, still);
    EXPECT_EQ(korr->thetaKernVorher, korr->thetaKern);
    EXPECT_EQ(korr->thetaKernVorher, st->thetaOb);  // the same first period as the standard run

    auto ohne = copyOf(*st);  // the standard step without any sensible heat
    ohne->thetaKernVorher = ohne->thetaKern;
    const double luftVorher = st->thetaLuftMom;
    zweiterAbschnittSchritt(*st, port);
    zweiterAbschnittSchritt(*ohne, port);
    zweiterAbschnittSchritt(*korr, port);
    EXPECT_EQ(korr->dThetaKern, 0.0f);
    EXPECT_EQ(korr->thetaLuftMom, ohne->thetaLuftMom);
    EXPECT_NEAR(st->thetaLuftMom - luftVorher, 1.62, 0.05);
    EXPECT_LT(std::fabs(korr->thetaLuftMom - luftVorher), 0.01);

    // Later steps: the same warming of the wet zone adds twice as much to the air as the
    // standard balance at Δt = 0,5 s, and as much as it at Δt = 1 s (there the longer step also
    // carries twice the water into the air, which moves the rise by a few parts in a million).
    zweiterAbschnittSchritt(*korr, port);
    ASSERT_GT(korr->dThetaKern, 0.0f);
    auto standard = copyOf(*korr);
    standard->optionen.luftbilanz = Luftbilanz::Standard;
    auto ohneWaerme = copyOf(*korr);
    ohneWaerme->thetaKernVorher = ohneWaerme->thetaKern;
    auto standard1s = copyOf(*standard);
    standard1s->deltaT = 1;
    auto ohneWaerme1s = copyOf(*ohneWaerme);
    ohneWaerme1s->deltaT = 1;
    for (RunState* s :
         {korr.get(), standard.get(), ohneWaerme.get(), standard1s.get(), ohneWaerme1s.get()})
        zweiterAbschnittSchritt(*s, port);
    const double anstiegKorr = korr->thetaLuftMom - ohneWaerme->thetaLuftMom;
    EXPECT_GT(anstiegKorr, 0);
    EXPECT_NEAR((standard->thetaLuftMom - ohneWaerme->thetaLuftMom) / anstiegKorr, 0.5, 1e-9);
    EXPECT_NEAR(standard1s->thetaLuftMom - ohneWaerme1s->thetaLuftMom,
                korr->thetaLuftMom - ohneWaerme->thetaLuftMom, 1e-4 * anstiegKorr);
}

TEST_F(ZweiterAbschnitt, FirstStepFindsTheFrontNearTheSurfaceAndBalancesItsTemperature) {
    ASSERT_LT(st->XKnoten[0], 0);
    ASSERT_GE(st->XKnoten[1], 0);
    zweiterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->FrontKnoten, 0);
    EXPECT_GT(st->Spiegeltiefe, 0.5 * st->Ortsschritt);
    EXPECT_LE(st->Spiegeltiefe, 1.5 * st->Ortsschritt);
    EXPECT_GE(st->nIterKern, 11);
    EXPECT_LE(st->nIterKern, 51);
    if (st->nIterKern <= 50) {
        EXPECT_LT(std::fabs((st->mWaerme - st->mDiffusion) / st->mWaerme), 0.02);
    }
    EXPECT_GT(st->thetaKern, st->thetaOb);
    EXPECT_LT(st->thetaKern, st->thetaLuftMom);
    EXPECT_EQ(st->HistIndex, kDefaultFirstPeriodSteps);  // 15399 first-period records + 1
    EXPECT_EQ(st->VerlaufXOb[st->HistIndex], 0);
    EXPECT_EQ(st->VerlaufSpiegel[st->HistIndex], st->Spiegeltiefe);
}

TEST_F(ZweiterAbschnitt, WithoutSmoothingTheRateIsTheDiffusionRate) {
    st->mGlaett = 0;
    zweiterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->mPunkt, -st->mDiffusion);
    EXPECT_EQ(st->mPunktAlt, st->mPunkt);
}

TEST_F(ZweiterAbschnitt, FrontAtTheSurfaceEvaporatesAtTheWetBulb) {
    frontAnDerOberflaeche();
    st->nIterKern = 33;
    zweiterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->Spiegeltiefe, 0);
    EXPECT_EQ(st->thetaKern, st->thetaOb);
    EXPECT_EQ(st->thetaOberfl, st->thetaOb);
    EXPECT_EQ(st->nIterKern, 33);
    EXPECT_DOUBLE_EQ(st->mDiffusion, st->alpha * (st->thetaLuftMom - st->thetaOb) /
                                         Verdampfungswaerme(st->thetaOb));
}

// The warning label after a search keeps its state at 44 and 45 steps; at a curve step only
// 45 keeps it. A front at the surface keeps the count of the search before.
TEST_F(ZweiterAbschnitt, WarningLabelFollowsTheSearchLength) {
    struct Fall {
        int n;
        bool kurve;
        std::vector<PortCall> erwartet;
    };
    const PortCall show = visible(Control::lbl_Achtung, true);
    const PortCall hide = visible(Control::lbl_Achtung, false);
    const PortCall paint = repainted(Control::lbl_Achtung);
    const std::vector<Fall> faelle = {
        {43, false, {hide, paint}},
        {44, false, {}},
        {45, false, {}},
        {46, false, {show, paint}},
        {44, true, {hide, paint}},
        {45, true, {paint}},
        {46, true, {show, paint, show, paint}},
    };
    for (const Fall& f : faelle) {
        auto s = copyOf(defaultSecondPeriodStart());
        s->XKnoten[0] = s->XKnoten[1];
        s->nIterKern = f.n;
        if (f.kurve) s->KurvenZaehler = static_cast<int>(s->rund) - 1;
        ProbePort p;
        zweiterAbschnittSchritt(*s, p);
        std::vector<PortCall> label;
        for (const PortCall& c : p.calls) {
            if (c.what == int(Control::lbl_Achtung) &&
                (c.kind == PortCall::Visible || c.kind == PortCall::Repaint)) {
                label.push_back(c);
            }
        }
        EXPECT_EQ(label, f.erwartet) << f.n << (f.kurve ? " curve" : "");
        // The rate of a long search is marked from 45 steps on.
        const double rate = s->VerlaufRate[s->HistIndex];
        if (f.n >= 45) {
            EXPECT_EQ(rate, -100) << f.n;
        } else {
            EXPECT_EQ(rate, -3600 * s->mPunkt) << f.n;
        }
    }
}

TEST_F(ZweiterAbschnitt, CurveStepDrawsRefreshesAndResetsTheCounter) {
    st->KurvenZaehler = static_cast<int>(st->rund) - 1;
    zweiterAbschnittSchritt(*st, port);
    ASSERT_NE(st->nIterKern, 45);
    EXPECT_EQ(st->KurvenZaehler, 0);
    EXPECT_EQ(st->thetaKernAlt, st->thetaKern);
    const auto& c = port.calls;
    ASSERT_GE(c.size(), 6u);
    const std::vector<PortCall> tail(c.end() - 6, c.end());
    EXPECT_EQ(tail,
              (std::vector<PortCall>{group(DisplayGroup::SecondPeriodic),  // 1200 mod 24 = 0
                                     drawing(ChartDrawing::ProfileCurveSecond),
                                     visible(Control::lbl_Achtung, st->nIterKern > 45),
                                     repainted(Control::lbl_Achtung), repainted(Control::pic_Zeit),
                                     group(DisplayGroup::SecondRefresh)}));
}

// Air so humid and hot that the wet-bulb temperature is 99.5 °C: the first midpoint of the
// search lies above 100 °C, and the front boils.
TEST_F(ZweiterAbschnitt, FrontAbove100IsHeatLimitedAndShownAt100) {
    st->thetaLuftMom = 150;
    st->XAbluft = XausKuehlgrenze(150, 99.5);
    st->KurvenZaehler = 23;  // the next step writes the live values (every 24 steps)
    zweiterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->nIterKern, 1);
    const double kern = st->VerlaufThetaK[st->HistIndex];
    EXPECT_GT(kern, 100);
    EXPECT_DOUBLE_EQ(st->mDiffusion, st->qRand / Verdampfungswaerme(100));
    EXPECT_EQ(st->thetaKern, 100);  // lowered for the display, kept in the state
    EXPECT_EQ(st->thetaKernAlt, kern);
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::SecondPeriodic)), 1);
}

// Between about 99.63 °C and 100 °C the saturation pressure exceeds 1 bar and the diffusion
// law has no value: such a midpoint is treated like one above 100 °C.
TEST_F(ZweiterAbschnitt, FrontBetweenSaturationAt1BarAnd100IsHeatLimited) {
    st->Spiegeltiefe = 2 * st->Ortsschritt;
    st->thetaOb = 99;  // first midpoint (99 + 101)/2 = 100: pSatt = 1.013 bar
    st->pvLuft = 0.5;
    frontTemperatur(*st, *st);
    EXPECT_EQ(st->nIterKern, 1);
    EXPECT_EQ(st->thetaKern, 100);
    EXPECT_TRUE(std::isfinite(st->mDiffusion));
    EXPECT_DOUBLE_EQ(st->mDiffusion, st->qRand / Verdampfungswaerme(100));

    st->thetaOb = 98.2;  // midpoints 99.6, then 100.3: the first is still computed normally
    frontTemperatur(*st, *st);
    EXPECT_GE(st->nIterKern, 2);
    EXPECT_TRUE(std::isfinite(st->mDiffusion));
}

// The heat left for evaporation is exactly zero at the eleventh midpoint: the relative test
// has nothing to compare against, the search goes on and nothing non-finite appears.
TEST_F(ZweiterAbschnitt, SearchWithoutHeatForEvaporationGoesOn) {
    st->Spiegeltiefe = 0.0001;
    st->mue = 1;
    st->pvLuft = 0.01;
    st->thetaOb = 37;  // the search runs down from 101: midpoints 37 + 64/2^k
    st->thetaLuftMom = st->thetaKernAlt = 37 + 64.0 / 2048;
    frontTemperatur(*st, *st);
    EXPECT_EQ(st->nIterKern, 51);
    EXPECT_TRUE(std::isfinite(st->mWaerme));
    EXPECT_TRUE(std::isfinite(st->mDiffusion));
    EXPECT_TRUE(std::isfinite(st->thetaKern));
}

TEST_F(ZweiterAbschnitt, FrontAtTheMidplaneEndsTheRunWithoutARecord) {
    for (int i = 0; i <= 101; ++i)
        st->XKnoten[i] = -0.01;
    const int records = st->HistIndex;
    EXPECT_FALSE(zweiterAbschnittSchritt(*st, port));
    EXPECT_EQ(st->Laufende, RunEnd::Midplane);
    EXPECT_EQ(st->HistIndex, records);
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::SecondRefresh));
    EXPECT_EQ(st->thetaKernAlt, st->thetaKern);
}

TEST_F(ZweiterAbschnitt, TargetReachedEndsTheRunWithoutARecord) {
    st->XZiel = 0.2f;
    const int records = st->HistIndex;
    EXPECT_FALSE(zweiterAbschnittSchritt(*st, port));
    EXPECT_EQ(st->Laufende, RunEnd::Target);
    EXPECT_EQ(st->HistIndex, records);
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::SecondRefresh));
}

TEST_F(ZweiterAbschnitt, FullHistoriesEndTheRunAndShowWhatWasReached) {
    st->HistIndex = kMaxHistoryIndex;
    EXPECT_FALSE(zweiterAbschnittSchritt(*st, port));
    EXPECT_EQ(st->Laufende, RunEnd::HistoryFull);
    EXPECT_EQ(st->HistIndex, kMaxHistoryIndex);
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::SecondRefresh));
}

TEST_F(ZweiterAbschnitt, ValueThatIsNotANumberEndsTheRunBeforeItIsShown) {
    st->alpha = 0;  // no heat transfer: the surface temperature becomes 0/0
    st->KurvenZaehler = static_cast<int>(st->rund) - 1;
    EXPECT_FALSE(zweiterAbschnittSchritt(*st, port));
    EXPECT_EQ(st->Laufende, RunEnd::NonFinite);
    for (const PortCall& c : port.calls)
        EXPECT_NE(c.kind, PortCall::Group);
    EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::ProfileCurveSecond)), 0);
}

}  // namespace
}  // namespace tesmo
