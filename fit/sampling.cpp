#include "fit/sampling.h"

#include <algorithm>

#include "model/evaluation.h"
#include "model/shrinkage_tracking.h"

namespace tesmo {

namespace {

// The values of one record (or of the end state) that measurements can be compared with.
struct Values {
    double X = 0, thetaOb = 0;
};

Values recordValues(const RunState& st, int j) {
    return {beladungVorAbbildung(st, st, st.VerlaufXmom[static_cast<std::size_t>(j)]),
            vorGlaettung(st, st.VerlaufThetaOb, j)};
}

double valueOf(const MeasuredSeries& series, const RunState& st, Messgroesse g, const Values& v) {
    switch (g) {
        case Messgroesse::X:
            return v.X;
        case Messgroesse::Masse:
            return series.trockenmasse_g * (1 + v.X);
        case Messgroesse::thetaOb:
            return v.thetaOb;
        case Messgroesse::schwind:
            return probenSchwindung(st, v.X);
    }
    return v.X;
}

}  // namespace

double probenSchwindung(const RunParameters& p, double X) {
    return std::clamp(linSchwindung(p, X), 0.0, std::max(0.0, p.linTrSchwind));
}

std::size_t simulatedValues(const MeasuredSeries& series, const MeasuredPoint* points,
                            std::size_t count, const RunState& st, const HistoryArray& times,
                            double* out) {
    const int last = st.HistIndex;
    // The end state: the water load the run ended with, the temperature of its last record.
    const Values end{st.XEnde, vorGlaettung(st, st.VerlaufThetaOb, last)};
    std::size_t afterEnd = 0;
    int k = 0;  // the record at or before the point's time (the points come in time order)
    for (std::size_t i = 0; i < count; ++i) {
        const MeasuredPoint& p = points[i];
        const double t = p.zeit;
        if (t >= st.Laufzeit) {
            afterEnd += t > st.Laufzeit;
            out[i] = valueOf(series, st, p.groesse, end);
            continue;
        }
        while (k < last && times[static_cast<std::size_t>(k + 1)] <= t)
            ++k;
        const double t0 = times[static_cast<std::size_t>(k)];
        const double t1 = k < last ? times[static_cast<std::size_t>(k + 1)] : st.Laufzeit;
        const Values a = recordValues(st, k);
        const Values b = k < last ? recordValues(st, k + 1) : end;
        const double w = (t - t0) / (t1 - t0);
        const double va = valueOf(series, st, p.groesse, a);
        const double vb = valueOf(series, st, p.groesse, b);
        out[i] = va + w * (vb - va);
    }
    return afterEnd;
}

}  // namespace tesmo
