// Small rules that both drying periods apply in every time step.
#pragma once

#include <algorithm>
#include <cmath>

#include "model/run_state.h"

namespace tesmo {

// The live values are refreshed every Int(rund/50) steps, about fifty times per drawn curve.
// Accepted input has rund >= 50; the floor of 1 only keeps a hand-made state from dividing by 0.
inline int anzeigeIntervall(const RunState& st) {
    return std::max(1, static_cast<int>(std::floor(st.rund / 50)));
}

// True when every value is a finite number.
template <class... T>
bool alleEndlich(T... values) {
    return (std::isfinite(static_cast<double>(values)) && ...);
}

// Every history record is taken: a further step could not be stored.
inline bool historieVoll(const RunState& st) {
    return st.HistIndex >= kMaxHistoryIndex;
}

}  // namespace tesmo
