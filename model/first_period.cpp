#include "model/first_period.h"

#include "model/moist_air.h"
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
void luftZustand(RunState& st) {
    st.XLuftAlt = st.XAbluft;
    st.XLuftNeu = st.XAbluft + st.deltaT * st.mPunkt * st.spezOberfl / st.LuftRohlingVerh;
    st.thetaLuftAlt = st.thetaLuftMom;
    const double dX = st.XLuftAlt - st.XLuftNeu;
    st.thetaLuftNeu =
        ((1 + 1.86 * st.XLuftAlt) * st.thetaLuftAlt + 2500 * dX - 4.19 * st.thetaOb * dX) /
        (1 + 1.86 * st.XLuftNeu);
    st.XAbluft = st.XLuftNeu;
    st.thetaLuftMom = st.thetaLuftNeu;
    st.thetaOb = Kuehlgrenztemperatur(st.thetaLuftMom, st.XAbluft);
}

// Heat-limited evaporation at the wet surface. Once the surface has stopped shrinking its flux
// may not fall in magnitude from one step to the next.
void verdunstung(RunState& st) {
    st.qRand = st.alpha * (st.thetaLuftMom - st.thetaOb);
    st.mPunkt = -st.qRand / Verdampfungswaerme(st.thetaOb);
    if (st.t1xse > 0.00001 && st.mPunkt > st.mPunktAlt) st.mPunkt = st.mPunktAlt;
    st.mPunktAlt = st.mPunkt;
}

// The surface value that carries the flux mPunkt = rho·kappa·(X(0) − X(1))/Ortsschritt.
void oberflaechenwert(RunState& st) {
    auto& X = st.XKnoten;
    const double Xs = (X[0] + X[1]) / 2;
    const double kappa = Feuchteleitwert(st, Xs, st.thetaOb);
    const double rho = X[1] > st.XSchwEnde ? rhosAusS(st, sAusX(st, Xs)) : st.rhos;
    X[0] = X[1] + st.mPunkt * st.Ortsschritt / (rho * kappa);
}

bool stepValuesFinite(const RunState& st) {
    const int n = knoten(st);
    return alleEndlich(st.thetaLuftMom, st.XAbluft, st.thetaOb, st.qRand, st.mPunkt, st.XKnoten[0],
                       st.XKnoten[1], st.XKnoten[n]);
}

// Mean water load of nodes 1 to nOrt (the surface node does not count), each node weighted
// with its share of the half thickness.
void mittlereBeladung(RunState& st) {
    const double halbeMasse = st.Dicke / 2 * st.rhos;
    double summe = 0;
    for (int i = 1; i <= knoten(st); ++i) {
        summe = summe + st.XKnoten[i] * st.rhos * st.Ortsschritt / halbeMasse;
    }
    st.Xmom = summe;
}

void aufzeichnen(RunState& st, WindowPort& window) {
    const int n = ++st.HistIndex;
    st.VerlaufRate[n] = -3600 * st.mPunkt;
    if (st.VerlaufRate[n] > st.RateMax) st.RateMax = st.VerlaufRate[n];
    schwindVerlaufErsterAbschnitt(st, n);
    if (st.t1xse <= 1) schwindGradient(st, window);
    st.VerlaufXmom[n] = st.Xmom;
    st.VerlaufXOb[n] = st.XKnoten[0];
    st.VerlaufXK[n] = st.XKnoten[knoten(st)];
    st.VerlaufThetaLuft[n] = st.thetaLuftMom;
    st.VerlaufThetaOb[n] = st.thetaOb;
    st.VerlaufThetaK[n] = st.thetaOb;
    st.VerlaufSpiegel[n] = 0;
}

// In this period surface and core are both at the wet-bulb temperature. The display groups
// set the shown temperatures themselves; doing it here too keeps the run state right whatever
// window is attached.
void zeigeTemperaturen(RunState& st) {
    st.thetaOberfl = st.thetaKern = st.thetaOb;
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
    mittlereBeladung(st);
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
    // The air state is not advanced in the first step after Start and after every curve.
    if (st.KurvenZaehler != 1) luftZustand(st);
    verdunstung(st);
    oberflaechenwert(st);
    const int n = knoten(st);
    st.XKnoten[n + 1] = st.XKnoten[n];
    Transportschritt(st, 0, st.thetaOb);
    st.Zustand1 = st.Laeuft;
    if (!stepValuesFinite(st)) return laufEnde(st, RunEnd::NonFinite);
    if (luftUnterNullpunkt(st)) return laufEnde(st, RunEnd::Unstable);
    schwindEndeErsterAbschnitt(st, window);
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
