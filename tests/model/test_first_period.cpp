#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/first_period.h"
#include "model/shrinkage.h"
#include "model/shrinkage_tracking.h"
#include "tests/model/run_fixture.h"

namespace tesmo {
namespace {

using namespace test;

TEST(ErsterAbschnitt, PreparationStoresTheStartRecordAndShowsTheStartRate) {
    auto st = std::make_unique<RunState>();
    st->StopFlag = 1;
    st->VerlaufXOb[0] = st->VerlaufXK[0] = st->VerlaufSpiegel[0] = 9;
    NullPort quiet;
    Einrichtung(*st, defaultInputTexts(), quiet);
    ProbePort port;
    ersterAbschnittVorbereiten(*st, port);
    EXPECT_EQ(port.calls, (std::vector<PortCall>{group(DisplayGroup::StartRate)}));
    EXPECT_EQ(st->StopFlag, 0);
    EXPECT_DOUBLE_EQ(st->Ortsschritt, 0.01876 / 200);
    EXPECT_DOUBLE_EQ(st->KurvenDx, 105);
    EXPECT_EQ(st->XKnoten[101], 0.25);
    EXPECT_EQ(st->VerlaufRate[0], st->Anfangsrate);
    EXPECT_EQ(st->VerlaufThetaK[0], st->thetaKG);
    // The surface, core and front histories get no start record.
    EXPECT_EQ(st->VerlaufXOb[0], 9);
    EXPECT_EQ(st->VerlaufXK[0], 9);
    EXPECT_EQ(st->VerlaufSpiegel[0], 9);
}

TEST(ErsterAbschnitt, AirIsNotAdvancedInTheFirstStepNorRightAfterACurve) {
    auto st = preparedRun(textsWith(Control::txt_rund, "50"));
    ProbePort port;
    const double luft = st->thetaLuftMom, wasser = st->XAbluft;
    ersterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->thetaLuftMom, luft);
    EXPECT_EQ(st->XAbluft, wasser);
    ersterAbschnittSchritt(*st, port);
    EXPECT_GT(st->thetaLuftMom, luft);  // the air met next is warmer and drier
    EXPECT_LT(st->XAbluft, wasser);
    for (int k = 3; k <= 50; ++k)
        ersterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->KurvenZaehler, 0);
    // With rund = 50 the live values are written in every step, the curve group after step 50.
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::FirstPeriodic)), 50);
    EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::ProfileCurveFirst)), 1);
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::FirstCurve));
    const double nachKurve = st->thetaLuftMom;
    ersterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->thetaLuftMom, nachKurve);
    ersterAbschnittSchritt(*st, port);
    EXPECT_GT(st->thetaLuftMom, nachKurve);
}

TEST(ErsterAbschnitt, LiveValuesEverySecondStepWith120StepsPerCurve) {
    auto st = preparedRun(textsWith(Control::txt_rund, "120"));
    ProbePort port;
    for (int k = 1; k <= 119; ++k)
        ersterAbschnittSchritt(*st, port);
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::FirstPeriodic)), 59);
    EXPECT_EQ(port.count(PortCall::Draw, int(ChartDrawing::ProfileCurveFirst)), 0);
    // Surface and core are shown at the wet-bulb temperature.
    EXPECT_EQ(st->thetaOberfl, st->thetaOb);
    EXPECT_EQ(st->thetaKern, st->thetaOb);
    // The mean water load leaves the surface node out.
    double sum = 0;
    for (int i = 1; i <= 100; ++i)
        sum += st->XKnoten[i];
    EXPECT_NEAR(st->Xmom, sum / 100, 1e-15);
}

TEST(ErsterAbschnitt, RateMayNotFallOnceTheSurfaceHasStoppedShrinking) {
    auto frei = preparedRun();
    auto geklemmt = copyOf(*frei);
    geklemmt->t1xse = 1;
    geklemmt->mPunktAlt = -0.001;  // a faster evaporation one step earlier
    NullPort port;
    ersterAbschnittSchritt(*frei, port);
    ersterAbschnittSchritt(*geklemmt, port);
    EXPECT_GT(frei->mPunkt, -0.001);
    EXPECT_EQ(geklemmt->mPunkt, -0.001);
    EXPECT_EQ(geklemmt->mPunktAlt, -0.001);
    EXPECT_EQ(geklemmt->qRand, frei->qRand);  // the heat flux is not recomputed
    EXPECT_EQ(geklemmt->VerlaufRate[1], 3.6);

    // In the default run the stored rate never falls after the end of surface shrinkage.
    const RunState& lauf = defaultBeforeFirstPeriodEnd();
    ASSERT_GT(lauf.t1xse, 0);
    const int ab = static_cast<int>(lauf.t1xse / lauf.deltaT) + 1;
    for (int n = ab; n <= lauf.HistIndex; ++n) {
        ASSERT_GE(lauf.VerlaufRate[n], lauf.VerlaufRate[n - 1]) << n;
    }
}

