#include "model/shrinkage_tracking.h"

#include "model/shrinkage.h"

namespace tesmo {

namespace {

void oberflaechenEnde(RunState& st, WindowPort& window) {
    if (st.XKnoten[0] < st.XSchwEnde && st.t1xse == 0) {
        st.t1xse = st.Laufzeit;
        window.writeGroup(DisplayGroup::SurfaceShrinkEnd);
    }
}

void kernEnde(RunState& st, WindowPort& window) {
    st.t2xse = st.Laufzeit;
    window.writeGroup(DisplayGroup::CoreShrinkEnd);
}

}  // namespace

void schwindEndeErsterAbschnitt(RunState& st, WindowPort& window) {
    oberflaechenEnde(st, window);
    if (st.XKnoten[knoten(st)] <= st.XSchwEnde && st.t2xse == 0) kernEnde(st, window);
}

void schwindEndeZweiterAbschnitt(RunState& st, WindowPort& window) {
    oberflaechenEnde(st, window);
    if (st.XKnoten[knoten(st)] < st.XSchwEnde && st.t2xse == 0) kernEnde(st, window);
}

void schwindGradient(RunState& st, WindowPort& window) {
    const auto& X = st.XKnoten;
    st.SchwindGrad = (sAusX(st, X[0]) - sAusX(st, X[1])) / st.Ortsschritt;
    if (st.SchwindGrad > st.SchwindGradMax) {
        st.SchwindGradMax = st.SchwindGrad;
        window.writeGroup(DisplayGroup::ShrinkGradient);
    }
}

double linSchwindung(const RunState& st, double X) {
    if (!(st.linTrSchwind > 0.001)) return 0;
    return st.linTrSchwind * (st.XAnf - X) / (st.XAnf - st.XSchwEnde);
}

void schwindVerlaufErsterAbschnitt(RunState& st, int n) {
    st.VerlaufSchwindOb[n] = linSchwindung(st, st.XKnoten[0]);
    st.VerlaufSchwindK[n] = linSchwindung(st, st.XKnoten[knoten(st)]);
}

void schwindVerlaufZweiterAbschnitt(RunState& st, int n) {
    st.VerlaufSchwindK[n] = linSchwindung(st, st.XKnoten[knoten(st)]);
    st.VerlaufSchwindOb[n] = st.VerlaufSchwindOb[n - 1];
}

}  // namespace tesmo
