// A run state as a finished run leaves it, for tests of what is drawn from its histories.
#pragma once

#include <memory>

#include "model/run_state.h"

namespace tesmo::test {

// A finished run of n + 1 records with distinct, plausible values in every history.
inline std::unique_ptr<RunState> finishedRun(int n) {
    auto st = std::make_unique<RunState>();
    st->HistIndex = n;
    st->Laufzeit = n + 1.0;  // the final step stores no record
    st->XAnf = 0.25;
    st->linTrSchwind = 6.5;
    st->thetaKG0 = 25;
    st->thetaLuftMom = 85;
    st->RateMax = 2.0;
    st->Ortsschritt = 0.0001;
    st->Dicke = 0.02;
    st->t1TA = 0.4 * st->Laufzeit;
    st->t1xse = 15;
    st->t2xse = 25;
    for (int i = 0; i <= n; ++i) {
        const double f = double(i) / (n > 0 ? n : 1);
        st->VerlaufXmom[i] = 0.25 * (1 - f);
        st->VerlaufXOb[i] = 0.2 * (1 - f);
        st->VerlaufXK[i] = 0.25 * (1 - f * f);
        st->VerlaufSpiegel[i] = 0.01 * f;
        st->VerlaufThetaLuft[i] = 35 + 50 * f;
        st->VerlaufThetaOb[i] = 25 + 40 * f;
        st->VerlaufThetaK[i] = 25 + 30 * f;
        st->VerlaufRate[i] = 2 - f;
        st->VerlaufSchwindOb[i] = 6.5 * f;
        st->VerlaufSchwindK[i] = 5.0 * f;
    }
    return st;
}

}  // namespace tesmo::test