TEST(ErsterAbschnitt, EndsAfterTheFirstStepWithANegativeSurfaceWhichIsNotStored) {
    auto st = copyOf(defaultBeforeFirstPeriodEnd());
    ASSERT_GE(st->XKnoten[0], 0);
    const int records = st->HistIndex;
    const double bilanz = st->XmomBilanz, mittel = st->Xmom;
    ProbePort port;
    std::vector<int> zustandBeimZeichnen;
    port.onCall = [&](const PortCall& c) {
        if (c == drawing(ChartDrawing::ProfileCurveFirst)) {
            zustandBeimZeichnen.push_back(st->Zustand1);
        }
    };
    EXPECT_TRUE(ersterTrocknungsabschnitt(*st, port));
    EXPECT_LT(st->XKnoten[0], 0);
    EXPECT_EQ(st->Laufzeit, 7700);
    EXPECT_EQ(st->HistIndex, records);
    EXPECT_EQ(records, kDefaultFirstPeriodSteps - 1);
    EXPECT_GE(st->VerlaufXOb[st->HistIndex], 0);
    EXPECT_EQ(st->XmomBilanz, bilanz);
    EXPECT_EQ(st->Xmom, mittel);
    // The last curve is the red one.
    EXPECT_EQ(zustandBeimZeichnen, std::vector<int>{st->Beendet});
    EXPECT_EQ(port.calls.back(), group(DisplayGroup::FirstCurve));
}

TEST(ErsterAbschnitt, NegativeSurfaceAtACurveStepDrawsRedAndGoesOn) {
    auto st = copyOf(defaultBeforeFirstPeriodEnd());
    st->KurvenZaehler = static_cast<int>(st->rund) - 1;
    const int records = st->HistIndex;
    ProbePort port;
    int rot = 0;
    port.onCall = [&](const PortCall& c) {
        if (c == drawing(ChartDrawing::ProfileCurveFirst)) rot += st->Zustand1 == st->Beendet;
    };
    EXPECT_EQ(ersterAbschnittSchritt(*st, port), Schrittausgang::Weiter);
    EXPECT_LT(st->XKnoten[0], 0);
    EXPECT_EQ(st->KurvenZaehler, 0);
    EXPECT_EQ(st->HistIndex, records);
    EXPECT_EQ(rot, 1);
    // The next step does not advance the air (first step after a curve) and ends the period.
    const double luft = st->thetaLuftMom;
    EXPECT_EQ(ersterAbschnittSchritt(*st, port), Schrittausgang::AbschnittEnde);
    EXPECT_EQ(st->thetaLuftMom, luft);
    EXPECT_EQ(rot, 2);
    EXPECT_EQ(st->HistIndex, records);
}

TEST(ErsterAbschnitt, FullHistoriesEndTheRunWithoutWritingPastThem) {
    auto st = preparedRun();
    st->HistIndex = kMaxHistoryIndex - 1;
    ProbePort port;
    EXPECT_EQ(ersterAbschnittSchritt(*st, port), Schrittausgang::Weiter);
    EXPECT_EQ(st->HistIndex, kMaxHistoryIndex);
    const double bilanz = st->XmomBilanz;
    port.calls.clear();
    EXPECT_EQ(ersterAbschnittSchritt(*st, port), Schrittausgang::LaufEnde);
    EXPECT_EQ(st->Laufende, RunEnd::HistoryFull);
    EXPECT_EQ(st->HistIndex, kMaxHistoryIndex);
    EXPECT_EQ(st->XmomBilanz, bilanz);
    // What was reached is shown.
    EXPECT_EQ(port.calls, (std::vector<PortCall>{drawing(ChartDrawing::ProfileCurveFirst),
                                                 group(DisplayGroup::FirstCurve)}));
}

