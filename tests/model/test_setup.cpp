#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "model/run_state.h"
#include "model/setup.h"
#include "recording_port.h"

namespace tesmo {

using test::PortCall;
using test::RecordingPort;

namespace {

std::unique_ptr<RunState> einrichten(const InputTexts& texte, RecordingPort& port) {
    auto st = std::make_unique<RunState>();
    Einrichtung(*st, texte, port);
    return st;
}

std::unique_ptr<RunState> einrichten(const InputTexts& texte) {
    RecordingPort port;
    return einrichten(texte, port);
}

}  // namespace

TEST(Einrichtung, DefaultTexts) {
    const auto st = einrichten(defaultInputTexts());
    EXPECT_EQ(st->nOrt, 100.0);  // exactly, although 20,0 / 0,1 is not exact in binary
    EXPECT_DOUBLE_EQ(st->Dicke, 0.01876);
    EXPECT_NEAR(st->spezOberfl, 0.0576269, 5e-8);
    EXPECT_NEAR(st->pvAbluft, 0.0394038, 5e-8);
    EXPECT_NEAR(st->thetaKG, 30.0373, 5e-5);
    EXPECT_EQ(st->thetaKG0, st->thetaKG);
    EXPECT_NEAR(st->XAussen, 0.00643962, 5e-9);
    EXPECT_NEAR(st->LuftRohlingVerh, 13.1062, 5e-5);
    EXPECT_NEAR(st->LuftRohlingVerh / (st->XAnf - st->XZiel), 52.42, 5e-3);
    EXPECT_NEAR(st->rhosRoh, 1526.79, 5e-3);
    EXPECT_NEAR(st->psiRoh, 0.381698, 5e-7);
    EXPECT_NEAR(st->offPoren, 0.250810, 5e-7);
    EXPECT_NEAR(st->XSchwEnde, 0.135573, 5e-7);
    EXPECT_NEAR(st->s25, 0.0, 1e-15);
    EXPECT_NEAR(st->rhos25, st->rhosRoh, 1e-9);
    EXPECT_NEAR(st->psi25, st->psiRoh, 1e-14);
    EXPECT_NEAR(st->FeuchteleitGrenz, 1.72707e-8, 5e-14);
    // Step 28 replaces the exhaust air's water load by the one of the found wet-bulb temperature.
    EXPECT_NEAR(st->XAbluft, 0.0255145, 1e-7);
    EXPECT_NE(st->XAbluft, 0.622 * st->pvAbluft / (1 - st->pvAbluft));
    EXPECT_EQ(st->thetaLuftMom, 35.0);
    EXPECT_EQ(st->thetaOb, st->thetaKG);
    EXPECT_NEAR(st->pvLuft, 0.0394036, 5e-8);
    // Inputs in the model's units.
    EXPECT_DOUBLE_EQ(st->phiAbluft, 0.7);
    EXPECT_DOUBLE_EQ(st->alpha, 0.05);
    EXPECT_DOUBLE_EQ(st->lambda, 0.001);
    EXPECT_DOUBLE_EQ(st->Feuchteleit, 40e-9);
    EXPECT_EQ(st->rund, 1200.0);
    EXPECT_EQ(st->XZiel, 0.0f);
    EXPECT_EQ(st->Laeuft, 1);
    EXPECT_EQ(st->Beendet, 0);
}

TEST(Einrichtung, InitialWaterLoadAboveTheReferenceState) {
    InputTexts texte = defaultInputTexts();
    texte[Control::txt_XAnf] = "0,30";
    const auto st = einrichten(texte);
    EXPECT_NEAR(st->s25, 0.0261230, 5e-8);
    EXPECT_NEAR(st->rhos25, 1652.98, 5e-3);
    EXPECT_NEAR(st->psi25, 0.413245, 5e-7);
    EXPECT_NEAR(st->offPoren, 0.343310, 5e-7);
    EXPECT_NEAR(st->XSchwEnde, 0.185573, 5e-7);
    EXPECT_NEAR(st->FeuchteleitGrenz, 2.76069e-8, 5e-14);
    EXPECT_NEAR(st->LuftRohlingVerh, 15.7275, 5e-5);
    // The air demand per kg of water does not depend on the initial water load.
    EXPECT_NEAR(st->LuftRohlingVerh / (st->XAnf - st->XZiel), 52.42, 5e-3);
}

TEST(Einrichtung, SinglePrecisionFields) {
    InputTexts texte = defaultInputTexts();
    texte[Control::txt_XZiel] = "0,1";
    const auto st = einrichten(texte);
    EXPECT_EQ(st->XZiel, 0.1f);
    // The air demand uses the single-precision values widened, not the texts' doubles.
    const double erwartet =
        (st->XAnf - static_cast<double>(0.1f)) /
        (0.622 * st->pvAbluft / (1 - st->pvAbluft) - static_cast<double>(st->XAussen));
    EXPECT_EQ(st->LuftRohlingVerh, erwartet);
}

TEST(Einrichtung, WindowCallsInOrderAndTheShrinkageArrow) {
    RecordingPort port;
    einrichten(defaultInputTexts(), port);
    const std::vector<PortCall> erwartet = {
        {PortCall::Visible, int(Control::Image7), true},
        {PortCall::Group, int(DisplayGroup::SetupAir)},
        {PortCall::Group, int(DisplayGroup::SetupShrinkage)},
        {PortCall::Group, int(DisplayGroup::SetupTemperatures)},
    };
    EXPECT_EQ(port.calls, erwartet);

    for (auto [text, sichtbar] : {std::pair{"0,0005", false}, std::pair{"0,001", true},
                                  std::pair{"0", false}, std::pair{"0,00099", false}}) {
        InputTexts texte = defaultInputTexts();
        texte[Control::txt_linTrSchwind] = text;
        RecordingPort p;
        einrichten(texte, p);
        ASSERT_FALSE(p.calls.empty());
        EXPECT_EQ(p.calls.front(), (PortCall{PortCall::Visible, int(Control::Image7), sichtbar}))
            << text;
    }
}

// A port that looks at the run state when a display group is written, as the window does.
class LesenderPort : public RecordingPort {
  public:
    explicit LesenderPort(const RunState& st) : st_(st) {}
    void writeGroup(DisplayGroup g) override {
        RecordingPort::writeGroup(g);
        if (g == DisplayGroup::SetupAir) luftWasser = st_.LuftRohlingVerh / (st_.XAnf - st_.XZiel);
        if (g == DisplayGroup::SetupShrinkage) offPoren = st_.offPoren;
        if (g == DisplayGroup::SetupTemperatures) thetaOb = st_.thetaOb;
    }
    double luftWasser = 0, offPoren = 0, thetaOb = 0;

