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

// Guards against a computation that has become unstable. The explicit air-state advance can
// overshoot when the time step is large against what the air can carry; it then takes more
// water out of the air than it holds (a negative water load, a relative humidity below 0), or
// drives the air below absolute zero, or the plate starts to take up water without end. Air
// with less than no water is as impossible as air below absolute zero. A drying plate never
// holds more water than at the start: one part in a million above it is already rounding
// beyond what the profile sums can produce.
inline constexpr double kAbsoluterNullpunkt = -273.15;  // °C
inline constexpr double kWasserzunahmeToleranz = 1e-6;  // relative to XAnf

inline bool luftUnmoeglich(const RunState& st) {
    return st.thetaLuftMom < kAbsoluterNullpunkt || st.XAbluft < 0;
}
inline bool platteNimmtWasserAuf(const RunState& st) {
    return st.Xmom > st.XAnf * (1 + kWasserzunahmeToleranz);
}

// Whether the air around the plate changes along its way (the counter-current dryer) or stays
// at the exhaust-air state for the whole run (a climate-chamber test, konstantes Klima).
inline bool luftImGegenstrom(const RunParameters& p) {
    return p.optionen.klima == Klima::Gegenstrom;
}

// Every history record is taken: a further step could not be stored.
inline bool historieVoll(const RunState& st) {
    return st.HistIndex >= kMaxHistoryIndex;
}

}  // namespace tesmo