TEST(ErsterAbschnitt, ValueThatIsNotANumberEndsTheRunBeforeAnythingIsShown) {
    auto st = preparedRun();
    st->FeuchteleitGrenz = 0;  // no conductivity: the surface value cannot carry the flux
    ProbePort port;
    EXPECT_EQ(ersterAbschnittSchritt(*st, port), Schrittausgang::LaufEnde);
    EXPECT_EQ(st->Laufende, RunEnd::NonFinite);
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(st->HistIndex, 0);
}

TEST(ErsterAbschnitt, APlateWithoutShrinkageHasNoShrinkageGradient) {
    // Its loss of water would otherwise count as a loss of volume: 78,85 % per mm at the
    // defaults, for a plate that keeps its size.
    auto st = preparedRun(textsWith(Control::txt_linTrSchwind, "0"));
    ProbePort port;
    for (int k = 1; k <= 200; ++k)
        ersterAbschnittSchritt(*st, port);
    EXPECT_EQ(st->t1xse, 0.5);  // surface shrinkage "ends" in the first step
    EXPECT_EQ(st->t2xse, 0.5);  // and the core, at exactly XSchwEnde = XAnf
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::ShrinkGradient)), 0);
    EXPECT_EQ(st->SchwindGradMax, 0);
    EXPECT_EQ(st->SchwindDiffMax, 0);
    for (int n = 0; n <= st->HistIndex; ++n) {
        EXPECT_EQ(st->VerlaufSchwindOb[n], 0);
        EXPECT_EQ(st->VerlaufSchwindK[n], 0);
    }

    InputTexts texts = textsWith(Control::txt_linTrSchwind, "0");
    texts[Control::txt_deltaT] = "2";
    auto grob = preparedRun(texts);
    ProbePort grobPort;
    for (int k = 1; k <= 50; ++k)
        ersterAbschnittSchritt(*grob, grobPort);
    EXPECT_EQ(grob->t1xse, 2);
    EXPECT_EQ(grobPort.count(PortCall::Group, int(DisplayGroup::ShrinkGradient)), 0);
    EXPECT_EQ(grob->SchwindGradMax, 0);
}

class Schwindverfolgung : public ::testing::Test {
  protected:
    std::unique_ptr<RunState> st = preparedRun();
    ProbePort port;
};

TEST_F(Schwindverfolgung, EndChecksCompareAsEachPeriodDoes) {
    st->Laufzeit = 12;
    st->XKnoten[0] = st->XSchwEnde;    // not below: the surface goes on shrinking
    st->XKnoten[100] = st->XSchwEnde;  // reached: the core has finished (first period only)
    schwindEndeZweiterAbschnitt(*st, *st, port);
    EXPECT_EQ(st->t1xse, 0);
    EXPECT_EQ(st->t2xse, 0);
    schwindEndeErsterAbschnitt(*st, *st, port);
    EXPECT_EQ(st->t1xse, 0);
    EXPECT_EQ(st->t2xse, 12);
    EXPECT_EQ(port.calls, (std::vector<PortCall>{group(DisplayGroup::CoreShrinkEnd)}));
    st->XKnoten[0] = st->XSchwEnde - 1e-9;
    st->Laufzeit = 13;
    schwindEndeErsterAbschnitt(*st, *st, port);
    schwindEndeErsterAbschnitt(*st, *st, port);  // set once
    EXPECT_EQ(st->t1xse, 13);
    EXPECT_EQ(st->t2xse, 12);
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::SurfaceShrinkEnd)), 1);
}

TEST_F(Schwindverfolgung, OnlyASteeperGradientIsShown) {
    st->XKnoten[0] = 0.2;
    st->XKnoten[1] = 0.24;
    schwindGradient(*st, *st, port);
    const double grad = st->SchwindGradMax;
    EXPECT_GT(grad, 0);
    // The surface–core difference of that moment is kept with it, in per cent.
    const double diff = 100 * (sAusX(*st, 0.2) - sAusX(*st, st->XKnoten[knoten(*st)]));
    EXPECT_EQ(st->SchwindDiffMax, diff);
    schwindGradient(*st, *st, port);  // equal: not shown again
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::ShrinkGradient)), 1);
    st->XKnoten[0] = 0.21;  // flatter
    schwindGradient(*st, *st, port);
    EXPECT_EQ(st->SchwindGradMax, grad);
    EXPECT_EQ(st->SchwindDiffMax, diff);
    EXPECT_EQ(port.count(PortCall::Group, int(DisplayGroup::ShrinkGradient)), 1);
}

}  // namespace
}  // namespace tesmo
