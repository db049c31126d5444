#include "model/evaluation.h"

#include <cmath>
#include <cstdint>

namespace tesmo {

void wasserbeladungenAbbilden(RunState& st) {
    st.XEnde = st.Xmom;
    // A linear map that keeps XAnf and moves the end of the run onto the target: the small
    // overshoot of the last step (or the rest left when the front reached the mid-plane) is
    // spread over the whole history.
    const double delta = st.XZiel - st.XEnde;
    const auto abbilden = [&](double X) { return st.XAnf * (X + delta) / (st.XAnf + delta); };
    st.X1TA = abbilden(st.X1TA);
    for (int j = 1; j <= st.HistIndex; ++j) {
        st.VerlaufXmom[j] = abbilden(st.VerlaufXmom[j]);
        st.VerlaufXK[j] = abbilden(st.VerlaufXK[j]);
    }
}

void verlaeufeGlaetten(RunState& st) {
    st.RateMax = 0;
    const std::int16_t m = st.mGlaett;
    const auto m1 = static_cast<std::int16_t>(m + 1);
    // A first-order recursive low-pass in place: record j−1 is already smoothed.
    const auto glatt = [&](HistoryArray& h, int j) { h[j] = (h[j] + m * h[j - 1]) / m1; };
    for (int j = 10; j <= st.HistIndex; ++j) {
        glatt(st.VerlaufThetaLuft, j);
        glatt(st.VerlaufThetaOb, j);
        glatt(st.VerlaufThetaK, j);
        if (st.VerlaufRate[j] < 0) st.VerlaufRate[j] = st.VerlaufRate[j - 1];
        glatt(st.VerlaufRate, j);
        if (st.VerlaufRate[j] > st.RateMax) st.RateMax = st.VerlaufRate[j];
    }
}

void energiebedarf(RunState& st) {
    // Air warmed from outside to supply temperature, per kg of water removed.
    st.spezEnergie = st.LuftRohlingVerh * (st.thetaLuftMom - st.thetaAussen) / (st.XAnf - st.XZiel);
    st.relEnergie = st.spezEnergie / 2500;
}

void wasserfehler(RunState& st) {
    st.Wasserfehler = std::fabs(100 * (st.XmomBilanz - st.XEnde) / (st.XAnf - st.XZiel));
}

void Auswertung(RunState& st, WindowPort& window) {
    wasserbeladungenAbbilden(st);
    window.writeGroup(DisplayGroup::EndWaterLoads);
    verlaeufeGlaetten(st);
    energiebedarf(st);
    window.writeGroup(DisplayGroup::EndEnergy);
    if (st.nIterKern > 45) window.setVisible(Control::lbl_Achtung, true);
    window.repaint(Control::lbl_Achtung);
    window.repaint(Control::pic_Zeit);
    window.draw(ChartDrawing::TimeHistory);
    wasserfehler(st);
    window.writeGroup(DisplayGroup::EndWaterError);
}

}  // namespace tesmo
