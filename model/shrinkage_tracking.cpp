#include "model/shrinkage_tracking.h"

#include "model/shrinkage.h"

namespace tesmo {

namespace {

void oberflaechenEnde(RunVariables& v, const RunParameters& p, WindowPort& window) {
    if (v.XKnoten[0] < p.XSchwEnde && v.t1xse == 0) {
        v.t1xse = v.Laufzeit;
        window.writeGroup(DisplayGroup::SurfaceShrinkEnd);
    }
}

void kernEnde(RunVariables& v, WindowPort& window) {
    v.t2xse = v.Laufzeit;
    window.writeGroup(DisplayGroup::CoreShrinkEnd);
}

}  // namespace

void schwindEndeErsterAbschnitt(const RunParameters& p, RunVariables& v, WindowPort& window) {
    oberflaechenEnde(v, p, window);
    if (v.XKnoten[knoten(p)] <= p.XSchwEnde && v.t2xse == 0) kernEnde(v, window);
}

void schwindEndeZweiterAbschnitt(const RunParameters& p, RunVariables& v, WindowPort& window) {
    oberflaechenEnde(v, p, window);
    if (v.XKnoten[knoten(p)] < p.XSchwEnde && v.t2xse == 0) kernEnde(v, window);
}

void schwindGradient(const RunParameters& p, RunVariables& v, WindowPort& window) {
    // A plate that does not shrink has no shrinkage gradient. The ideal-shrinkage relation
    // would still turn the water it loses into a volume loss, and the window would show a
    // steep "gradient" of a plate that keeps its size; the histories already count such a
    // plate's shrinkage as 0.
    if (!(p.linTrSchwind > 0.001)) return;
    const auto& X = v.XKnoten;
    v.SchwindGrad = (sAusX(p, X[0]) - sAusX(p, X[1])) / p.Ortsschritt;
    if (v.SchwindGrad > v.SchwindGradMax) {
        v.SchwindGradMax = v.SchwindGrad;
        v.SchwindDiffMax = 100.0 * (sAusX(p, X[0]) - sAusX(p, X[knoten(p)]));
        window.writeGroup(DisplayGroup::ShrinkGradient);
    }
}

double linSchwindung(const RunParameters& p, double X) {
    if (!(p.linTrSchwind > 0.001)) return 0;
    return p.linTrSchwind * (p.XAnf - X) / (p.XAnf - p.XSchwEnde);
}

void schwindVerlaufErsterAbschnitt(const RunParameters& p, const RunVariables& v, Histories& h,
                                   int n) {
    h.VerlaufSchwindOb[n] = linSchwindung(p, v.XKnoten[0]);
    h.VerlaufSchwindK[n] = linSchwindung(p, v.XKnoten[knoten(p)]);
}

void schwindVerlaufZweiterAbschnitt(const RunParameters& p, const RunVariables& v, Histories& h,
                                    int n) {
    h.VerlaufSchwindK[n] = linSchwindung(p, v.XKnoten[knoten(p)]);
    h.VerlaufSchwindOb[n] = h.VerlaufSchwindOb[n - 1];
}

}  // namespace tesmo
