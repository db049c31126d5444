#include "model/first_period.h"

#include "model/moist_air.h"
#include "model/physical_constants.h"
#include "model/shrinkage.h"
#include "model/shrinkage_tracking.h"
#include "model/step_helpers.h"
#include "model/transport.h"

namespace tesmo {

namespace {

Schrittausgang laufEnde(RunState& st, RunEnd grund) {
    st.Laufende = grund;
    return Schrittausgang::LaufEnde;
}

// The air that the plate meets next, one step further on in counter-current: it carries the
// water the plate gave off in the last step less, and it is warmer by the heat that evaporated
// that water (entering the air as liquid at the surface temperature).
void luftZustand(const RunParameters& p, RunVariables& v) {
    v.XLuftAlt = v.XAbluft;
    v.XLuftNeu = v.XAbluft + p.deltaT * v.mPunkt * p.spezOberfl / p.LuftRohlingVerh;
    v.thetaLuftAlt = v.thetaLuftMom;
    const double dX = v.XLuftAlt - v.XLuftNeu;
    v.thetaLuftNeu = ((1 + kCpDampf * v.XLuftAlt) * v.thetaLuftAlt + kVerdampfungswaerme0 * dX -
                      kCwWasserGerundet * v.thetaOb * dX) /
                     (1 + kCpDampf * v.XLuftNeu);
    v.XAbluft = v.XLuftNeu;
    v.thetaLuftMom = v.thetaLuftNeu;
    v.thetaOb = Kuehlgrenztemperatur(v.thetaLuftMom, v.XAbluft);
}

// Heat-limited evaporation at the wet surface. Once the surface has stopped shrinking its flux
// may not fall in magnitude from one step to the next.
void verdunstung(const RunParameters& p, RunVariables& v) {
    v.qRand = p.alpha * (v.thetaLuftMom - v.thetaOb);
    v.mPunkt = -v.qRand / Verdampfungswaerme(v.thetaOb);
    if (v.t1xse > 0.00001 && v.mPunkt > v.mPunktAlt) v.mPunkt = v.mPunktAlt;
    v.mPunktAlt = v.mPunkt;
}

// The surface value that carries the flux mPunkt = rho·kappa·(X(0) − X(1))/Ortsschritt.
void oberflaechenwert(const RunParameters& p, RunVariables& v) {
    auto& X = v.XKnoten;
    const double Xs = (X[0] + X[1]) / 2;
    const double kappa = Feuchteleitwert(p, Xs, v.thetaOb);
    const double rho = X[1] > p.XSchwEnde ? rhosAusS(p, sAusX(p, Xs)) : p.rhos;
    X[0] = X[1] + v.mPunkt * p.Ortsschritt / (rho * kappa);
}

bool stepValuesFinite(const RunParameters& p, const RunVariables& v) {
    const int n = knoten(p);
    return alleEndlich(v.thetaLuftMom, v.XAbluft, v.thetaOb, v.qRand, v.mPunkt, v.XKnoten[0],
                       v.XKnoten[1], v.XKnoten[n]);
}

// Mean water load of nodes 1 to nOrt (the surface node does not count), each node weighted
// with its share of the half thickness.
void mittlereBeladung(const RunParameters& p, RunVariables& v) {
    const double halbeMasse = p.Dicke / 2 * p.rhos;
    double summe = 0;
    for (int i = 1; i <= knoten(p); ++i) {
        summe = summe + v.XKnoten[i] * p.rhos * p.Ortsschritt / halbeMasse;
    }
    v.Xmom = summe;
}

void aufzeichnen(RunState& st, WindowPort& window) {
    const int n = ++st.HistIndex;
    st.VerlaufRate[n] = -3600 * st.mPunkt;
    if (st.VerlaufRate[n] > st.RateMax) st.RateMax = st.VerlaufRate[n];
    schwindVerlaufErsterAbschnitt(st, st, st, n);
    if (st.t1xse <= 1) schwindGradient(st, st, window);
    st.VerlaufXmom[n] = st.Xmom;
    st.VerlaufXOb[n] = st.XKnoten[0];
    st.VerlaufXK[n] = st.XKnoten[knoten(st)];
    st.VerlaufThetaLuft[n] = st.thetaLuftMom;
    st.VerlaufThetaOb[n] = st.thetaOb;
    st.VerlaufThetaK[n] = st.thetaOb;
    st.VerlaufSpiegel[n] = 0;
    st.VerlaufXLuft[n] = st.XAbluft;
}

// In this period surface and core are both at the wet-bulb temperature. The display groups
// set the shown temperatures themselves; doing it here too keeps the run state right whatever
// window is attached.
void zeigeTemperaturen(RunVariables& v) {
    v.thetaOberfl = v.thetaKern = v.thetaOb;
}

void profilkurve(RunState& st, WindowPort& window) {
    window.draw(ChartDrawing::ProfileCurveFirst);
    zeigeTemperaturen(st);
    window.writeGroup(DisplayGroup::FirstCurve);
}

// The step's bookkeeping when the surface is still wet: balance, mean, record, live values.
// False when the run cannot go on.
bool buchfuehrung(RunState& st, WindowPort& window) {
    if (historieVoll(st)) {
        profilkurve(st, window);  // show what was reached
        st.Laufende = RunEnd::HistoryFull;
        return false;
    }
    st.XmomBilanz += 2 * st.mPunkt * st.deltaT / (st.rhos * st.Dicke);
    mittlereBeladung(st, st);
    if (!alleEndlich(st.Xmom, st.XmomBilanz)) {
        st.Laufende = RunEnd::NonFinite;
        return false;
    }
    if (platteNimmtWasserAuf(st)) {
        st.Laufende = RunEnd::Unstable;
        return false;
    }
    aufzeichnen(st, window);
    if (st.KurvenZaehler % anzeigeIntervall(st) == 0) {
        zeigeTemperaturen(st);
        window.writeGroup(DisplayGroup::FirstPeriodic);
    }
    return true;
}

}  // namespace

void ersterAbschnittVorbereiten(RunState& st, WindowPort& window) {
    const int n = knoten(st);
    st.Ortsschritt = st.Dicke / (st.nOrt * 2);
    st.KurvenDx = 10500 / st.nOrt;
    st.qRand = st.alpha * (st.thetaLuftMom - st.thetaOb);
    st.mPunkt = -st.qRand / Verdampfungswaerme(st.thetaOb);
    window.writeGroup(DisplayGroup::StartRate);
    for (int i = 0; i <= n + 1; ++i)
        st.XKnoten[i] = st.XAnf;
    st.Laufzeit = 0;
    st.KurvenZaehler = 0;
    st.HistIndex = 0;
    st.Xmom = st.XmomBilanz = st.XAnf;
    st.Anfangsrate = -3600 * st.mPunkt;
    st.mPunktAlt = 0;
    st.RateMax = 0;
    st.StopFlag = 0;
    st.VerlaufXmom[0] = st.XAnf;
    st.VerlaufThetaLuft[0] = st.thetaLuftMom;
    st.VerlaufXLuft[0] = st.XAbluft;
    st.VerlaufThetaOb[0] = st.VerlaufThetaK[0] = st.thetaOb;
    st.VerlaufRate[0] = st.Anfangsrate;
    st.VerlaufSchwindOb[0] = st.VerlaufSchwindK[0] = 0;
}

Schrittausgang ersterAbschnittSchritt(RunState& st, WindowPort& window) {
    window.poll();
    if (st.StopFlag == 1) return laufEnde(st, RunEnd::Stopped);
    st.KurvenZaehler += 1;
    st.Laufzeit += st.deltaT;
    st.thetaOb = Kuehlgrenztemperatur(st.thetaLuftMom, st.XAbluft);
    // The air state is not advanced in the first step after Start and after every curve; in a
    // constant climate it is never advanced.
    if (st.KurvenZaehler != 1 && luftImGegenstrom(st)) luftZustand(st, st);
    verdunstung(st, st);
    oberflaechenwert(st, st);
    const int n = knoten(st);
    st.XKnoten[n + 1] = st.XKnoten[n];
    Transportschritt(st, st.XKnoten, st, 0, st.thetaOb);
    st.Zustand1 = st.Laeuft;
    if (!stepValuesFinite(st, st)) return laufEnde(st, RunEnd::NonFinite);
    if (luftUnmoeglich(st)) return laufEnde(st, RunEnd::Unstable);
    schwindEndeErsterAbschnitt(st, st, window);
    if (st.XKnoten[0] < 0) {
        // The surface can no longer be kept wet; this step is not stored.
        st.Zustand1 = st.Beendet;
    } else {
        if (!buchfuehrung(st, window)) return Schrittausgang::LaufEnde;
        if (st.KurvenZaehler < st.rund) return Schrittausgang::Weiter;
    }
    profilkurve(st, window);
    if (st.KurvenZaehler == st.rund) {
        st.KurvenZaehler = 0;
        return Schrittausgang::Weiter;
    }
    return Schrittausgang::AbschnittEnde;
}

bool ersterTrocknungsabschnitt(RunState& st, WindowPort& window) {
    for (;;) {
        switch (ersterAbschnittSchritt(st, window)) {
            case Schrittausgang::Weiter:
                break;
            case Schrittausgang::AbschnittEnde:
                return true;
            case Schrittausgang::LaufEnde:
                return false;
        }
    }
}

}  // namespace tesmo
