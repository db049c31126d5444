#include "model/second_period.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/moist_air.h"
#include "model/shrinkage_tracking.h"
#include "model/step_helpers.h"
#include "model/transport.h"

namespace tesmo {

namespace {

bool laufEnde(RunState& st, RunEnd grund) {
    st.Laufende = grund;
    return false;
}

void auffrischen(RunState& st, WindowPort& window) {
    kernHoechstens100(st);
    window.writeGroup(DisplayGroup::SecondRefresh);
}

// The end of the run: the last live values, then the evaluation may follow.
bool ende(RunState& st, WindowPort& window, RunEnd grund) {
    auffrischen(st, window);
    st.thetaKernAlt = st.thetaKern;
    return laufEnde(st, grund);
}

// Counter-current air advance as in the first period, plus the sensible heat that the plate
// takes from the air while its wet zone warms up (dThetaKern, kept in single precision).
void luftZustand(RunState& st) {
    st.XLuftAlt = st.XAbluft;
    st.XLuftNeu = st.XAbluft + st.mPunkt * st.spezOberfl / st.LuftRohlingVerh * st.deltaT;
    st.thetaLuftAlt = st.thetaLuftMom;
    st.dThetaKern = static_cast<float>(st.thetaKern - st.thetaKernVorher);
    st.thetaKernVorher = st.thetaKern;
    const double dX = st.XLuftAlt - st.XLuftNeu;
    st.thetaLuftNeu =
        (st.thetaLuftAlt * (1 + 1.86 * st.XLuftAlt) + 2500 * dX - 4.19 * st.thetaOb * dX +
         st.deltaT * (0.9 + 4.19 * st.Xmom) * st.dThetaKern / st.LuftRohlingVerh) /
        (1 + 1.86 * st.XLuftNeu);
    st.XAbluft = st.XLuftNeu;
    st.thetaLuftMom = st.thetaLuftNeu;
    st.thetaOb = Kuehlgrenztemperatur(st.thetaLuftMom, st.XAbluft);
    st.pvLuft = pDampfAusKuehlgrenze(st.thetaLuftMom, st.thetaOb);
}

// Heat flux through air film and dry layer in series, and the surface temperature it leaves.
void waermestrom(RunState& st) {
    st.qRand = (st.thetaLuftMom - st.thetaKern) / (1 / st.alpha + st.Spiegeltiefe / st.lambda);
    st.thetaOberfl = st.thetaLuftMom - st.qRand / st.alpha;
}

void frontAnDerOberflaeche(RunState& st) {
    st.thetaKern = st.thetaOb;
    waermestrom(st);
    st.mDiffusion = st.qRand / Verdampfungswaerme(st.thetaOb);
}

// The heat left for evaporation after warming one half of the plate (dry mass 0.9, water
// 4.1868 kJ/(kg K)) from the front temperature of the last step.
double waermeRate(const RunState& st) {
    const double fuehlbar = (0.9 + 4.1868 * st.Xmom) * st.rhos * st.Dicke *
                            (st.thetaKern - st.thetaKernAlt) / (2 * st.deltaT);
    return (st.qRand - fuehlbar) / Verdampfungswaerme(st.thetaKern);
}

// Vapour diffusion through the dry layer against a stagnant gas at 100 kPa.
double diffusionsRate(RunState& st, double pSatt) {
    const double Tm = 273 + (st.thetaOberfl + st.thetaKern) / 2;
    st.DiffLeit = 2.23e-5 / (st.mue * st.Spiegeltiefe) * std::pow(Tm / 273, 1.74);
    return 100 / (0.461 * Tm) * st.DiffLeit * std::log((1 - st.pvLuft) / (1 - pSatt));
}

// The bisection stops at 2 % agreement after more than ten halvings, or after 51. Without
// heat left for evaporation (mWaerme = 0) there is nothing to compare against: it goes on.
bool sucheFertig(const RunState& st) {
    if (st.nIterKern > 50) return true;
    if (st.nIterKern <= 10 || st.mWaerme == 0) return false;
    return std::fabs((st.mWaerme - st.mDiffusion) / st.mWaerme) < 0.02;
}

void frontBisektion(RunState& st) {
    st.thetaUnten = st.thetaOb;
    st.thetaOben = 101;
    st.nIterKern = 0;
    for (;;) {
        st.nIterKern += 1;
        st.thetaKern = (st.thetaUnten + st.thetaOben) / 2;
        waermestrom(st);
        st.mWaerme = waermeRate(st);
        // At the boiling point (and from about 99.63 °C, where the saturation pressure reaches
        // 1 bar and the diffusion law has no value) the front boils: the heat decides alone.
        const double pSatt = Saettigungsdruck(st.thetaKern);
        if (st.thetaKern > 100 || pSatt >= 1) {
            st.mDiffusion = st.qRand / Verdampfungswaerme(100);
            return;
        }
        st.mDiffusion = diffusionsRate(st, pSatt);
        if (sucheFertig(st)) return;
        if (st.mWaerme > st.mDiffusion) {
            st.thetaUnten = st.thetaKern;
        } else {
            st.thetaOben = st.thetaKern;
        }
    }
}

// The applied rate follows the diffusion rate as an exponential average with the weight
// mGlaett/(mGlaett + 1) on the previous value (16-bit arithmetic, as the weight is stored).
void glaetten(RunState& st) {
    const std::int16_t m = st.mGlaett;
    const auto m1 = static_cast<std::int16_t>(m + 1);
    st.mPunkt = (m * st.mPunkt - st.mDiffusion) / m1;
    st.mPunktAlt = st.mPunkt;
}

// "!" beside the time chart: shown after a search of more than 45 halvings, hidden after one
// of fewer than 44; 44 and 45 keep it as it is.
void achtungNachSuche(const RunState& st, WindowPort& window) {
    if (st.nIterKern > 45) {
        window.setVisible(Control::lbl_Achtung, true);
        window.repaint(Control::lbl_Achtung);
    } else if (st.nIterKern < 44) {
        window.setVisible(Control::lbl_Achtung, false);
        window.repaint(Control::lbl_Achtung);
    }
}

// The value at the front that carries the flux mPunkt with the conductivity of dry mass.
void frontRandwert(RunState& st, int f) {
    auto& X = st.XKnoten;
    X[f] = X[f + 1] + st.mPunkt * st.Ortsschritt / (Feuchteleitwert(st, 0, st.thetaKern) * st.rhos);
    const int n = knoten(st);
    X[n + 1] = X[n];
    st.FrontKnoten = f;
    st.dtdx2 = st.deltaT / (st.Ortsschritt * st.Ortsschritt);
}

// Mean water load: only the wet nodes count (the dry layer holds extrapolated negative values).
void mittlereBeladung(RunState& st) {
    double summe = 0;
    for (int i = 1; i <= knoten(st); ++i) {
        if (st.XKnoten[i] > 0) summe = summe + st.XKnoten[i] * st.rhos * st.Ortsschritt;
    }
    st.Xmom = summe / (st.Dicke / 2 * st.rhos);
}

bool stepValuesFinite(const RunState& st) {
    const int n = knoten(st);
    return alleEndlich(st.thetaLuftMom, st.XAbluft, st.thetaOb, st.pvLuft, st.thetaKern,
                       st.thetaOberfl, st.qRand, st.mPunkt, st.Spiegeltiefe, st.Xmom, st.XmomBilanz,
                       st.XKnoten[st.FrontKnoten], st.XKnoten[n]);
}

void aufzeichnen(RunState& st) {
    const int n = ++st.HistIndex;
    st.VerlaufXmom[n] = st.Xmom;
    st.VerlaufXOb[n] = 0;
    st.VerlaufXK[n] = st.XKnoten[knoten(st)];
    schwindVerlaufZweiterAbschnitt(st, n);
    st.VerlaufThetaLuft[n] = st.thetaLuftMom;
    st.VerlaufThetaOb[n] = st.thetaOberfl;
    st.VerlaufThetaK[n] = st.thetaKern;
    // A long search marks its rate; the evaluation replaces the marker.
    st.VerlaufRate[n] = st.nIterKern < 45 ? -3600 * st.mPunkt : -100;
    st.VerlaufSpiegel[n] = st.Spiegeltiefe;
    if (st.VerlaufRate[n] > st.RateMax) st.RateMax = st.VerlaufRate[n];
}

void profilkurve(RunState& st, WindowPort& window) {
    window.draw(ChartDrawing::ProfileCurveSecond);
    if (st.nIterKern > 45) {
        window.setVisible(Control::lbl_Achtung, true);
    } else if (st.nIterKern < 45) {
        window.setVisible(Control::lbl_Achtung, false);
    }
    window.repaint(Control::lbl_Achtung);
    window.repaint(Control::pic_Zeit);
    auffrischen(st, window);
    st.thetaKernAlt = st.thetaKern;
    st.KurvenZaehler = 0;
}

}  // namespace

void kernHoechstens100(RunState& st) {
    if (st.thetaKern > 100) st.thetaKern = 100;
}

void uebergang(RunState& st, WindowPort& window) {
    st.t1TA = st.Laufzeit;
    st.X1TA = st.Xmom;
    window.writeGroup(DisplayGroup::Transition);
    window.draw(ChartDrawing::ProfileAxes);
    window.repaint(Control::pic_Ausgabe);
    // 5 % of the first period's duration in steps. The history limit keeps it at or below
    // 25000; the bound only makes the 16-bit conversion safe for any state.
    const double schritte = std::floor(0.05 * st.t1TA / st.deltaT);
    st.mGlaett = static_cast<std::int16_t>(std::clamp(schritte, 0.0, 32766.0));
    st.thetaKernAlt = st.thetaOb;
}

int frontSuche(const RunState& st) {
    const int n = knoten(st);
    const auto& X = st.XKnoten;
    // Every round moves i on by at least one node or ends the search, so n + 1 rounds suffice.
    int i = 0;
    for (int runde = 0; runde <= n; ++runde) {
        if (X[1] >= 0) return 0;
        if (X[i] < 0 && X[i + 1] >= 0) return i;
        if (X[i + 1] < 0) ++i;
        if (i + 1 == n && X[i + 1] < 0.001) ++i;
        if (i == n) return -1;
    }
    return -1;
}

double spiegeltiefe(const RunState& st, int f) {
    const auto& X = st.XKnoten;
    const double anstieg = X[f + 1] - X[f];
    // Two equal nodes only occur with the front at the surface and a surface node that is not
    // below zero: the plate is wet up to its surface and there is no dry layer.
    if (anstieg == 0) return 0;
    return (f + 0.5 - X[f] / anstieg) * st.Ortsschritt;
}

void frontTemperatur(RunState& st) {
    if (st.Spiegeltiefe < 0.0001 * st.Ortsschritt) {
        frontAnDerOberflaeche(st);
    } else {
        frontBisektion(st);
    }
}

bool zweiterAbschnittSchritt(RunState& st, WindowPort& window) {
    window.poll();
    if (st.StopFlag == 1) return laufEnde(st, RunEnd::Stopped);
    st.KurvenZaehler += 1;
    st.Laufzeit += st.deltaT;
    luftZustand(st);
    const int f = frontSuche(st);
    if (f < 0) return ende(st, window, RunEnd::Midplane);
    st.Spiegeltiefe = spiegeltiefe(st, f);
    frontTemperatur(st);
    glaetten(st);
    achtungNachSuche(st, window);
    st.thetaKernAlt = st.thetaKern;
    frontRandwert(st, f);
    Transportschritt(st, f, st.thetaKern);
    schwindEndeZweiterAbschnitt(st, window);
    st.XmomBilanz = st.XmomBilanz + 2 * st.mPunkt * st.deltaT / (st.rhos * st.Dicke);
    mittlereBeladung(st);
    if (!stepValuesFinite(st)) return laufEnde(st, RunEnd::NonFinite);
    if (luftUnterNullpunkt(st) || platteNimmtWasserAuf(st)) return laufEnde(st, RunEnd::Unstable);
    if (st.Xmom <= st.XZiel) return ende(st, window, RunEnd::Target);
    if (historieVoll(st)) return ende(st, window, RunEnd::HistoryFull);
    aufzeichnen(st);
    if (st.KurvenZaehler % anzeigeIntervall(st) == 0) {
        kernHoechstens100(st);
        window.writeGroup(DisplayGroup::SecondPeriodic);
    }
    if (st.KurvenZaehler >= st.rund) profilkurve(st, window);
    return true;
}

void zweiterTrocknungsabschnitt(RunState& st, WindowPort& window) {
    while (zweiterAbschnittSchritt(st, window)) {
    }
}

}  // namespace tesmo
