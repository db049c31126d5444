#include "model/second_period.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/moist_air.h"
#include "model/physical_constants.h"
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

// The sensible heat that the plate takes from the air in this step, in kJ per kg of dry air:
// the dry product (and the water it holds) warms by dThetaKern, and LuftRohlingVerh kg of air
// pass one kg of product. The standard balance multiplies it by the time step as well, so that
// the term carries K·s instead of K and grows with Δt; it is kept because every result of the
// dryer as it has always been computed depends on it. The corrected balance leaves the factor
// out (see luftbilanzKorrigiertStart for its first step).
double fuehlbareWaermeDerPlatte(const RunParameters& p, const RunVariables& v) {
    if (p.optionen.luftbilanz == Luftbilanz::Korrigiert) {
        return (kCpTrockenmasse + kCwWasserGerundet * v.Xmom) * v.dThetaKern / p.LuftRohlingVerh;
    }
    return p.deltaT * (kCpTrockenmasse + kCwWasserGerundet * v.Xmom) * v.dThetaKern /
           p.LuftRohlingVerh;
}

// Counter-current air advance as in the first period, plus the sensible heat that the plate
// takes from the air while its wet zone warms up (dThetaKern, kept in single precision).
void luftZustand(const RunParameters& p, RunVariables& v) {
    v.XLuftAlt = v.XAbluft;
    v.XLuftNeu = v.XAbluft + v.mPunkt * p.spezOberfl / p.LuftRohlingVerh * p.deltaT;
    v.thetaLuftAlt = v.thetaLuftMom;
    v.dThetaKern = static_cast<float>(v.thetaKern - v.thetaKernVorher);
    v.thetaKernVorher = v.thetaKern;
    const double dX = v.XLuftAlt - v.XLuftNeu;
    v.thetaLuftNeu = (v.thetaLuftAlt * (1 + kCpDampf * v.XLuftAlt) + kVerdampfungswaerme0 * dX -
                      kCwWasserGerundet * v.thetaOb * dX + fuehlbareWaermeDerPlatte(p, v)) /
                     (1 + kCpDampf * v.XLuftNeu);
    v.XAbluft = v.XLuftNeu;
    v.thetaLuftMom = v.thetaLuftNeu;
    v.thetaOb = Kuehlgrenztemperatur(v.thetaLuftMom, v.XAbluft);
    v.pvLuft = pDampfAusKuehlgrenze(v.thetaLuftMom, v.thetaOb);
}

// Heat flux through air film and dry layer in series, and the surface temperature it leaves.
void waermestrom(const RunParameters& p, RunVariables& v) {
    v.qRand = (v.thetaLuftMom - v.thetaKern) / (1 / p.alpha + v.Spiegeltiefe / p.lambda);
    v.thetaOberfl = v.thetaLuftMom - v.qRand / p.alpha;
}

void frontAnDerOberflaeche(const RunParameters& p, RunVariables& v) {
    v.thetaKern = v.thetaOb;
    waermestrom(p, v);
    v.mDiffusion = v.qRand / Verdampfungswaerme(v.thetaOb);
}

// The heat left for evaporation after warming one half of the plate (dry mass and water) from
// the front temperature of the last step.
double waermeRate(const RunParameters& p, const RunVariables& v) {
    const double fuehlbar = (kCpTrockenmasse + kCwWasser * v.Xmom) * p.rhos * p.Dicke *
                            (v.thetaKern - v.thetaKernAlt) / (2 * p.deltaT);
    return (v.qRand - fuehlbar) / Verdampfungswaerme(v.thetaKern);
}

// Vapour diffusion through the dry layer against a stagnant gas at 100 kPa.
double diffusionsRate(const RunParameters& p, RunVariables& v, double pSatt) {
    const double Tm = kKelvin + (v.thetaOberfl + v.thetaKern) / 2;
    v.DiffLeit = kDiffusionskoeffizient273 / (p.mue * v.Spiegeltiefe) *
                 std::pow(Tm / kKelvin, kDiffusionsexponent);
    return kGesamtdruckKPa / (kRDampf * Tm) * v.DiffLeit * std::log((1 - v.pvLuft) / (1 - pSatt));
}

// The bisection stops at 2 % agreement after more than ten halvings, or after 51. Without
// heat left for evaporation (mWaerme = 0) there is nothing to compare against: it goes on.
bool sucheFertig(const RunVariables& v) {
    if (v.nIterKern > 50) return true;
    if (v.nIterKern <= 10 || v.mWaerme == 0) return false;
    return std::fabs((v.mWaerme - v.mDiffusion) / v.mWaerme) < 0.02;
}

void frontBisektion(const RunParameters& p, RunVariables& v) {
    v.thetaUnten = v.thetaOb;
    v.thetaOben = 101;
    v.nIterKern = 0;
    for (;;) {
        v.nIterKern += 1;
        v.thetaKern = (v.thetaUnten + v.thetaOben) / 2;
        waermestrom(p, v);
        v.mWaerme = waermeRate(p, v);
        // At the boiling point (and from about 99.63 °C, where the saturation pressure reaches
        // 1 bar and the diffusion law has no value) the front boils: the heat decides alone.
        const double pSatt = Saettigungsdruck(v.thetaKern);
        if (v.thetaKern > 100 || pSatt >= 1) {
            v.mDiffusion = v.qRand / Verdampfungswaerme(100);
            return;
        }
        v.mDiffusion = diffusionsRate(p, v, pSatt);
        if (sucheFertig(v)) return;
        if (v.mWaerme > v.mDiffusion) {
            v.thetaUnten = v.thetaKern;
        } else {
            v.thetaOben = v.thetaKern;
        }
    }
}

