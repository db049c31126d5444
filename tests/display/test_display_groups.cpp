#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "display/display_groups.h"
#include "display/number_format.h"
#include "model/moist_air.h"
#include "tests/display/fake_window.h"

namespace tesmo {

using test::FakeWindow;

namespace {

// A run state in the middle of a run, filled by hand.
std::unique_ptr<RunState> midRunState() {
    auto st = std::make_unique<RunState>();
    st->XAnf = 0.25;
    st->rhos = 1850;
    st->LuftRohlingVerh = 13.1062;
    st->XSchwEnde = 0.135573;
    st->offPoren = 0.25081;
    st->psiRoh = 0.4;
    st->rhosRoh = 1600;
    st->nOrt = 4;
    st->XKnoten[0] = 0.2;
    st->XKnoten[1] = 0.3;
    st->XKnoten[4] = 0.25;
    st->thetaOb = 30.04;
    st->thetaOberfl = 60.0;
    st->thetaKern = 55.0;
    st->thetaLuftMom = 35.0;
    st->XAbluft = 0.0255;
    st->Laufzeit = 3599.6;
    st->qRand = 1.2345;
    st->Xmom = 0.2049;
    st->mPunkt = -0.0001;
    return st;
}

// Water load first, then temperature.
std::string humidity(const RunState& st) {
    return formatNumber(100 * relFeuchte(st.XAbluft, st.thetaLuftMom), Pattern::F2);
}

}  // namespace

TEST(DisplayGroups, SetupGroupsShowAirDemandShrinkageAndWetBulbWithTheirFormats) {
    auto st = midRunState();
    FakeWindow w(*st);
    for (auto g : {DisplayGroup::SetupAir, DisplayGroup::SetupShrinkage,
                   DisplayGroup::SetupTemperatures, DisplayGroup::StartRate})
        writeDisplayGroup(g, w);
    EXPECT_EQ(w.joined(),
              "text txt_LuftRohlingVerh=13,11; text txt_LuftWasserVerh=52,42; "
              "text txt_XSchwEnde=0,136; repaint txt_XSchwEnde; text txt_offPoren=25,1; "
              "repaint txt_offPoren; text txt_thetaOb=30,0; repaint txt_thetaOb; "
              "text txt_thetaK=30,0; repaint txt_thetaK; "
              "text txt_Wasserdampf=0,360; repaint txt_Wasserdampf");

    st->XAnf = 0.9;
    st->XZiel = 0.7f;  // stored as 0.699999988079071
    st->LuftRohlingVerh = 0.2 * 10.005;
    writeDisplayGroup(DisplayGroup::SetupAir, w);
    // With the target in double precision this would be the half 10.005 and read 10,01.
    EXPECT_EQ(w.textOf(Control::txt_LuftWasserVerh), "10,00");
}

TEST(DisplayGroups, FirstPeriodGroupsPutSurfaceAndCoreAtTheWetBulb) {
    auto st = midRunState();
    FakeWindow w(*st);
    writeDisplayGroup(DisplayGroup::FirstPeriodic, w);
    EXPECT_EQ(st->thetaOberfl, 30.04);
    EXPECT_EQ(st->thetaKern, 30.04);
    EXPECT_EQ(w.joined("text "),
              "text txt_Zeit= 1:00:00; text txt_qrand=1,23; text txt_xmom=0,20; "
              "text txt_Wasserdampf=0,36; text txt_thetaOb=30,0; text txt_thetaK=30,0; "
              "text txt_KapGeschw=0,8; text txt_momLuftTemp=35,0; text txt_momPhiLuft=" +
                  humidity(*st));

    FakeWindow curve(*st);
    writeDisplayGroup(DisplayGroup::FirstCurve, curve);
    EXPECT_EQ(curve.trace.front(), "repaint pic_Ausgabe");
    EXPECT_EQ(curve.joined("text "),
              "text txt_Zeit= 1:00:00; text txt_qrand=1,23; text txt_xmom=0,20; "
              "text txt_Wasserdampf=0,36; text txt_thetaOb=30,0; text txt_thetaK=30,0");
}

TEST(DisplayGroups, EveryBoxOfTheRunningGroupsIsPaintedRightAfterItsText) {
    for (auto g :
         {DisplayGroup::SetupShrinkage, DisplayGroup::StartRate, DisplayGroup::FirstPeriodic,
          DisplayGroup::FirstCurve, DisplayGroup::ShrinkGradient, DisplayGroup::Transition,
          DisplayGroup::SecondPeriodic, DisplayGroup::SecondRefresh, DisplayGroup::EndWaterLoads,
          DisplayGroup::EndWaterError}) {
        auto st = midRunState();
        FakeWindow w(*st);
        writeDisplayGroup(g, w);
        for (std::size_t i = 0; i < w.trace.size(); ++i) {
            const std::string& t = w.trace[i];
            if (t.rfind("text ", 0) != 0) continue;
            ASSERT_LT(i + 1, w.trace.size()) << int(g);
            EXPECT_EQ(w.trace[i + 1], "repaint " + t.substr(5, t.find('=') - 5)) << int(g);
        }
    }
}

TEST(DisplayGroups, TransitionShowsTheFirstPeriodsResultsAndEndsTheCapillaryFlow) {
    auto st = midRunState();
    st->t1TA = 7199.5;
    st->Xmom = st->X1TA = 0.12345;
    st->Anfangsrate = 0.81234;
    FakeWindow w(*st);
    writeDisplayGroup(DisplayGroup::Transition, w);
    EXPECT_EQ(w.joined(),
              "show lbl_Dauer1TA; show lbl_X1TA; repaint lbl_Dauer1TA; repaint lbl_X1TA; "
              "show lbl_Anfangsrate; repaint lbl_Anfangsrate; show txt_Dauer1TA; show txt_X1TA; "
              "show txt_Anfangsrate; text txt_Dauer1TA= 2:00:00; repaint txt_Dauer1TA; "
              "text txt_X1TA=0,1235; repaint txt_X1TA; text txt_Anfangsrate=0,812; "
              "repaint txt_Anfangsrate; text txt_KapGeschw=-; repaint txt_KapGeschw");
}

TEST(DisplayGroups, SecondPeriodGroupsLowerTheCoreToBoilingAndMarkAlmostDryPlates) {
    auto st = midRunState();
    st->thetaKern = 100.3;
    st->Xmom = 0.004;
    FakeWindow w(*st);
    writeDisplayGroup(DisplayGroup::SecondPeriodic, w);
    EXPECT_EQ(st->thetaKern, 100.0);
    EXPECT_EQ(w.joined("text "),
              "text txt_Wasserdampf=0,36; text txt_thetaOb=60,0; text txt_thetaK=100,0; "
              "text txt_xmom=<0,01; text txt_Zeit= 1:00:00; text txt_qrand=1,23; "
              "text txt_Dampfgeschw=2,178; text txt_momLuftTemp=35,0; text txt_momPhiLuft=" +
                  humidity(*st));

    st->Xmom = 0.006;
    st->thetaKern = 99.96;
    writeDisplayGroup(DisplayGroup::SecondPeriodic, w);
    EXPECT_EQ(w.textOf(Control::txt_xmom), "0,01");
    EXPECT_EQ(w.textOf(Control::txt_thetaK), "100,0");
    EXPECT_EQ(st->thetaKern, 99.96);  // only a core above 100 °C is changed

    st->thetaKern = 100.4;
    st->Xmom = 0.005;
    FakeWindow refresh(*st);
    writeDisplayGroup(DisplayGroup::SecondRefresh, refresh);
    EXPECT_EQ(st->thetaKern, 100.0);
    EXPECT_EQ(refresh.joined(),
              "text txt_Wasserdampf=0,36; repaint txt_Wasserdampf; text txt_thetaOb=60,0; "
              "repaint txt_thetaOb; text txt_thetaK=100,0; repaint txt_thetaK; "
              "text txt_xmom=0,01; repaint txt_xmom; repaint pic_Ausgabe; "
              "text txt_Zeit= 1:00:00; repaint txt_Zeit; text txt_qrand=1,23; repaint txt_qrand");
}

TEST(DisplayGroups, ShrinkageGroupsShowDifferenceGradientAndUnroundedEndTimes) {
    auto st = midRunState();
    st->SchwindGrad = 27.41;      // 1/m
    st->SchwindDiffMax = 2.7449;  // %, surface 2.74 %, core 0 %
    st->t1xse = 89.5;
    st->t2xse = 3725.2;
    FakeWindow w(*st);
    writeDisplayGroup(DisplayGroup::ShrinkGradient, w);
    EXPECT_EQ(w.textOf(Control::txt_schwinddiff), "2,74");
    EXPECT_EQ(w.textOf(Control::txt_schwindgrad), "2,74");  // % per mm
    w.trace.clear();
    writeDisplayGroup(DisplayGroup::SurfaceShrinkEnd, w);
    writeDisplayGroup(DisplayGroup::CoreShrinkEnd, w);
    EXPECT_EQ(w.joined(),
              "show lbl_OberflSchwind; show txt_t1xse; text txt_t1xse= 0:01:30; "
              "repaint lbl_OberflSchwind; repaint txt_t1xse; show lbl_KernSchwind; "
              "show txt_t2xse; text txt_t2xse= 1:02:05; repaint lbl_KernSchwind; "
              "repaint txt_t2xse");
}

TEST(DisplayGroups, EndGroupsShowRemappedWaterLoadTargetAndEnergy) {
    auto st = midRunState();
    st->X1TA = 0.104449;
    st->Xmom = 0.0123;  // the run may end above the target; the box shows the target
    st->spezEnergie = 4321.06;
    st->relEnergie = 1.7284;
    FakeWindow w(*st);
    writeDisplayGroup(DisplayGroup::EndWaterLoads, w);
    writeDisplayGroup(DisplayGroup::EndEnergy, w);
    EXPECT_EQ(w.joined(),
              "text txt_X1TA=0,1044; repaint txt_X1TA; text txt_xmom=0,00; repaint txt_xmom; "
              "show lbl_spezEnergie; show txt_spezEnergie; show lbl_relEnergie; "
              "show txt_relEnergie; text txt_spezEnergie=4321,1; text txt_relEnergie=1,728; "
              "repaint lbl_spezEnergie; repaint txt_spezEnergie; repaint lbl_relEnergie; "
              "repaint txt_relEnergie");
}

TEST(DisplayGroups, WaterErrorTurnsRedAbove3AndWarnsAbove6Percent) {
    struct Case {
        double error;
        const char* text;
        Rgb colour;
        bool warnings;
    };
    for (const Case& c : {Case{3.0, "3,0", kDarkBlue, false}, Case{3.04, "3,0", kRed, false},
                          Case{6.0, "6,0", kRed, false}, Case{6.5, "6,5", kRed, true}}) {
        auto st = midRunState();
        st->Wasserfehler = c.error;
        FakeWindow w(*st);
        writeDisplayGroup(DisplayGroup::EndWaterError, w);
        EXPECT_EQ(w.textOf(Control::txt_Wasserfehler), c.text) << c.error;
        EXPECT_EQ(w.colourOf(Control::txt_Wasserfehler), c.colour) << c.error;
        EXPECT_EQ(w.colourOf(Control::lbl_Wasserfehler), c.colour) << c.error;
        EXPECT_TRUE(w.shown(Control::txt_Wasserfehler) && w.shown(Control::lbl_Wasserfehler));
        for (Control l : {Control::lbl_ungenau1, Control::lbl_ungenau2, Control::lbl_ungenau3})
            EXPECT_EQ(w.shown(l), c.warnings) << c.error;
    }
}

}  // namespace tesmo
