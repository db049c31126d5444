#include "display/display_groups.h"

#include <cmath>

#include "display/number_format.h"
#include "display/window_base.h"
#include "model/moist_air.h"
#include "model/physical_constants.h"
#include "model/second_period.h"

namespace tesmo {

namespace {

using C = Control;

// The whole seconds of a running time as the time box shows them.
double wholeSeconds(double t) {
    return std::floor(t + 0.5);
}

// Writes boxes of one group: each text goes into one fixed buffer and is painted at once.
class Writer {
  public:
    explicit Writer(WindowBase& window) : window_(window), st_(window.state()) {}

    void number(Control box, double value, Pattern pattern) {
        window_.show(box, formatNumber(value, pattern, buffer_));
    }
    void time(Control box, double seconds) { window_.show(box, Zeitformat(seconds, buffer_)); }
    void text(Control box, std::string_view text) { window_.show(box, text); }
    // Set the text only; the window paints it with its next refresh.
    void numberUnpainted(Control box, double value, Pattern pattern) {
        window_.setText(box, formatNumber(value, pattern, buffer_));
    }

    WindowBase& window() { return window_; }
    RunState& st() { return st_; }
    NumberBuffer& buffer() { return buffer_; }

  private:
    WindowBase& window_;
    RunState& st_;
    NumberBuffer buffer_;
};

// Evaporation rate in kg/(m² h) from the mass flux density in kg/(m² s), positive while drying.
double rate(const RunState& st) {
    return -3600.0 * st.mPunkt;
}

// Mean velocity of the capillary water at the surface in mm/h: the flux carried by the water
// held between the surface node and its neighbour.
double capillaryVelocity(const RunState& st) {
    return 3600000.0 * (-st.mPunkt) / (st.rhos * (st.XKnoten[0] + st.XKnoten[1]) / 2.0);
}

// Mean velocity of the vapour in the open pores in m/h, with the density of water vapour at
// atmospheric pressure and the surface temperature.
double vapourVelocity(const RunState& st) {
    return (-st.mPunkt / st.offPoren) / (kDampfdichteFaktor / (st.thetaOberfl + kKelvin)) * 3600.0;
}

double airHumidityPercent(const RunState& st) {
    return 100.0 * relFeuchte(st.XAbluft, st.thetaLuftMom);
}

// In the first period the wet surface and the whole plate sit at the wet-bulb temperature.
void surfaceAndCoreAtWetBulb(RunState& st) {
    st.thetaOberfl = st.thetaOb;
    st.thetaKern = st.thetaOb;
}

void timeHeatWaterRate(Writer& w) {
    w.time(C::txt_Zeit, wholeSeconds(w.st().Laufzeit));
    w.number(C::txt_qrand, w.st().qRand, Pattern::F2);
    w.number(C::txt_xmom, w.st().Xmom, Pattern::F2);
    w.number(C::txt_Wasserdampf, rate(w.st()), Pattern::F2);
}

void temperatures(Writer& w) {
    w.number(C::txt_thetaOb, w.st().thetaOberfl, Pattern::F1);
    w.number(C::txt_thetaK, w.st().thetaKern, Pattern::F1);
}

void airAtPlate(Writer& w) {
    w.number(C::txt_momLuftTemp, w.st().thetaLuftMom, Pattern::F1);
    w.number(C::txt_momPhiLuft, airHumidityPercent(w.st()), Pattern::F2);
}

// Below half a hundredth the two decimals would read 0,00 although water is left.
void waterLoadSecondPeriod(Writer& w) {
    if (w.st().Xmom < 0.005)
        w.text(C::txt_xmom, kUnterEinHundertstel);
    else
        w.number(C::txt_xmom, w.st().Xmom, Pattern::F2);
}

// Rate, surface and core temperature and water load, as both second-period groups begin.
void secondPeriodHead(Writer& w) {
    w.number(C::txt_Wasserdampf, rate(w.st()), Pattern::F2);
    w.number(C::txt_thetaOb, w.st().thetaOberfl, Pattern::F1);
    kernHoechstens100(w.st());
    w.number(C::txt_thetaK, w.st().thetaKern, Pattern::F1);
    waterLoadSecondPeriod(w);
}

void setupAir(Writer& w) {
    const RunState& st = w.st();
    w.numberUnpainted(C::txt_LuftRohlingVerh, st.LuftRohlingVerh, Pattern::F2);
    const double waterRemoved = st.XAnf - static_cast<double>(st.XZiel);
    w.numberUnpainted(C::txt_LuftWasserVerh, st.LuftRohlingVerh / waterRemoved, Pattern::F2);
}

void setupShrinkage(Writer& w) {
    w.number(C::txt_XSchwEnde, w.st().XSchwEnde, Pattern::F3);
    w.number(C::txt_offPoren, 100.0 * w.st().offPoren, Pattern::F1);
}

void setupTemperatures(Writer& w) {
    w.number(C::txt_thetaOb, w.st().thetaOb, Pattern::F1);
    w.number(C::txt_thetaK, w.st().thetaOb, Pattern::F1);
}

void startRate(Writer& w) {
    w.number(C::txt_Wasserdampf, rate(w.st()), Pattern::F3);
}

void firstPeriodic(Writer& w) {
    timeHeatWaterRate(w);
    surfaceAndCoreAtWetBulb(w.st());
    temperatures(w);
    w.number(C::txt_KapGeschw, capillaryVelocity(w.st()), Pattern::F1);
    airAtPlate(w);
}

void firstCurve(Writer& w) {
    w.window().repaint(C::pic_Ausgabe);
    timeHeatWaterRate(w);
    surfaceAndCoreAtWetBulb(w.st());
    temperatures(w);
}

void shrinkGradient(Writer& w) {
    const RunState& st = w.st();
    w.number(C::txt_schwinddiff, st.SchwindDiffMax, Pattern::F2);
    w.number(C::txt_schwindgrad, 0.1 * st.SchwindGrad, Pattern::F2);  // 1/m -> % per mm
}

// The end of shrinkage at a node: label and box appear, the box gets the time since Start.
void shrinkEnd(Writer& w, Control label, Control box, double seconds) {
    WindowBase& window = w.window();
    window.setVisible(label, true);
    window.setVisible(box, true);
    window.setText(box, Zeitformat(seconds, w.buffer()));
    window.repaint(label);
    window.repaint(box);
}

void transition(Writer& w) {
    WindowBase& window = w.window();
    window.setVisible(C::lbl_Dauer1TA, true);
    window.setVisible(C::lbl_X1TA, true);
    window.repaint(C::lbl_Dauer1TA);
    window.repaint(C::lbl_X1TA);
    window.setVisible(C::lbl_Anfangsrate, true);
    window.repaint(C::lbl_Anfangsrate);
    window.setVisible(C::txt_Dauer1TA, true);
    window.setVisible(C::txt_X1TA, true);
    window.setVisible(C::txt_Anfangsrate, true);

    w.time(C::txt_Dauer1TA, wholeSeconds(w.st().t1TA));
    w.number(C::txt_X1TA, w.st().Xmom, Pattern::F4);
    w.number(C::txt_Anfangsrate, w.st().Anfangsrate, Pattern::F3);
    w.text(C::txt_KapGeschw, kKeinWert);  // no capillary supply reaches the surface any more
}

void secondPeriodic(Writer& w) {
    secondPeriodHead(w);
    w.time(C::txt_Zeit, wholeSeconds(w.st().Laufzeit));
    w.number(C::txt_qrand, w.st().qRand, Pattern::F2);
    w.number(C::txt_Dampfgeschw, vapourVelocity(w.st()), Pattern::F3);
    airAtPlate(w);
}

void secondRefresh(Writer& w) {
    secondPeriodHead(w);
    w.window().repaint(C::pic_Ausgabe);
    w.time(C::txt_Zeit, wholeSeconds(w.st().Laufzeit));
    w.number(C::txt_qrand, w.st().qRand, Pattern::F2);
}

void endWaterLoads(Writer& w) {
    w.number(C::txt_X1TA, w.st().X1TA, Pattern::F4);
    w.number(C::txt_xmom, static_cast<double>(w.st().XZiel), Pattern::F2);
}

void endEnergy(Writer& w) {
    WindowBase& window = w.window();
    constexpr Control shown[] = {C::lbl_spezEnergie, C::txt_spezEnergie, C::lbl_relEnergie,
                                 C::txt_relEnergie};
    for (Control c : shown)
        window.setVisible(c, true);
    window.setText(C::txt_spezEnergie, formatNumber(w.st().spezEnergie, Pattern::F1, w.buffer()));
    window.setText(C::txt_relEnergie, formatNumber(w.st().relEnergie, Pattern::F3, w.buffer()));
    for (Control c : shown)
        window.repaint(c);
}

// The relative error of the water balance: blue when small, red above 3 %, and above 6 % the
// advice to refine the grid.
void endWaterError(Writer& w) {
    WindowBase& window = w.window();
    const double error = w.st().Wasserfehler;
    window.setVisible(C::lbl_Wasserfehler, true);
    window.setVisible(C::txt_Wasserfehler, true);
    window.setColor(C::lbl_Wasserfehler, kDarkBlue);
    window.setColor(C::txt_Wasserfehler, kDarkBlue);
    if (error > kWasserfehlerRot) {
        window.setColor(C::lbl_Wasserfehler, kRed);
        window.setColor(C::txt_Wasserfehler, kRed);
    }
    if (error > kWasserfehlerUngenau) {
        window.setVisible(C::lbl_ungenau1, true);
        window.setVisible(C::lbl_ungenau2, true);
        window.setVisible(C::lbl_ungenau3, true);
    }
    w.number(C::txt_Wasserfehler, error, Pattern::F1);
}

}  // namespace

void writeDisplayGroup(DisplayGroup group, WindowBase& window) {
    Writer w(window);
    const RunState& st = window.state();
    switch (group) {
        case DisplayGroup::SetupAir:
            return setupAir(w);
        case DisplayGroup::SetupShrinkage:
            return setupShrinkage(w);
        case DisplayGroup::SetupTemperatures:
            return setupTemperatures(w);
        case DisplayGroup::StartRate:
            return startRate(w);
        case DisplayGroup::FirstPeriodic:
            return firstPeriodic(w);
        case DisplayGroup::FirstCurve:
            return firstCurve(w);
        case DisplayGroup::ShrinkGradient:
            return shrinkGradient(w);
        case DisplayGroup::SurfaceShrinkEnd:
            return shrinkEnd(w, C::lbl_OberflSchwind, C::txt_t1xse, st.t1xse);
        case DisplayGroup::CoreShrinkEnd:
            return shrinkEnd(w, C::lbl_KernSchwind, C::txt_t2xse, st.t2xse);
        case DisplayGroup::Transition:
            return transition(w);
        case DisplayGroup::SecondPeriodic:
            return secondPeriodic(w);
        case DisplayGroup::SecondRefresh:
            return secondRefresh(w);
        case DisplayGroup::EndWaterLoads:
            return endWaterLoads(w);
        case DisplayGroup::EndEnergy:
            return endEnergy(w);
        case DisplayGroup::EndWaterError:
            return endWaterError(w);
    }
}

}  // namespace tesmo
