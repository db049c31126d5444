#include "model/evaluation.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/physical_constants.h"
#include "model/step_helpers.h"

namespace tesmo {

void wasserbeladungenAbbilden(const RunParameters& p, RunVariables& v, Histories& h) {
    v.XEnde = v.Xmom;
    // A linear map that keeps XAnf and moves the end of the run onto the target: the small
    // overshoot of the last step (or the rest left when the front reached the mid-plane) is
    // spread over the whole history.
    const double delta = p.XZiel - v.XEnde;
    const auto abbilden = [&](double X) { return p.XAnf * (X + delta) / (p.XAnf + delta); };
    v.X1TA = abbilden(v.X1TA);
    for (int j = 1; j <= v.HistIndex; ++j) {
        h.VerlaufXmom[j] = abbilden(h.VerlaufXmom[j]);
        h.VerlaufXK[j] = abbilden(h.VerlaufXK[j]);
    }
}

void verlaeufeGlaetten(RunVariables& v, Histories& h) {
    v.RateMax = 0;
    const std::int16_t m = v.mGlaett;
    const auto m1 = static_cast<std::int16_t>(m + 1);
    // A first-order recursive low-pass in place: record j−1 is already smoothed.
    const auto glatt = [&](HistoryArray& a, int j) { a[j] = (a[j] + m * a[j - 1]) / m1; };
    for (int j = 10; j <= v.HistIndex; ++j) {
        glatt(h.VerlaufThetaLuft, j);
        glatt(h.VerlaufThetaOb, j);
        glatt(h.VerlaufThetaK, j);
        if (h.VerlaufRate[j] < 0) h.VerlaufRate[j] = h.VerlaufRate[j - 1];
        glatt(h.VerlaufRate, j);
        if (h.VerlaufRate[j] > v.RateMax) v.RateMax = h.VerlaufRate[j];
    }
}

double beladungVorAbbildung(const RunParameters& p, const RunVariables& v, double abgebildet) {
    const double delta = p.XZiel - v.XEnde;
    return abgebildet * (p.XAnf + delta) / p.XAnf - delta;
}

double vorGlaettung(const RunVariables& v, const HistoryArray& geglaettet, int j) {
    const auto i = static_cast<std::size_t>(j);
    if (j < 10) return geglaettet[i];
    const std::int16_t m = v.mGlaett;
    const auto m1 = static_cast<std::int16_t>(m + 1);
    return m1 * geglaettet[i] - m * geglaettet[i - 1];
}

void energiebedarf(const RunParameters& p, RunVariables& v) {
    // Air warmed from outside to supply temperature, per kg of water removed.
    v.spezEnergie = p.LuftRohlingVerh * (v.thetaLuftMom - p.thetaAussen) / (p.XAnf - p.XZiel);
    v.relEnergie = v.spezEnergie / kVerdampfungswaerme0;
}

void wasserfehler(const RunParameters& p, RunVariables& v) {
    v.Wasserfehler = std::fabs(100 * (v.XmomBilanz - v.XEnde) / (p.XAnf - p.XZiel));
}

void Auswertung(RunState& st, WindowPort& window) {
    wasserbeladungenAbbilden(st, st, st);
    window.writeGroup(DisplayGroup::EndWaterLoads);
    verlaeufeGlaetten(st, st);
    if (luftImGegenstrom(st)) {
        energiebedarf(st, st);
        window.writeGroup(DisplayGroup::EndEnergy);
    } else {
        // A climate chamber heats no supply air: the energy demand of a dryer does not apply.
        st.spezEnergie = st.relEnergie = std::numeric_limits<double>::quiet_NaN();
    }
    if (st.nIterKern > 45) window.setVisible(Control::lbl_Achtung, true);
    window.repaint(Control::lbl_Achtung);
    window.repaint(Control::pic_Zeit);
    window.draw(ChartDrawing::TimeHistory);
    wasserfehler(st, st);
    window.writeGroup(DisplayGroup::EndWaterError);
}

}  // namespace tesmo
