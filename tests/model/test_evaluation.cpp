#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/evaluation.h"
#include "tests/model/run_fixture.h"

namespace tesmo {
namespace {

using namespace test;

// A small finished run: 20 records, falling water loads, rates around 1 kg/(m² h).
std::unique_ptr<RunState> finishedRun(float XZiel, double Xmom) {
    auto st = std::make_unique<RunState>();
    st->XAnf = 0.25;
    st->XZiel = XZiel;
    st->Xmom = Xmom;
    st->X1TA = 0.13;
    st->HistIndex = 20;
    for (int j = 0; j <= 20; ++j) {
        st->VerlaufXmom[j] = 0.25 - 0.012 * j;
        st->VerlaufXK[j] = 0.25 - 0.01 * j;
        st->VerlaufXOb[j] = 0.2 - 0.01 * j;
        st->VerlaufThetaLuft[j] = 35 + j;
        st->VerlaufThetaOb[j] = 30 + j;
        st->VerlaufThetaK[j] = 30 + 0.5 * j;
        st->VerlaufRate[j] = 1 + 0.01 * j;
    }
    return st;
}

TEST(Auswertung, RemapsTheWaterLoadsOntoTheTarget) {
    auto st = finishedRun(0.01f, 0.008);
    const double delta = double(0.01f) - 0.008;
    auto map = [&](double X) { return 0.25 * (X + delta) / (0.25 + delta); };
    const double x1 = map(0.13), mean20 = map(st->VerlaufXmom[20]), core7 = map(st->VerlaufXK[7]);
    const double surface = st->VerlaufXOb[7];
    wasserbeladungenAbbilden(*st, *st, *st);
    EXPECT_EQ(st->XEnde, 0.008);
    EXPECT_EQ(st->X1TA, x1);
    EXPECT_EQ(st->VerlaufXmom[20], mean20);
    EXPECT_EQ(st->VerlaufXK[7], core7);
    EXPECT_EQ(st->VerlaufXmom[0], 0.25);  // record 0 untouched
    EXPECT_EQ(st->VerlaufXK[0], 0.25);
    EXPECT_EQ(st->VerlaufXOb[7], surface);  // the surface history is not re-mapped
    // The end of the run lands at XAnf·XZiel/(XAnf + delta).
    EXPECT_DOUBLE_EQ(map(0.008), 0.25 * double(0.01f) / (0.25 + delta));
}

TEST(Auswertung, RemapIsTheIdentityOnTargetAndLowersARunEndedAtTheMidplane) {
    auto genau = finishedRun(0.02f, double(0.02f));
    wasserbeladungenAbbilden(*genau, *genau, *genau);
    EXPECT_DOUBLE_EQ(genau->VerlaufXmom[10], 0.25 - 0.12);
    EXPECT_DOUBLE_EQ(genau->X1TA, 0.13);

    auto mitte = finishedRun(0.0f, 0.01);  // ended above the target
    const double before = mitte->VerlaufXmom[20];
    wasserbeladungenAbbilden(*mitte, *mitte, *mitte);
    EXPECT_LT(mitte->VerlaufXmom[20], before);
    EXPECT_GT(mitte->VerlaufXmom[20], 0);
}

TEST(Auswertung, SmoothsFromRecordTenAndRepairsMarkedRates) {
    auto st = finishedRun(0, 0);
    st->mGlaett = 3;
    st->VerlaufRate[5] = -100;   // below record 10: stays
    st->VerlaufRate[12] = -100;  // a long search
    const double luft9 = st->VerlaufThetaLuft[9];
    verlaeufeGlaetten(*st, *st);
    EXPECT_EQ(st->VerlaufRate[5], -100);
    EXPECT_EQ(st->VerlaufThetaLuft[9], luft9);
    EXPECT_EQ(st->VerlaufThetaLuft[10], (45 + 3 * luft9) / 4);
    const double luft10 = st->VerlaufThetaLuft[10];
    EXPECT_EQ(st->VerlaufThetaLuft[11], (46 + 3 * luft10) / 4);  // builds on the smoothed 10
    // The marker takes the smoothed rate of record 11, which the smoothing then keeps.
    EXPECT_DOUBLE_EQ(st->VerlaufRate[12], st->VerlaufRate[11]);
    double top = 0;
    for (int j = 10; j <= 20; ++j)
        top = std::max(top, st->VerlaufRate[j]);
    EXPECT_EQ(st->RateMax, top);
}

TEST(Auswertung, WithoutWeightOnlyNegativeRatesChangeAndShortRunsNothing) {
    auto st = finishedRun(0, 0);
    st->mGlaett = 0;
    st->VerlaufRate[15] = -100;
    const auto before = copyOf(*st);
    verlaeufeGlaetten(*st, *st);
    EXPECT_EQ(st->VerlaufThetaK, before->VerlaufThetaK);
    EXPECT_EQ(st->VerlaufRate[15], st->VerlaufRate[14]);
    EXPECT_EQ(st->VerlaufRate[16], before->VerlaufRate[16]);

    auto kurz = finishedRun(0, 0);
    kurz->HistIndex = 9;  // fewer than 11 records
    kurz->mGlaett = 5;
    kurz->RateMax = 7;
    verlaeufeGlaetten(*kurz, *kurz);
    EXPECT_EQ(kurz->RateMax, 0);
    EXPECT_EQ(kurz->VerlaufRate[9], 1.09);
}

TEST(Auswertung, EnergyAndWaterBalanceUseTheSinglePrecisionTarget) {
    auto st = finishedRun(0.03f, 0.03);
    st->LuftRohlingVerh = 13;
    st->thetaLuftMom = 85;
    st->thetaAussen = 15;
    energiebedarf(*st, *st);
    EXPECT_EQ(st->spezEnergie, 13 * 70.0 / (0.25 - double(0.03f)));
    EXPECT_EQ(st->relEnergie, st->spezEnergie / 2500);

    // The error is shown without its sign.
    st->XEnde = 0.03;
    st->XmomBilanz = 0.03 + 0.0076;
    wasserfehler(*st, *st);
    const double above = st->Wasserfehler;
    st->XmomBilanz = 0.03 - 0.0076;
    wasserfehler(*st, *st);
    EXPECT_DOUBLE_EQ(st->Wasserfehler, above);
    EXPECT_NEAR(above, 100 * 0.0076 / (0.25 - double(0.03f)), 1e-12);
}

TEST(Auswertung, CallsTheWindowInItsOrderAndNeverHidesTheWarning) {
    for (int n : {45, 46}) {
        auto st = finishedRun(0, 0.001);
        st->nIterKern = n;
        ProbePort port;
        Auswertung(*st, port);
        std::vector<PortCall> expected = {group(DisplayGroup::EndWaterLoads),
                                          group(DisplayGroup::EndEnergy)};
        if (n > 45) expected.push_back(visible(Control::lbl_Achtung, true));
        for (PortCall c :
             {repainted(Control::lbl_Achtung), repainted(Control::pic_Zeit),
              drawing(ChartDrawing::TimeHistory), group(DisplayGroup::EndWaterError)}) {
            expected.push_back(c);
        }
        EXPECT_EQ(port.calls, expected) << n;
    }
}

TEST(Auswertung, GivesBackTheRecordsAsTheRunComputedThem) {
    auto st = finishedRun(0.01f, 0.008);
    st->mGlaett = 7;
    const HistoryArray xRoh = st->VerlaufXmom, thetaRoh = st->VerlaufThetaOb;
    wasserbeladungenAbbilden(*st, *st, *st);
    verlaeufeGlaetten(*st, *st);
    for (int j = 0; j <= st->HistIndex; ++j) {
        const auto i = static_cast<std::size_t>(j);
        EXPECT_NEAR(beladungVorAbbildung(*st, *st, st->VerlaufXmom[i]), xRoh[i], 1e-15) << j;
        EXPECT_NEAR(vorGlaettung(*st, st->VerlaufThetaOb, j), thetaRoh[i], 1e-12) << j;
    }
    EXPECT_NE(st->VerlaufThetaOb[15], thetaRoh[15]);  // the smoothing did change it
}

}  // namespace
}  // namespace tesmo