  private:
    const RunState& st_;
};

TEST(Einrichtung, EachGroupSeesItsValuesWhenWritten) {
    auto st = std::make_unique<RunState>();
    LesenderPort port(*st);
    Einrichtung(*st, defaultInputTexts(), port);
    EXPECT_NEAR(port.luftWasser, 52.42, 5e-3);
    EXPECT_NEAR(port.offPoren, 0.250810, 5e-7);
    EXPECT_NEAR(port.thetaOb, 30.0373, 5e-5);
}

TEST(Einrichtung, SpaceStepsThatAreNotExactInBinaryGiveTheWholeNodeCount) {
    InputTexts texte = defaultInputTexts();
    texte[Control::txt_Dicke] = "0,6";
    texte[Control::txt_Ortsschrittweite] = "0,1";
    const Einrichtungswerte w = berechneEinrichtung(texte);
    EXPECT_NE(w.nOrtQuotient, 3.0);  // 0.6 / 0.1 / 2 is 2.9999999999999996
    EXPECT_TRUE(w.nOrtGanz);
    EXPECT_EQ(einrichten(texte)->nOrt, 3.0);

    double n = 0;
    EXPECT_TRUE(fastGanzzahlig(500 * (1 + 0.9e-9), &n));
    EXPECT_EQ(n, 500);
    EXPECT_FALSE(fastGanzzahlig(500 * (1 + 1.1e-9), &n));
    EXPECT_FALSE(fastGanzzahlig(0.4, &n));
}

TEST(Einrichtung, WritesOnlyWhatItOwns) {
    // Two states with the same arbitrary content; after the set-up of one, copying the fields
    // the set-up owns must make them equal again. Everything else (nIterKern, the profile, the
    // histories, Ortsschritt, …) keeps what the previous run left.
    auto a = std::make_unique<RunState>();
    auto b = std::make_unique<RunState>();
    std::memset(static_cast<void*>(a.get()), 0x5a, sizeof(RunState));
    std::memset(static_cast<void*>(b.get()), 0x5a, sizeof(RunState));
    RecordingPort port;
    Einrichtung(*a, defaultInputTexts(), port);

    RunState& z = *b;
    const RunState& q = *a;
    z.Laeuft = q.Laeuft, z.Beendet = q.Beendet, z.nOrt = q.nOrt, z.Dicke = q.Dicke;
    z.rhos = q.rhos, z.XAnf = q.XAnf, z.XZiel = q.XZiel, z.thetaLuft = q.thetaLuft;
    z.phiAbluft = q.phiAbluft, z.alpha = q.alpha, z.lambda = q.lambda;
    z.thetaAussen = q.thetaAussen, z.phiAussen = q.phiAussen, z.mue = q.mue;
    z.deltaT = q.deltaT, z.rund = q.rund, z.linTrSchwind = q.linTrSchwind;
    z.Feuchteleit = q.Feuchteleit, z.KappaSteig = q.KappaSteig, z.XEnde = q.XEnde;
    z.optionen = q.optionen;
    z.thetaKernVorher = q.thetaKernVorher, z.dThetaKern = q.dThetaKern;
    z.SchwindGradMax = q.SchwindGradMax, z.SchwindDiffMax = q.SchwindDiffMax;
    z.s = q.s, z.spezOberfl = q.spezOberfl;
    z.pvAbluft = q.pvAbluft, z.XAbluft = q.XAbluft, z.thetaKG = q.thetaKG;
    z.thetaKG0 = q.thetaKG0, z.pvAussen = q.pvAussen, z.XAussen = q.XAussen;
    z.LuftRohlingVerh = q.LuftRohlingVerh, z.rhosRoh = q.rhosRoh, z.psiRoh = q.psiRoh;
    z.offPoren = q.offPoren, z.XSchwEnde = q.XSchwEnde, z.s25 = q.s25, z.rhos25 = q.rhos25;
    z.psi25 = q.psi25, z.FeuchteleitGrenz = q.FeuchteleitGrenz;
    z.thetaLuftMom = q.thetaLuftMom, z.thetaOb = q.thetaOb, z.pvLuft = q.pvLuft;
    z.t1xse = q.t1xse, z.t2xse = q.t2xse;
    EXPECT_EQ(std::memcmp(static_cast<const void*>(a.get()), static_cast<const void*>(b.get()),
                          sizeof(RunState)),
              0);
    EXPECT_EQ(q.XEnde, 0);
    EXPECT_EQ(q.SchwindGradMax, 0);
    EXPECT_EQ(q.t1xse, 0);
    EXPECT_EQ(q.dThetaKern, 0.0f);
}

}  // namespace tesmo