// The applied rate follows the diffusion rate as an exponential average with the weight
// mGlaett/(mGlaett + 1) on the previous value (16-bit arithmetic, as the weight is stored).
void glaetten(RunVariables& v) {
    const std::int16_t m = v.mGlaett;
    const auto m1 = static_cast<std::int16_t>(m + 1);
    v.mPunkt = (m * v.mPunkt - v.mDiffusion) / m1;
    v.mPunktAlt = v.mPunkt;
}

// "!" beside the time chart: shown after a search of more than 45 halvings, hidden after one
// of fewer than 44; 44 and 45 keep it as it is.
void achtungNachSuche(const RunVariables& v, WindowPort& window) {
    if (v.nIterKern > 45) {
        window.setVisible(Control::lbl_Achtung, true);
        window.repaint(Control::lbl_Achtung);
    } else if (v.nIterKern < 44) {
        window.setVisible(Control::lbl_Achtung, false);
        window.repaint(Control::lbl_Achtung);
    }
}

// The value at the front that carries the flux mPunkt with the conductivity of dry mass.
void frontRandwert(const RunParameters& p, RunVariables& v, SolverScratch& s, int f) {
    auto& X = v.XKnoten;
    X[f] = X[f + 1] + v.mPunkt * p.Ortsschritt / (Feuchteleitwert(p, 0, v.thetaKern) * p.rhos);
    const int n = knoten(p);
    X[n + 1] = X[n];
    v.FrontKnoten = f;
    s.dtdx2 = p.deltaT / (p.Ortsschritt * p.Ortsschritt);
}

// Mean water load: only the wet nodes count (the dry layer holds extrapolated negative values).
void mittlereBeladung(const RunParameters& p, RunVariables& v) {
    double summe = 0;
    for (int i = 1; i <= knoten(p); ++i) {
        if (v.XKnoten[i] > 0) summe = summe + v.XKnoten[i] * p.rhos * p.Ortsschritt;
    }
    v.Xmom = summe / (p.Dicke / 2 * p.rhos);
}

bool stepValuesFinite(const RunParameters& p, const RunVariables& v) {
    const int n = knoten(p);
    return alleEndlich(v.thetaLuftMom, v.XAbluft, v.thetaOb, v.pvLuft, v.thetaKern, v.thetaOberfl,
                       v.qRand, v.mPunkt, v.Spiegeltiefe, v.Xmom, v.XmomBilanz,
                       v.XKnoten[v.FrontKnoten], v.XKnoten[n]);
}

void aufzeichnen(RunState& st) {
    const int n = ++st.HistIndex;
    st.VerlaufXmom[n] = st.Xmom;
    st.VerlaufXOb[n] = 0;
    st.VerlaufXK[n] = st.XKnoten[knoten(st)];
    schwindVerlaufZweiterAbschnitt(st, st, st, n);
    st.VerlaufThetaLuft[n] = st.thetaLuftMom;
    st.VerlaufXLuft[n] = st.XAbluft;
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

void luftbilanzKorrigiertStart(const RunParameters& p, RunVariables& v) {
    if (p.optionen.luftbilanz == Luftbilanz::Korrigiert) v.thetaKernVorher = v.thetaKern;
}

void kernHoechstens100(RunVariables& v) {
    if (v.thetaKern > 100) v.thetaKern = 100;
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
    luftbilanzKorrigiertStart(st, st);
}

int frontSuche(const RunParameters& p, const RunVariables& v) {
    const int n = knoten(p);
    const auto& X = v.XKnoten;
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

double spiegeltiefe(const RunParameters& p, const RunVariables& v, int f) {
    const auto& X = v.XKnoten;
    const double anstieg = X[f + 1] - X[f];
    // Two equal nodes only occur with the front at the surface and a surface node that is not
    // below zero: the plate is wet up to its surface and there is no dry layer.
    if (anstieg == 0) return 0;
    return (f + 0.5 - X[f] / anstieg) * p.Ortsschritt;
}

void frontTemperatur(const RunParameters& p, RunVariables& v) {
    if (v.Spiegeltiefe < 0.0001 * p.Ortsschritt) {
        frontAnDerOberflaeche(p, v);
    } else {
        frontBisektion(p, v);
    }
}

bool zweiterAbschnittSchritt(RunState& st, WindowPort& window) {
    window.poll();
    if (st.StopFlag == 1) return laufEnde(st, RunEnd::Stopped);
    st.KurvenZaehler += 1;
    st.Laufzeit += st.deltaT;
    if (luftImGegenstrom(st)) luftZustand(st, st);
    const int f = frontSuche(st, st);
    if (f < 0) return ende(st, window, RunEnd::Midplane);
    st.Spiegeltiefe = spiegeltiefe(st, st, f);
    frontTemperatur(st, st);
    glaetten(st);
    achtungNachSuche(st, window);
    st.thetaKernAlt = st.thetaKern;
    frontRandwert(st, st, st, f);
    Transportschritt(st, st.XKnoten, st, f, st.thetaKern);
    schwindEndeZweiterAbschnitt(st, st, window);
    st.XmomBilanz = st.XmomBilanz + 2 * st.mPunkt * st.deltaT / (st.rhos * st.Dicke);
    mittlereBeladung(st, st);
    if (!stepValuesFinite(st, st)) return laufEnde(st, RunEnd::NonFinite);
    if (luftUnmoeglich(st) || platteNimmtWasserAuf(st)) return laufEnde(st, RunEnd::Unstable);
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
